#include "output/DetailLayout.h"

#include "output/PlaceholderList.h"
#include "output/ReportBand.h"
#include "output/ReportTextMetrics.h"
#include "output/TrimText.h"

#include <algorithm>
#include <cstdlib>

namespace orba {
namespace {

// Room for the element's frame above and below its lines.
constexpr int textPadding = 6;
// However long a value, its element grows no further and no element moves further than this:
// the page cuts a band long before, and the band's sums stay far from the limits of int.
constexpr qint64 maxExtent = 1'000'000;

int bounded(qint64 value) {
    return static_cast<int>(std::clamp(value, -maxExtent, maxExtent));
}

void moveElementsBelow(ReportBand& band, const ReportElement& element, int delta) {
    for (const auto& other : band.elements()) {
        if (other.get() != &element && other->top > element.top)
            other->top = bounded(qint64(other->top) + delta);
    }
}

} // namespace

void layOutDetailBand(ReportBand& band, const PlaceholderList& placeholders,
                      const ValueList& values, const ReportTextMetrics& metrics) {
    for (const auto& element : band.elements())
        element->restoreTemplate();
    band.setHeight(band.templateHeight());
    const int margin = band.height() - band.elementsBottom();

    for (const ValueEntry& entry : placeholders.entries()) {
        ReportElement* element = entry.element;
        if (!element || element->band != band.prefix())
            continue;
        const QString value = values.value(entry.name);
        if (value.isEmpty()) {
            element->lines.clear();
            moveElementsBelow(band, *element, -element->height);
            continue;
        }
        element->setText(trimBlanksAndControls(value));
        const qsizetype lineCount =
            metrics.wrap(element->lines, element->width, element->font).size();
        const int newHeight = bounded(lineCount * metrics.lineHeight(element->font) + textPadding);
        const int delta = newHeight - element->height;
        element->height = newHeight;
        moveElementsBelow(band, *element, delta);
    }
    band.setHeight(band.elementsBottom() + std::abs(margin) + textPadding);
}

} // namespace orba
