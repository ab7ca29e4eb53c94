// The empty search with "Alle" on a large catalogue, as the window runs it: every record a hit,
// all listed. Prints the whole time beside its parts (scan alone, listing alone, the rest being
// event processing and progress) and the memory the hit list costs per row; then how long a click
// on a heading takes to sort all hits by title and by signature.
#include "app/Application.h"
#include "app/Startup.h"
#include "app/TForm1.h"
#include "catalogue/HitOrder.h"
#include "catalogue/SearchEngine.h"
#include "lists/ListGrid.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <string>

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_hitlist <catalogue-file>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    orba::Application app(argc, argv);
    QTemporaryDir dir;
    // The demo installation around the large catalogue, so that start-up finds all its files.
    for (const QFileInfo& file : QDir(QStringLiteral(ORBA_DEMO_DIR)).entryInfoList(QDir::Files))
        QFile::link(file.absoluteFilePath(), dir.filePath(file.fileName()));
    QFile::remove(dir.filePath("orb32.dat"));
    QFile::link(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath(),
                dir.filePath("orb32.dat"));
    QDir::setCurrent(dir.path());
    const auto session = orba::startUp();
    orba::TForm1& main = session->mainWindow();
    const qsizetype records = main.catalogue().count();

    // Best of three for each part; the first window run also gives the memory figure.
    double scanMs = 1e9, listMs = 1e9, totalMs = 1e9;
    long grownKiB = 0;
    QElapsedTimer timer;
    for (int round = 0; round < 3; ++round) {
        timer.start();
        std::vector<qint32> all;
        orba::SearchEngine(main.catalogue(), {}).scan(0, records, all);
        scanMs = std::min(scanMs, msSince(timer));

        orba::ListGrid grid(2);
        timer.restart();
        for (std::size_t at = 0; at < all.size(); at += 100000)
            grid.appendIndexRows(all.data() + at,
                                 qsizetype(std::min<std::size_t>(100000, all.size() - at)));
        listMs = std::min(listMs, msSince(timer));
    }
    for (int round = 0; round < 3; ++round) {
        main.StringGrid1->clearRows();
        const long before = residentKiB();
        timer.restart();
        main.RunSearch({});
        totalMs = std::min(totalMs, msSince(timer));
        if (round == 0)
            grownKiB = residentKiB() - before;
    }
    const int rows = main.StringGrid1->rowCount() - 1;

    std::printf("records %lld, hits listed %d (status bar %s)\n", (long long)records, rows,
                qPrintable(main.statusPanelText(2)));
    std::printf("empty search in the window: %.1f ms\n", totalMs);
    std::printf("  scan alone   %.1f ms\n  list alone   %.1f ms\n  remainder: events, progress "
                "%.1f ms (total less scan and list; below 0 is measuring noise)\n",
                scanMs, listMs, totalMs - scanMs - listMs);
    std::printf("hit list memory: %.1f bytes per row\n", grownKiB * 1024.0 / rows);

    std::vector<qint32> hits;
    orba::SearchEngine(main.catalogue(), {}).scan(0, records, hits);
    for (const orba::HitColumn column : {orba::HitColumn::Title, orba::HitColumn::Signature}) {
        double sortMs = 1e9;
        for (int round = 0; round < 3; ++round) {
            std::vector<qint32> sorted = hits;
            timer.restart();
            orba::sortHits(sorted, main.catalogue(), column, Qt::AscendingOrder);
            sortMs = std::min(sortMs, msSince(timer));
        }
        std::printf("sorting every hit by %s: %.1f ms\n",
                    column == orba::HitColumn::Title ? "title" : "signature", sortMs);
    }
    return 0;
}
