// Print masks, through the report run and the drawing of its pages and through the text of the
// order mail. The input is a mask file; four demo records (one of them empty) are its data. A
// broken number ends the load, as in the program, and the report then runs with what was loaded.
// Whatever the numbers, bands and elements keep sizes a page can hold, every page's bands follow
// one another downwards, and the detail band ends the run as the mask made it.
#include "output/PrintMask.h"

#include "catalogue/Catalogue.h"
#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "output/BandText.h"
#include "output/FontTextMetrics.h"
#include "output/PageRenderer.h"
#include "output/ReportRun.h"
#include "output/ReportSource.h"
#include "output/ReportValues.h"
#include "output/Tprint.h"

#include <QImage>
#include <QPainter>

using namespace orba;

namespace {

// An A4 page's printable height in design pixels.
constexpr int kPageHeight = 1100;
// Far beyond any page, yet far from the limits of int.
constexpr int kLargest = 1 << 26;

class DemoRecords : public ReportSource {
public:
    explicit DemoRecords(const QList<QByteArray>& lines) : m_lines(lines) {}
    int recordCount() const override { return static_cast<int>(m_lines.size()) + 1; }
    void titleData(ValueList& list) override { titleValues(list, true, false, {}); }
    bool nextRecord(ValueList& list) override {
        if (m_next >= m_lines.size())
            return false;
        const QString date = QStringLiteral("01.02.2027");
        recordValues(list, m_lines[m_next++], &date);
        return true;
    }

private:
    QList<QByteArray> m_lines;
    qsizetype m_next = 0;
};

// The demo records, with the catalogue and the pictures the seeds name copied beside the mask.
QList<QByteArray> demoRecords() {
    for (const char* file : {"orb32.dat", "linie.bmp", "ordner.bmp"})
        fuzz::copyDemoFile(QString::fromLatin1(file));
    Catalogue catalogue;
    catalogue.load(QStringLiteral("orb32.dat"));
    QList<QByteArray> lines;
    for (qsizetype index = 0; index < std::min<qsizetype>(3, catalogue.count()); ++index)
        lines.append(catalogue.line(index).toByteArray());
    lines.append(QByteArray());
    return lines;
}

void checkBand(const ReportBand& band) {
    FUZZ_EXPECT(band.height() >= 0 && band.height() < kLargest, QString::number(band.height()));
    for (const auto& element : band.elements())
        FUZZ_EXPECT(std::abs(element->top) < kLargest && element->height >= 0 &&
                        element->height < kLargest && std::abs(element->left) < kLargest &&
                        element->width >= 0 && element->width < kLargest,
                    element->name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QList<QByteArray> records = demoRecords();
    fuzz::writeFile(QStringLiteral("fuzz.r02"), fuzz::bytes(data, size));
    Tprint report;
    try {
        printmask::load(report, QStringLiteral("fuzz.r02"), nullptr);
    } catch (const OrbaError&) {
    }
    for (const ReportBand* band : {&report.QRBand1, &report.QRBand2, &report.QRBand3})
        checkBand(*band);
    const int detailHeight = report.QRBand3.height();

    const FontTextMetrics metrics;
    DemoRecords source(records);
    const auto pages = ReportRun(report, metrics).layOut(source, kPageHeight);
    FUZZ_EXPECT(pages && !pages->isEmpty() && pages->size() <= records.size() + 1);
    FUZZ_EXPECT(report.QRBand3.height() == detailHeight);
    QImage image(119, 168, QImage::Format_RGB32);
    for (const ReportPage& page : *pages) {
        int bottom = 0;
        for (const PlacedBand& band : page.bands) {
            FUZZ_EXPECT(band.top == bottom && band.band.height >= 0 && band.band.height < kLargest);
            bottom += band.band.height;
        }
        QPainter painter(&image);
        painter.scale(0.1, 0.1);
        renderPage(painter, page);
    }

    QStringList mail;
    ValueList values = report.placeholders.copy();
    source.titleData(values);
    for (const ReportBand* band : {&report.QRBand1, &report.QRBand2, &report.QRBand3})
        RenderBandAsText(*band, mail, &values);
    return 0;
}
