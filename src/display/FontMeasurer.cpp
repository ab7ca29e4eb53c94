#include "display/FontMeasurer.h"

#include <algorithm>

namespace orba {

namespace {

// Qt refuses sizes below 1 point; far larger ones are of no use on screen and bloat the glyph
// cache.
constexpr int minPointSize = 1;
constexpr int maxPointSize = 1000;
// Enough for the texts of both views; beyond it the cache starts over rather than grow for ever.
constexpr qsizetype maxCachedWidths = 8192;

} // namespace

QFont toQFont(const FontSpec& fontSpec) {
    QFont font(fontSpec.face);
    font.setPointSize(std::clamp(fontSpec.pointSize, minPointSize, maxPointSize));
    font.setBold(fontSpec.bold);
    font.setItalic(fontSpec.italic);
    font.setUnderline(fontSpec.underline);
    return font;
}

int FontMeasurer::width(const QString& text, const FontSpec& font) const {
    Run run{font, text};
    if (const auto known = m_widths.constFind(run); known != m_widths.cend())
        return *known;
    if (m_widths.size() >= maxCachedWidths)
        m_widths.clear();
    const int measured = metrics(font).horizontalAdvance(text);
    m_widths.insert(std::move(run), measured);
    return measured;
}

int FontMeasurer::height(const QString&, const FontSpec& font) const {
    return metrics(font).height();
}

const QFontMetrics& FontMeasurer::metrics(const FontSpec& font) const {
    if (!m_metrics || !(m_fontSpec == font)) {
        m_metrics.emplace(toQFont(font));
        m_fontSpec = font;
    }
    return *m_metrics;
}

} // namespace orba
