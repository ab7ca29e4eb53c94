#pragma once

#include "output/ReportPage.h"

namespace orba {

// Distributes bands over pages: the title band once at the start, the column header band at
// the top of every page, then the detail bands; the page footer's height stays free at the foot
// of every page, and a band that does not fit starts a new page.
class ReportPaginator {
public:
    // `pageHeight` is the printable height and `footerHeight` the page footer's, design pixels.
    ReportPaginator(int pageHeight, int footerHeight, BandSnapshot columnHeader);

    // Opens the first page with the title band on it.
    void start(BandSnapshot title);
    void addDetail(BandSnapshot detail);
    // The pages so far; the paginator is spent afterwards.
    QList<ReportPage> takePages();

private:
    void openPage();
    void place(BandSnapshot band);

    int m_bottomLimit;
    BandSnapshot m_columnHeader;
    QList<ReportPage> m_pages;
    int m_y = 0;
};

} // namespace orba
