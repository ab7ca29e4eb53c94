#pragma once

namespace orba {

// What the program does from its command line to its end; returns its exit code.
int runProgram(int argc, char** argv);

} // namespace orba
