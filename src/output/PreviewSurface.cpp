#include "output/PreviewSurface.h"

#include "output/PageRenderer.h"

#include <algorithm>
#include <cmath>
#include <QPainter>
#include <QScrollBar>

namespace orba {
namespace {

constexpr qreal designDpi = 96.0;
// The grey room around the page.
constexpr int spacing = 10;

// The sheet of paper with the current page drawn on it.
class Paper : public QWidget {
public:
    explicit Paper(const PreviewSurface& surface) : m_surface(surface) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect sheet(QPoint(spacing, spacing), m_surface.pageSize());
        painter.fillRect(sheet.translated(2, 2), palette().shadow());
        painter.fillRect(sheet, Qt::white);
        const int page = m_surface.currentPage();
        if (page < 1)
            return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setClipRect(sheet);
        painter.translate(sheet.topLeft());
        const qreal scale =
            sheet.width() / m_surface.naturalPageSize().width() * logicalDpiX() / designDpi;
        painter.scale(scale, scale);
        // The pages are laid out from the printable area's corner, as the printer places them.
        painter.translate(m_surface.pageLayout().paintRect(QPageLayout::Inch).topLeft() *
                          designDpi);
        renderPage(painter, m_surface.pages()[page - 1]);
    }

private:
    const PreviewSurface& m_surface;
};

} // namespace

PreviewSurface::PreviewSurface(QWidget* parent) : QScrollArea(parent) {
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignCenter);
    setWidget(new Paper(*this));
    resizePage();
}

void PreviewSurface::setPageLayout(const QPageLayout& layout) {
    m_layout = layout;
    resizePage();
}

void PreviewSurface::setPages(QList<ReportPage> pages) {
    m_pages = std::move(pages);
    m_page = m_pages.isEmpty() ? 0 : 1;
    widget()->update();
}

void PreviewSurface::setCurrentPage(int page) {
    if (page < 1 || page > pageCount() || page == m_page)
        return;
    m_page = page;
    verticalScrollBar()->setValue(0);
    widget()->update();
}

void PreviewSurface::setZoom(int percent) {
    m_zoom = std::max(percent, 1);
    resizePage();
}

QSizeF PreviewSurface::naturalPageSize() const {
    return m_layout.fullRect(QPageLayout::Inch).size() * logicalDpiY();
}

QSize PreviewSurface::pageSize() const {
    return (naturalPageSize() * m_zoom / 100.0).toSize();
}

int PreviewSurface::wholePageZoom(double percent) const {
    const QSizeF page = naturalPageSize();
    const QSize room = maximumViewportSize() - QSize(2 * spacing, 2 * spacing);
    if (page.isEmpty() || room.isEmpty())
        return m_zoom;
    return int(std::lround(std::min(room.width() / page.width(), room.height() / page.height()) *
                           percent));
}

int PreviewSurface::pageWidthZoom(double percent) const {
    const QSizeF page = naturalPageSize();
    const QSize room = maximumViewportSize() - QSize(2 * spacing, 2 * spacing);
    if (page.isEmpty() || room.isEmpty())
        return m_zoom;
    double factor = room.width() / page.width();
    if (page.height() * factor > room.height())
        factor = (room.width() - verticalScrollBar()->sizeHint().width()) / page.width();
    return int(std::lround(factor * percent));
}

void PreviewSurface::resizePage() {
    widget()->resize(pageSize() + QSize(2 * spacing, 2 * spacing));
}

} // namespace orba
