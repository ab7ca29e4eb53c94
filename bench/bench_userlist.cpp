// Opens the user list on user files of 16,000 and 64,000 names in random order, as the start-up
// does, and reports the time each takes: a list sorted once grows about linearly with the file.

#include "app/Application.h"
#include "settings/Tbenu.h"

#include <cstdio>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QString writeUserFile(const QTemporaryDir& dir, int names) {
    const QString path = dir.filePath(QStringLiteral("benu%1.dat").arg(names));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QRandomGenerator random(names);
    QTextStream out(&file);
    for (int i = 0; i < names; ++i)
        out << "Name " << random.bounded(1'000'000) << "\tSchule " << i % 97 << "\r\n";
    return path;
}

double openMs(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    const orba::Tbenu users(nullptr, path);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    orba::Application app(argc, argv);
    const QTemporaryDir dir;
    const double small = openMs(writeUserFile(dir, 16'000));
    const double large = openMs(writeUserFile(dir, 64'000));
    std::printf("user list of 16,000 names: %.0f ms; of 64,000 names: %.0f ms (ratio %.1f for "
                "four times the names)\n",
                small, large, large / small);
    return 0;
}
