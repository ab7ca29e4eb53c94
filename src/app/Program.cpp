#include "app/Program.h"

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/UserDataFolder.h"
#include "core/Guard.h"
#include "platform/Installation.h"
#include "update/UpdateInstaller.h"

#include <cstring>
#include <QDir>

namespace orba {
namespace {

// Help and version are answered on the console, also where there is no window system.
bool asksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// Fills or updates the user's data folder from the installed data set and makes it the working
// directory. False when that failed; the error has been shown.
bool enterUserDataFolder(const QString& installedDir, const QString& folder) {
    try {
        finishInterruptedUpdate(folder);
        UserDataFolder(installedDir, folder).update();
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
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication console(argc, argv);
        Application::introduce(console);
        readCommandLine(console.arguments());
    }
    Application app(argc, argv);
    const StartOptions options = readCommandLine(app.arguments());
    if (options.userData &&
        !enterUserDataFolder(platform::installedDataDir(), platform::userDataDir()))
        return 1;
    const auto session = startUp();
    return session ? app.exec() : 1;
}

} // namespace orba
