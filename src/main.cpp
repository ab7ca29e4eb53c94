#include "app/Application.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
    orba::Application app(argc, argv);
    const auto session = orba::startUp();
    return session ? app.exec() : 1;
}
