// Fills a hit list the way a search does, 1,000,000 hits in batches of 10,000, and reports the
// time taken and the resident memory each row costs.

#include "lists/ListGrid.h"

#include <cstdio>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <vector>

namespace {

constexpr int hitCount = 1'000'000;
constexpr int batchSize = 10'000;

qint64 residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // /proc files claim size 0, so they are read whole rather than line by line.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    orba::ListGrid grid(2);
    grid.setCellSource([](qint32 index, int column) {
        return column == 0 ? QStringLiteral("AB %1").arg(index) : QStringLiteral("Titel");
    });
    grid.resize(600, 400);
    grid.show();
    QApplication::processEvents();

    std::vector<qint32> batch(batchSize);
    const qint64 before = residentKiB();
    QElapsedTimer timer;
    timer.start();
    for (int first = 0; first < hitCount; first += batchSize) {
        for (int i = 0; i < batchSize; ++i)
            batch[size_t(i)] = first + i;
        grid.appendIndexRows(batch.data(), batchSize);
    }
    const qint64 appendMs = timer.elapsed();
    const int rows = grid.rowCount() - 1;
    const qint64 after = residentKiB();

    timer.restart();
    grid.selectRow(grid.rowCount() - 1);
    QApplication::processEvents();
    const qint64 showLastMs = timer.elapsed();

    timer.restart();
    grid.clearRows();
    QApplication::processEvents();
    const qint64 clearMs = timer.elapsed();

    std::printf("rows: %d\n", rows);
    std::printf("append: %lld ms for %d rows in batches of %d\n", appendMs, hitCount, batchSize);
    std::printf("resident memory: %lld KiB more, %.1f bytes per row\n", after - before,
                double(after - before) * 1024.0 / hitCount);
    std::printf("select and paint the last row: %lld ms\n", showLastMs);
    std::printf("clear the list: %lld ms\n", clearMs);
    return 0;
}
