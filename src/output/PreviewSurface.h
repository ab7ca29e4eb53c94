#pragma once

#include "output/ReportPage.h"

#include <QPageLayout>
#include <QScrollArea>

namespace orba {

// The surface of the print preview: one laid-out page at a time, zoomed, on a grey ground with a
// little room around the page. Scroll bars appear only for a direction the page does not fit.
class PreviewSurface : public QScrollArea {
    Q_OBJECT
public:
    explicit PreviewSurface(QWidget* parent);

    // The paper the pages were laid out for; the surface draws them on it.
    void setPageLayout(const QPageLayout& layout);
    const QPageLayout& pageLayout() const { return m_layout; }
    void setPages(QList<ReportPage> pages);
    const QList<ReportPage>& pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }
    // 1 to the page count; 0 without pages.
    int currentPage() const { return m_page; }
    // A page outside 1 to the page count is ignored.
    void setCurrentPage(int page);

    // Percent of the page's natural size on the screen; at least 1.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // The page's size on the screen at zoom 100, and at the current zoom.
    QSizeF naturalPageSize() const;
    QSize pageSize() const;
    // The zooms at which the whole page, or its whole width, fills `percent` of the room the
    // surface has for it: the room inside the frame, less the space around the page and, for the
    // width, less the vertical scroll bar that a page taller than the surface brings.
    int wholePageZoom(double percent) const;
    int pageWidthZoom(double percent) const;

private:
    void resizePage();

    QPageLayout m_layout;
    QList<ReportPage> m_pages;
    int m_page = 0;
    int m_zoom = 100;
};

} // namespace orba
