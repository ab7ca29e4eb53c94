#include "app/Program.h"

int main(int argc, char** argv) {
    return orba::runProgram(argc, argv);
}
