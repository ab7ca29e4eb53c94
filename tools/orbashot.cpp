// Starts ORBA in the working directory and, once the main window is up, saves a picture of it
// to the file named on the command line, prints the file's name and ends. With a search text it
// first searches and selects a hit (the given row, the first by default), so the picture shows
// a medium's details.
#include "app/Application.h"
#include "app/Startup.h"
#include "app/TForm1.h"
#include "lists/ListGrid.h"

#include <cstdio>
#include <QComboBox>
#include <QTimer>
#include <QToolButton>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "Aufruf: orbashot <bild.png> [suchbegriff [zeile]]\n");
        return 2;
    }
    orba::Application app(argc, argv);
    const auto session = orba::startUp();
    if (!session)
        return 1;
    orba::TForm1& main = session->mainWindow();
    const QString file = QString::fromLocal8Bit(argv[1]);
    int result = 1;
    QTimer::singleShot(300, [&] {
        if (argc >= 3) {
            main.Edit1->setEditText(QString::fromLocal8Bit(argv[2]));
            main.SpeedButton1->click();
            const int row = argc == 4 ? QString::fromLocal8Bit(argv[3]).toInt() : 1;
            if (row > 1 && row < main.StringGrid1->rowCount())
                main.StringGrid1->selectRow(row);
        }
        QTimer::singleShot(400, [&] {
            if (main.grab().save(file)) {
                std::printf("%s\n", qPrintable(file));
                result = 0;
            }
            QApplication::exit();
        });
    });
    app.exec();
    return result;
}
