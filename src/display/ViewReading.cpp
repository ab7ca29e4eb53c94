#include "display/ViewReading.h"

#include <algorithm>
#include <QTextBoundaryFinder>

namespace orba {
namespace {

std::pair<qsizetype, qsizetype> finderSegment(QTextBoundaryFinder::BoundaryType type,
                                              const QString& text, qsizetype offset) {
    QTextBoundaryFinder finder(type, text);
    finder.setPosition(offset);
    const qsizetype start = finder.isAtBoundary() ? offset : finder.toPreviousBoundary();
    finder.setPosition(offset);
    const qsizetype end = finder.toNextBoundary();
    return {std::max<qsizetype>(0, start), end < 0 ? text.size() : end};
}

} // namespace

ViewReading::ViewReading(const QList<DrawOp>& ops) {
    bool joinToNext = false;
    for (const DrawOp& op : ops) {
        if (op.kind != DrawOp::Kind::Text)
            continue;
        qsizetype length = op.text.size();
        while (length > 0 && op.text[length - 1].isSpace())
            --length;
        // A line of blanks has nothing to read; a line break it carries still counts.
        if (length == 0) {
            joinToNext = joinToNext && !op.hardBreak;
            continue;
        }
        if (!m_lines.isEmpty())
            m_text += joinToNext ? QLatin1Char(' ') : QLatin1Char('\n');
        m_lines.append({m_text.size(), length, op});
        m_text += QStringView(op.text).first(length);
        joinToNext = !op.hardBreak;
    }
}

qsizetype ViewReading::lineAt(qsizetype offset) const {
    const auto after =
        std::upper_bound(m_lines.cbegin(), m_lines.cend(), offset,
                         [](qsizetype at, const Line& line) { return at < line.start; });
    return after - m_lines.cbegin() - 1;
}

std::pair<qsizetype, qsizetype>
ViewReading::segmentAt(qsizetype offset, QAccessible::TextBoundaryType boundary) const {
    const qsizetype size = m_text.size();
    offset = std::clamp<qsizetype>(offset, 0, size);
    switch (boundary) {
    case QAccessible::CharBoundary:
        return {offset, std::min(offset + 1, size)};
    case QAccessible::WordBoundary:
        return finderSegment(QTextBoundaryFinder::Word, m_text, offset);
    case QAccessible::SentenceBoundary:
        return finderSegment(QTextBoundaryFinder::Sentence, m_text, offset);
    case QAccessible::LineBoundary: {
        const qsizetype line = lineAt(offset);
        if (line < 0)
            return {0, size};
        return {m_lines[line].start, line + 1 < m_lines.size() ? m_lines[line + 1].start : size};
    }
    case QAccessible::ParagraphBoundary: {
        const qsizetype newline = offset > 0 ? m_text.lastIndexOf(u'\n', offset - 1) : -1;
        const qsizetype next = m_text.indexOf(u'\n', offset);
        return {newline + 1, next < 0 ? size : next + 1};
    }
    case QAccessible::NoBoundary:
        break;
    }
    return {0, size};
}

std::pair<qsizetype, qsizetype>
ViewReading::segmentBefore(qsizetype offset, QAccessible::TextBoundaryType boundary) const {
    const qsizetype start = segmentAt(offset, boundary).first;
    return start > 0 ? segmentAt(start - 1, boundary) : std::pair<qsizetype, qsizetype>{0, 0};
}

std::pair<qsizetype, qsizetype>
ViewReading::segmentAfter(qsizetype offset, QAccessible::TextBoundaryType boundary) const {
    const qsizetype end = segmentAt(offset, boundary).second;
    const qsizetype size = m_text.size();
    return end < size ? segmentAt(end, boundary) : std::pair{size, size};
}

} // namespace orba
