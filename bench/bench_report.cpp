// Cost of a long media list: 10,000 records laid out with the demo mask medien.r01 and written
// to a PDF file; time for each step and the peak memory of the process.
//
//   bench_report [demo directory]
#include "app/Application.h"
#include "output/FontTextMetrics.h"
#include "output/PageRenderer.h"
#include "output/ReportRun.h"
#include "output/ReportSource.h"
#include "output/ReportValues.h"
#include "output/TQRPrint.h"

#include <cstdio>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

using namespace orba;

namespace {

constexpr int recordCount = 10000;

// Deterministic MediumRecord lines with titles, authors and descriptions of varied length.
QList<QByteArray> makeRecords() {
    const QList<QByteArray> words = {"Theater",
                                     "Spiel",
                                     "Maske",
                                     "Clown",
                                     "B\xfc"
                                     "hne",
                                     "Figur",
                                     "Schatten",
                                     "Licht",
                                     "Musik",
                                     "Tanz",
                                     "Kreis",
                                     "Stimme",
                                     "Szene",
                                     "Gruppe",
                                     "Raum",
                                     "Improvisation"};
    const QList<QByteArray> types = {"Theaterst\xfc"
                                     "cke",
                                     "Werkb\xfc"
                                     "cher",
                                     "AV-Medien", "Spiele"};
    QList<QByteArray> records;
    records.reserve(recordCount);
    quint32 seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % quint32(n));
    };
    auto phrase = [&](int count) {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += (i ? " " : "") + words[next(words.size())];
        return text;
    };
    for (int i = 0; i < recordCount; ++i) {
        QList<QByteArray> fields(17);
        fields[0] = "TH" + QByteArray::number(10000 + i);
        fields[1] = phrase(2 + next(8));
        fields[8] = phrase(10 + next(90)) + ".";
        fields[10] = types[next(types.size())];
        fields[13] = "Autorin " + QByteArray::number(i % 97);
        records.append(fields.join('|'));
    }
    return records;
}

class RecordSource : public ReportSource {
public:
    explicit RecordSource(const QList<QByteArray>& records) : m_records(records) {}
    int recordCount() const override { return static_cast<int>(m_records.size()) + 1; }
    void titleData(ValueList&) override {}
    bool nextRecord(ValueList& list) override {
        if (m_next >= m_records.size())
            return false;
        recordValues(list, m_records[m_next++], nullptr);
        return true;
    }

private:
    const QList<QByteArray>& m_records;
    qsizetype m_next = 0;
};

// The demo directory: the argument, else the source tree's.
QString demoDirectory(int argc, char** argv) {
    if (argc > 1)
        return QString::fromLocal8Bit(argv[1]);
    return QStringLiteral(ORBA_DEMO_DIR);
}

// Peak resident memory of the process so far, in MiB.
double peakMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    const QDir demo(demoDirectory(argc, argv));
    QTemporaryDir dir;
    for (const char* name : {"medien.r01", "medien.bmp", "linie.bmp"}) {
        if (!QFile::copy(demo.filePath(QLatin1String(name)), dir.filePath(QLatin1String(name)))) {
            std::fprintf(stderr, "usage: bench_report [demo directory]: %s missing\n", name);
            return 1;
        }
    }
    QDir::setCurrent(dir.path());

    const QList<QByteArray> records = makeRecords();
    TQRPrint print(nullptr);
    print.setShowProgress(false);
    if (!print.LoadPrintMask(QStringLiteral("medien.r01")))
        return 1;
    const double startMiB = peakMiB();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(dir.filePath(QStringLiteral("liste.pdf")));
    const int pageHeight =
        printer.pageRect(QPrinter::DevicePixel).height() * 96 / printer.resolution();

    QElapsedTimer timer;
    timer.start();
    RecordSource source(records);
    const FontTextMetrics metrics;
    const auto pages = ReportRun(print.report(), metrics).layOut(source, pageHeight);
    const double layoutMs = timer.nsecsElapsed() / 1e6;
    const double layoutMiB = peakMiB();

    timer.restart();
    printPages(printer, *pages, 0, pages->size() - 1);
    const double pdfMs = timer.nsecsElapsed() / 1e6;
    const double pdfMiB = peakMiB();

    timer.restart();
    RecordSource again(records);
    print.printToPdf(again, dir.filePath(QStringLiteral("ganz.pdf")));
    const double wholeMs = timer.nsecsElapsed() / 1e6;

    // What keeping every page as an A4 image at screen resolution would take.
    const double imagesMiB = pages->size() * 794.0 * 1123.0 * 4.0 / (1024.0 * 1024.0);
    std::printf("records                 %d\n", recordCount);
    std::printf("pages                   %lld\n", static_cast<long long>(pages->size()));
    std::printf("layout                  %.0f ms (%.1f us per record)\n", layoutMs,
                layoutMs * 1000.0 / recordCount);
    std::printf("PDF writing             %.0f ms (%.1f ms per page), %.1f MiB file\n", pdfMs,
                pdfMs / pages->size(),
                QFileInfo(dir.filePath(QStringLiteral("liste.pdf"))).size() / 1048576.0);
    std::printf("printToPdf, end to end  %.0f ms\n", wholeMs);
    std::printf("peak memory (VmHWM)     %.1f MiB at start, %.1f after layout, %.1f after PDF\n",
                startMiB, layoutMiB, pdfMiB);
    std::printf("pages as 96-dpi images  would be %.0f MiB\n", imagesMiB);
    return 0;
}
