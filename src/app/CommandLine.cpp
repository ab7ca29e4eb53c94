#include "app/CommandLine.h"

#include "platform/Installation.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace orba {
namespace {

const QString kCatalogue = QStringLiteral("orb32.dat");

// Qt's own options, which the application object takes out of the command line later; the
// first ones take a value.
const QStringList kQtOptionsWithValue = {
    QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"),
    QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
    QStringLiteral("session"),       QStringLiteral("display"),
    QStringLiteral("geometry"),      QStringLiteral("name"),
    QStringLiteral("title"),         QStringLiteral("visual"),
    QStringLiteral("style"),         QStringLiteral("stylesheet")};
const QStringList kQtSwitches = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                 QStringLiteral("nograb"), QStringLiteral("dograb"),
                                 QStringLiteral("sync")};

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

QString description() {
    QString text = QStringLiteral(
        "ORBA " ORBA_VERSION ": Katalog und Bestellung von Medien für das Schultheater.\n"
        "Ohne Option arbeitet ORBA im aktuellen Ordner, in dem der Katalog \"orb32.dat\" "
        "liegt.\nMitgeliefert ist der Datenbestand \"" ORBA_DATA_SET_NAME "\".");
#if ORBA_DEMO
    text += QStringLiteral(
        "\nDies ist eine Demo zum Ausprobieren: Die E-Mail-Einstellungen zeigen auf einen "
        "Testserver auf diesem Rechner (localhost:2525), und der Schlüssel für "
        "Katalog-Aktualisierungen ist der öffentlich bekannte Demo-Schlüssel.");
#endif
    return text;
}

// Qt's texts for an option's value, which its German translation lacks.
QString inGerman(const QString& error) {
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    if (const QRegularExpressionMatch m = unexpected.match(error); m.hasMatch())
        return QStringLiteral("Die Option \"%1\" nimmt keinen Wert.").arg(m.captured(1));
    if (const QRegularExpressionMatch m = missing.match(error); m.hasMatch())
        return QStringLiteral("Nach der Option \"%1\" fehlt ihr Wert.").arg(m.captured(1));
    return error;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
}

} // namespace

CommandLine::CommandLine(const QStringList& arguments)
    : m_help({QStringLiteral("?"), QStringLiteral("h"), QStringLiteral("help")},
             QStringLiteral("Zeigt diese Hilfe an.")),
      m_helpAll(hidden(QCommandLineOption(QStringLiteral("help-all")))),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Zeigt die Versionsnummer an.")),
      m_userData(
          QStringLiteral("benutzerdaten"),
          QStringLiteral("Arbeitet im eigenen Datenordner des Benutzers (%1). Der erste Start "
                         "füllt ihn aus dem installierten Datenbestand. Bringt eine "
                         "Aktualisierung neue Daten (Katalog, Statistik, Schlagwortliste, "
                         "Masken, Hilfe), ersetzen sie die alten; Einstellungen, Benutzerliste, "
                         "private Liste und Notizen bleiben.")
              .arg(QDir::toNativeSeparators(platform::userDataDir()))) {
    // "-platform xcb" as Qt writes its own options, not "-p -l -a ...".
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.setApplicationDescription(description());
    m_parser.addOptions({m_help, m_helpAll, m_version, m_userData});
    for (const QString& name : kQtOptionsWithValue)
        m_parser.addOption(hidden(QCommandLineOption(name, QString(), QStringLiteral("x"))));
    for (const QString& name : kQtSwitches)
        m_parser.addOption(hidden(QCommandLineOption(name)));
    m_parsed = m_parser.parse(arguments);
}

bool CommandLine::starts() const {
    return m_parsed && m_parser.positionalArguments().isEmpty() && !asksForText();
}

bool CommandLine::asksForText() const {
    return m_parser.isSet(m_help) || m_parser.isSet(m_helpAll) || m_parser.isSet(m_version);
}

QString CommandLine::refusal() const {
    QString reason;
    if (!m_parsed) {
        const QStringList unknown = m_parser.unknownOptionNames();
        reason = unknown.isEmpty()
                     ? inGerman(m_parser.errorText())
                     : QStringLiteral("Unbekannte Option \"%1%2\".")
                           .arg(unknown.first().size() == 1 ? "-" : "--", unknown.first());
    } else if (!m_parser.positionalArguments().isEmpty() && !asksForText()) {
        reason = QStringLiteral("Unerwartetes Argument \"%1\": ORBA öffnet keine Dateien, es "
                                "arbeitet mit den Dateien seines Ordners.")
                     .arg(m_parser.positionalArguments().first());
    }
    return reason.isEmpty() ? reason
                            : reason + QStringLiteral("\n\"orba --help\" nennt die Optionen.\n");
}

int CommandLine::answer() const {
    if (const QString reason = refusal(); !reason.isEmpty()) {
        print(stderr, reason);
        return 1;
    }
    if (m_parser.isSet(m_version))
        print(stdout, QStringLiteral("ORBA " ORBA_VERSION "\n"));
    else
        print(stdout, m_parser.helpText());
    return 0;
}

QString installedDataHint(const QString& workingDir, const QString& installedDir) {
    if (QFileInfo::exists(QDir(workingDir).filePath(kCatalogue)) ||
        !QFileInfo::exists(QDir(installedDir).filePath(kCatalogue)))
        return QString();
    return QStringLiteral("In diesem Ordner liegt kein Katalog. ORBA ist installiert: Aus dem "
                          "Menü gestartet, oder mit \"orba --benutzerdaten\", arbeitet es in "
                          "Ihrem eigenen Datenordner mit dem installierten Katalog.");
}

} // namespace orba
