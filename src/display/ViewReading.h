#pragma once

#include "display/TagLayout.h"

#include <QAccessible>
#include <QList>
#include <QString>

namespace orba {

// What a screen reader reads of a laid-out tagged text: the drawn lines in drawing order, a
// wrapped line joined to the next by a blank, a line ended by a tag followed by a line break.
class ViewReading {
public:
    struct Line {
        qsizetype start = 0;
        qsizetype length = 0; // without the line's trailing blanks
        DrawOp op;            // the text operation that draws the line
    };

    ViewReading() = default;
    explicit ViewReading(const QList<DrawOp>& ops);

    const QString& text() const { return m_text; }
    const QList<Line>& lines() const { return m_lines; }
    // The line holding `offset`; the last line for the end of the text, -1 without lines.
    qsizetype lineAt(qsizetype offset) const;

    // The character, word, sentence, line, paragraph or whole text around `offset`, as the
    // half-open range [first, second).
    std::pair<qsizetype, qsizetype> segmentAt(qsizetype offset,
                                              QAccessible::TextBoundaryType boundary) const;
    // The segment before the one around `offset`, and the one after it; empty at either end.
    std::pair<qsizetype, qsizetype> segmentBefore(qsizetype offset,
                                                  QAccessible::TextBoundaryType boundary) const;
    std::pair<qsizetype, qsizetype> segmentAfter(qsizetype offset,
                                                 QAccessible::TextBoundaryType boundary) const;

private:
    QString m_text;
    QList<Line> m_lines;
};

} // namespace orba
