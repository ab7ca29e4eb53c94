#pragma once

#include <QApplication>

namespace orba {

// The application object: German throughout, whatever the system language, and the last line of
// defence that keeps any error from crossing the event loop.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Name, version and German texts, also for an application without windows.
    static void introduce(QCoreApplication& app);
    // Name and version alone, which hold even before the application object exists.
    static void introduceName();
};

} // namespace orba
