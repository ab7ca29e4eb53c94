#include "app/CommandLine.h"

#include "platform/Installation.h"

#include <QCommandLineParser>
#include <QDir>

namespace orba {

StartOptions readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ORBA 4.0: Katalog und Bestellung von Medien für das Schultheater.\n"
                       "Ohne Option arbeitet ORBA im aktuellen Ordner, in dem der Katalog "
                       "\"orb32.dat\" liegt."));
    const QCommandLineOption userData(
        QStringLiteral("benutzerdaten"),
        QStringLiteral("Arbeitet im eigenen Datenordner des Benutzers (%1). Der erste Start füllt "
                       "ihn aus dem installierten Datenbestand. Bringt eine Aktualisierung neue "
                       "Daten (Katalog, Statistik, Schlagwortliste, Masken, Hilfe), ersetzen sie "
                       "die alten; Einstellungen, Benutzerliste, private Liste und Notizen "
                       "bleiben.")
            .arg(QDir::toNativeSeparators(platform::userDataDir())));
    parser.addOption(userData);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(arguments);
    return StartOptions{parser.isSet(userData)};
}

} // namespace orba
