#pragma once

#include <QStringList>

namespace orba {

// What the command line asks of a start.
struct StartOptions {
    // Work in the user's own data folder instead of the working directory.
    bool userData = false;
};

// Reads the command line (the program's name first). "--help", "--version" and a wrong option
// are answered on the console, in German, and end the program.
StartOptions readCommandLine(const QStringList& arguments);

} // namespace orba
