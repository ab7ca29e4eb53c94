#include "output/ReportRun.h"

#include "output/DetailLayout.h"
#include "output/ReportPaginator.h"
#include "output/ReportSource.h"
#include "output/Tprint.h"
#include "output/TrimText.h"

namespace orba {
namespace {

// The detail band leaves a run as the mask made it, so that the next run (which takes the
// band's height as its template) starts from the same design.
class DetailBandRestorer {
public:
    explicit DetailBandRestorer(ReportBand& band) : m_band(band) {}
    ~DetailBandRestorer() {
        for (const auto& element : m_band.elements())
            element->restoreTemplate();
        m_band.setHeight(m_band.templateHeight());
    }
    DetailBandRestorer(const DetailBandRestorer&) = delete;
    DetailBandRestorer& operator=(const DetailBandRestorer&) = delete;

private:
    ReportBand& m_band;
};

} // namespace

ReportRun::ReportRun(Tprint& report, const ReportTextMetrics& metrics)
    : m_report(report), m_metrics(metrics) {}

std::optional<QList<ReportPage>> ReportRun::layOut(ReportSource& source, int pageHeight,
                                                   const Progress& progress) {
    for (ReportBand* band :
         {&m_report.QRBand1, &m_report.QRBand2, &m_report.QRBand3, &m_report.QRBand4})
        band->recordTemplateHeight();
    const DetailBandRestorer restorer(m_report.QRBand3);
    fillTitle(source);
    if (source.cancelled())
        return std::nullopt;

    ReportPaginator paginator(pageHeight, m_report.QRBand4.height(),
                              snapshotBand(m_report.QRBand2, m_metrics));
    paginator.start(snapshotBand(m_report.QRBand1, m_metrics));
    for (int counter = 1;; ++counter) {
        if (progress && !progress(counter))
            return std::nullopt;
        ValueList values = m_report.placeholders.copy();
        const bool moreData = source.nextRecord(values);
        layOutDetailBand(m_report.QRBand3, m_report.placeholders, values, m_metrics);
        if (!moreData)
            break;
        paginator.addDetail(snapshotBand(m_report.QRBand3, m_metrics));
    }
    return paginator.takePages();
}

// Every title placeholder shows its value; one the data left without a value prints nothing.
void ReportRun::fillTitle(ReportSource& source) {
    ValueList values = m_report.placeholders.copy();
    source.titleData(values);
    for (const ValueEntry& placeholder : m_report.placeholders.entries())
        placeholder.element->setText(trimBlanksAndControls(values.value(placeholder.name)));
}

} // namespace orba
