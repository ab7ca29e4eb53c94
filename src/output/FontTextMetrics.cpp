#include "output/FontTextMetrics.h"

#include <cmath>
#include <QTextLayout>

namespace orba {
namespace {

// Enough for the fixed texts of any mask; beyond it the cache starts over rather than grow.
constexpr qsizetype maxCachedLines = 4096;

} // namespace

QStringList FontTextMetrics::wrap(const QStringList& lines, int width,
                                  const ReportFont& font) const {
    select(font);
    QStringList wrapped;
    for (const QString& line : lines) {
        WrapKey key{line, width, font};
        auto known = m_wrapped.constFind(key);
        if (known == m_wrapped.cend()) {
            if (m_wrapped.size() >= maxCachedLines)
                m_wrapped.clear();
            known = m_wrapped.insert(std::move(key), wrapLine(line, width, m_qfont));
        }
        wrapped += *known;
    }
    return wrapped;
}

QStringList FontTextMetrics::wrapLine(const QString& line, int width, const QFont& font) const {
    if (line.isEmpty())
        return {QString()};
    // Control characters (such as the description's stored line-break code) have no glyph; they
    // print as blanks rather than as boxes.
    QString shown = line;
    for (QChar& c : shown) {
        if (c.unicode() < u' ')
            c = u' ';
    }
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList pieces;
    layout.beginLayout();
    for (QTextLine textLine = layout.createLine(); textLine.isValid();
         textLine = layout.createLine()) {
        textLine.setLineWidth(width);
        // Blanks at a wrap point belong to neither line as far as the reader is concerned;
        // keeping them would shift right-aligned and centred lines.
        QString piece = shown.mid(textLine.textStart(), textLine.textLength());
        while (piece.endsWith(u' '))
            piece.chop(1);
        pieces.append(piece);
    }
    layout.endLayout();
    return pieces;
}

int FontTextMetrics::lineHeight(const ReportFont& font) const {
    select(font);
    return static_cast<int>(std::lround(m_metrics->lineSpacing()));
}

qreal FontTextMetrics::ascent(const ReportFont& font) const {
    select(font);
    return m_metrics->ascent();
}

qreal FontTextMetrics::advance(const QString& line, const ReportFont& font) const {
    select(font);
    return m_metrics->horizontalAdvance(line);
}

void FontTextMetrics::select(const ReportFont& font) const {
    if (m_metrics && m_font == font)
        return;
    m_font = font;
    m_qfont = toDesignFont(font);
    m_metrics.emplace(m_qfont);
}

} // namespace orba
