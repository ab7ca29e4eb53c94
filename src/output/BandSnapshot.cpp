#include "output/BandSnapshot.h"

#include "output/ReportBand.h"
#include "output/ReportTextMetrics.h"

namespace orba {
namespace {

qreal lineLeft(const ReportElement& element, qreal advance) {
    switch (element.alignment) {
    case ReportElement::Right:
        return element.left + element.width - advance;
    case ReportElement::Centred:
        return element.left + (element.width - advance) / 2;
    default:
        return element.left;
    }
}

QList<PlacedLine> placeLines(const ReportElement& element, const ReportTextMetrics& metrics) {
    const QStringList wrapped = metrics.wrap(element.lines, element.width, element.font);
    const int lineHeight = metrics.lineHeight(element.font);
    const qreal ascent = metrics.ascent(element.font);
    QList<PlacedLine> placed;
    for (qsizetype i = 0; i < wrapped.size(); ++i) {
        const int lineTop = static_cast<int>(i) * lineHeight;
        if (lineTop + lineHeight > element.height)
            break;
        const QString& text = wrapped[i];
        if (text.isEmpty())
            continue;
        const qreal left = lineLeft(element, metrics.advance(text, element.font));
        placed.append(PlacedLine{QPointF(left, element.top + lineTop + ascent), text});
    }
    return placed;
}

} // namespace

BandSnapshot snapshotBand(const ReportBand& band, const ReportTextMetrics& metrics) {
    BandSnapshot snapshot;
    snapshot.height = band.height();
    for (const auto& element : band.elements()) {
        PlacedElement placed;
        placed.rect = QRect(element->left, element->top, element->width, element->height);
        if (element->kind == ReportElement::Kind::Picture) {
            if (element->picture.isNull())
                continue;
            placed.picture = element->picture;
        } else {
            placed.lines = placeLines(*element, metrics);
            if (placed.lines.isEmpty())
                continue;
            placed.font = element->font;
            placed.colour = element->colour;
        }
        snapshot.elements.append(std::move(placed));
    }
    return snapshot;
}

} // namespace orba
