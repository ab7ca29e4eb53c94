// Opens the user list on user files of 16,000 and 64,000 names in random order, as the start-up
// does, and reports the time each takes: a list sorted once grows about linearly with the file.
// Then saves the larger list after one change, as "Neu" does, against a plain write of the same
// lines: the file is first compared with what was read, and merged when another copy changed it.

#include "app/Application.h"
#include "core/ListMerge.h"
#include "core/TextFile.h"
#include "core/WholeFile.h"
#include "settings/Tbenu.h"
#include "settings/UserFile.h"

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

template <typename Fn> double elapsedMs(Fn fn) {
    QElapsedTimer timer;
    timer.start();
    fn();
    return double(timer.nsecsElapsed()) / 1e6;
}

double saveMs(const QString& path, bool changedElsewhere) {
    orba::WholeFile file(path);
    QStringList lines = file.readLines();
    lines.append(QStringLiteral("Neu\t"));
    if (changedElsewhere) {
        QFile other(path);
        if (other.open(QIODevice::Append))
            other.write("Andere Kopie\t\r\n");
    }
    return elapsedMs([&] {
        file.writeLines(lines, [](const QStringList& base, const QStringList& mine,
                                  const std::optional<QStringList>& theirs) {
            return orba::sortUserLines(
                orba::mergeByKey([](const QString& line) { return line; })(base, mine, theirs));
        });
    });
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

    const QString path = writeUserFile(dir, 64'000);
    const QStringList lines = orba::textfile::readLines(path);
    const double plain = elapsedMs([&] { orba::textfile::writeLines(path, lines); });
    const double checked = saveMs(path, false);
    const double merged = saveMs(path, true);
    std::printf("saving 64,000 names: plain write %.0f ms; checked against the file %.0f ms "
                "(ratio %.1f); merged with another copy's change %.0f ms (ratio %.1f)\n",
                plain, checked, checked / plain, merged, merged / plain);
    return 0;
}
