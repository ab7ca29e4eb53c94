#include "output/PageRenderer.h"

#include <QPainter>
#include <QPrinter>

namespace orba {
namespace {

constexpr qreal designDpi = 96.0;

void renderElement(QPainter& painter, const PlacedElement& element) {
    if (!element.picture.isNull()) {
        painter.drawImage(QRectF(element.rect), element.picture);
        return;
    }
    painter.setFont(toDesignFont(element.font));
    painter.setPen(element.colour);
    for (const PlacedLine& line : element.lines)
        painter.drawText(line.baseline, line.text);
}

} // namespace

void renderPage(QPainter& painter, const ReportPage& page) {
    for (const PlacedBand& band : page.bands) {
        painter.save();
        painter.translate(0, band.top);
        for (const PlacedElement& element : band.band.elements)
            renderElement(painter, element);
        painter.restore();
    }
}

bool printPages(QPrinter& printer, const QList<ReportPage>& pages, qsizetype first,
                qsizetype last) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const qreal scale = printer.resolution() / designDpi;
    painter.scale(scale, scale);
    for (qsizetype i = first; i <= last && i < pages.size(); ++i) {
        if (i > first)
            printer.newPage();
        renderPage(painter, pages[i]);
    }
    return painter.end();
}

} // namespace orba
