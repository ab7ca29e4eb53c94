#include "output/ReportPaginator.h"

namespace orba {

ReportPaginator::ReportPaginator(int pageHeight, int footerHeight, BandSnapshot columnHeader)
    : m_bottomLimit(pageHeight - footerHeight), m_columnHeader(std::move(columnHeader)) {}

void ReportPaginator::start(BandSnapshot title) {
    m_pages.append(ReportPage());
    m_y = 0;
    place(std::move(title));
    place(m_columnHeader);
}

void ReportPaginator::addDetail(BandSnapshot detail) {
    // A page holding nothing but the column header takes the band even when it does not fit:
    // it is cut at the bottom rather than open new pages for ever.
    const bool pageHoldsMore = m_y > m_columnHeader.height;
    if (pageHoldsMore && m_y + detail.height > m_bottomLimit)
        openPage();
    place(std::move(detail));
}

QList<ReportPage> ReportPaginator::takePages() {
    return std::move(m_pages);
}

void ReportPaginator::openPage() {
    m_pages.append(ReportPage());
    m_y = 0;
    place(m_columnHeader);
}

void ReportPaginator::place(BandSnapshot band) {
    const int height = band.height;
    m_pages.last().bands.append(PlacedBand{m_y, std::move(band)});
    m_y += height;
}

} // namespace orba
