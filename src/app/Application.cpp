#include "app/Application.h"

#include "core/Guard.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orba {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("ORBA"));
    setOrganizationName(QStringLiteral("ORBA"));
    setApplicationDisplayName(QString());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setFont(QFont(QStringLiteral("Arial"), 9));
    // Qt's own dialogs (print, file) speak German too.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace orba
