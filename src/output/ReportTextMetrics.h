#pragma once

#include "output/ReportFont.h"

#include <QStringList>

namespace orba {

// Text measurement for laying out report bands, in design pixels. Kept abstract so that the
// layout runs with fixed metrics in tests; the lines `wrap` returns are exactly the lines that
// get printed, so line count and drawing cannot disagree.
class ReportTextMetrics {
public:
    virtual ~ReportTextMetrics() = default;
    // The text's lines word-wrapped to `width`, each line broken further where it is too wide.
    virtual QStringList wrap(const QStringList& lines, int width, const ReportFont& font) const = 0;
    // The distance from one printed line to the next.
    virtual int lineHeight(const ReportFont& font) const = 0;
    // The distance from a line's top to its baseline.
    virtual qreal ascent(const ReportFont& font) const = 0;
    virtual qreal advance(const QString& line, const ReportFont& font) const = 0;
};

} // namespace orba
