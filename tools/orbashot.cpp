// Starts ORBA in the working directory, waits until the main window is up, saves a picture of
// it to the file named on the command line, prints the file's name and ends.
#include "app/Application.h"
#include "app/Startup.h"
#include "app/TForm1.h"

#include <cstdio>
#include <QTimer>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: orbashot <bild.png>\n");
        return 2;
    }
    orba::Application app(argc, argv);
    const auto session = orba::startUp();
    if (!session)
        return 1;
    const QString file = QString::fromLocal8Bit(argv[1]);
    int result = 1;
    QTimer::singleShot(700, [&] {
        if (session->mainWindow().grab().save(file)) {
            std::printf("%s\n", qPrintable(file));
            result = 0;
        }
        QApplication::exit();
    });
    app.exec();
    return result;
}
