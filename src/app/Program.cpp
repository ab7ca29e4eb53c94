#include "app/Program.h"

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/UserDataFolder.h"
#include "core/Guard.h"
#include "platform/Installation.h"
#include "update/UpdateInstaller.h"

#include <QDir>

namespace orba {
namespace {

// The command line exactly as the program got it, before Qt takes its own options out.
QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Fills or updates the user's data folder from the installed data set and makes it the working
// directory. False when that failed; the error has been shown.
bool enterUserDataFolder(const QString& installedDir, const QString& folder) {
    try {
        // While another copy of ORBA updates the folder, its files are whole and stay as they
        // are; the next start copies what the installed set brings.
        const UpdateLock lock(folder);
        if (!lock.busy()) {
            finishInterruptedUpdate(lock);
            UserDataFolder(installedDir, folder).update();
        }
        if (!QDir::setCurrent(folder))
            throw OrbaError::cannotOpen(folder);
        return true;
    } catch (const OrbaError& e) {
        showError(e.message());
        return false;
    }
}

} // namespace

int runProgram(int argc, char** argv) {
    Application::introduceName();
    const CommandLine commandLine(argumentsOf(argc, argv));
    if (!commandLine.starts()) {
        // Answered on the console, also where there is no window system.
        QCoreApplication console(argc, argv);
        Application::introduce(console);
        return commandLine.answer();
    }
    Application app(argc, argv);
    const StartOptions options = commandLine.options();
    if (options.userData &&
        !enterUserDataFolder(platform::installedDataDir(), platform::userDataDir()))
        return 1;
    if (!options.userData)
        noteOnNextError(installedDataHint(QDir::currentPath(), platform::installedDataDir()));
    const auto session = startUp();
    noteOnNextError(QString());
    return session ? app.exec() : 1;
}

} // namespace orba
