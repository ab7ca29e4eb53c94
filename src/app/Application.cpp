#include "app/Application.h"

#include "core/Guard.h"

#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orba {

void Application::introduceName() {
    // The name gives the per-user data folder (~/.local/share/orba) and the window class the
    // desktop entry matches.
    setApplicationName(QStringLiteral("orba"));
    setApplicationVersion(QStringLiteral(ORBA_VERSION));
}

void Application::introduce(QCoreApplication& app) {
    introduceName();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own texts (print and file dialogs, the command-line help) speak German too.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    introduce(*this);
    setApplicationDisplayName(QString());
    setDesktopFileName(QStringLiteral(ORBA_APP_ID));
    setWindowIcon(QIcon::fromTheme(QStringLiteral(ORBA_APP_ID)));
    setFont(QFont(QStringLiteral("Arial"), 9));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace orba
