#include "display/TagLayout.h"

#include <algorithm>
#include <cstdlib>

namespace orba::taglayout {

namespace {

// A line closes once its right end comes this close to the right edge.
constexpr qint64 rightMargin = 110;
constexpr int initialX = 2;
// Positions and sizes beyond this mean nothing on screen and would overflow the arithmetic.
constexpr qint64 maxTagNumber = 1'000'000;

struct Macro {
    QString name;
    QString value;
};

std::optional<Macro> parseMacro(const QString& line) {
    const qsizetype equals = line.indexOf(u'=');
    // Without "=" (or with nothing before it) the name is empty, and an empty name never matches.
    if (equals <= 0)
        return std::nullopt;
    return Macro{line.left(equals), line.mid(equals + 1)};
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Removes the digits at `at` and the one character after them, which normally closes the number;
// returns the digits.
QString takeNumber(QString& word, qsizetype at) {
    qsizetype end = at;
    while (end < word.size() && isAsciiDigit(word[end]))
        ++end;
    QString digits = word.mid(at, end - at);
    word.remove(at, end - at + 1);
    return digits;
}

// No digits count as 0.
int numberValue(const QString& digits) {
    qint64 value = 0;
    for (QChar digit : digits)
        value = std::min(value * 10 + (digit.unicode() - u'0'), maxTagNumber);
    return int(value);
}

// Only the low 8 bits of a colour part count, however long the number is.
int lowByte(const QString& digits) {
    int value = 0;
    for (QChar digit : digits)
        value = (value * 10 + (digit.unicode() - u'0')) % 256;
    return value;
}

// Removes the first occurrence of the tag; tells whether there was one.
bool takeTag(QString& word, QStringView tag) {
    const qsizetype at = word.indexOf(tag);
    if (at < 0)
        return false;
    word.remove(at, tag.size());
    return true;
}

// Removes the first occurrence of a numeric tag's opening; returns where it was, or -1.
qsizetype takeOpening(QString& word, QStringView opening) {
    const qsizetype at = word.indexOf(opening);
    if (at >= 0)
        word.remove(at, opening.size());
    return at;
}

qint64 pixelsOf(const QString& setting) {
    return setting.isEmpty()
               ? 0
               : std::clamp<qint64>(setting.trimmed().toInt(), -maxTagNumber, maxTagNumber);
}

// The state of one layout run: the current line, font, colour and position.
class Run {
public:
    Run(const Input& input, const TextMeasurer& measurer)
        : m_input(input), m_measurer(measurer), m_colour(input.colour) {}

    Result lay() {
        const QString text = expandMacros(m_input.text, m_input.tags);
        qsizetype pos = 0;
        // Lines beyond the view's reach would never be seen, and the positions would overflow.
        while (pos < text.size() && std::abs(m_y) < m_input.maxHeight) {
            const qsizetype blank = text.indexOf(u' ', pos);
            const qsizetype end = blank < 0 ? text.size() : blank + 1;
            QString word = text.mid(pos, end - pos);
            pos = end;
            interpretTags(word);
            const qint64 lineWidth = m_measurer.width(m_line, m_font);
            const qint64 wordWidth = m_measurer.width(word, m_font);
            m_line += word;
            m_hardBreak = m_paragraph || m_lineBreak || pos >= text.size();
            if (lineWidth + wordWidth + m_x + rightMargin >= m_input.width || m_hardBreak)
                endLine();
        }
        m_result.colour = m_colour;
        return m_result;
    }

private:
    // Each tag takes effect at its first occurrence in the word only, in this order.
    void interpretTags(QString& word) {
        if (const qsizetype at = takeOpening(word, u"<c="); at >= 0) {
            const int red = lowByte(takeNumber(word, at));
            const int green = lowByte(takeNumber(word, at));
            const int blue = lowByte(takeNumber(word, at));
            m_colour = QColor(red, green, blue);
        }
        if (const qsizetype at = takeOpening(word, u"<x="); at >= 0)
            m_x = numberValue(takeNumber(word, at));
        if (takeTag(word, u"<i>"))
            m_font.italic = true;
        if (takeTag(word, u"<b>"))
            m_font.bold = true;
        if (takeTag(word, u"<u>"))
            m_font.underline = true;
        if (const qsizetype at = takeOpening(word, u"<fs="); at >= 0)
            m_font.pointSize = numberValue(takeNumber(word, at));
        if (takeTag(word, u"<br>"))
            m_lineBreak = true;
        if (takeTag(word, u"<p>"))
            m_paragraph = true;
        if (takeTag(word, u"<img>"))
            m_image = true;
    }

    void endLine() {
        if (m_image && m_input.bitmapSize) {
            const QSize bitmap = *m_input.bitmapSize;
            m_result.ops.append(
                {DrawOp::Kind::Bitmap, int(m_x), int(m_y), bitmap.height(), {}, {}, {}});
            m_x = std::min(m_x + bitmap.width(), maxTagNumber);
        }
        const int lineHeight = m_measurer.height(m_line, m_font);
        if (!m_line.isEmpty())
            m_result.ops.append({DrawOp::Kind::Text, int(m_x), int(m_y), lineHeight, m_line, m_font,
                                 m_colour, m_hardBreak});
        m_y += lineHeight + pixelsOf(m_input.lineFeed);
        if (m_paragraph)
            m_y += lineHeight + pixelsOf(m_input.block);
        m_result.height = int(std::clamp<qint64>(m_y, m_result.height, m_input.maxHeight));
        // Size, colour and position carry over to the next line; the styles do not.
        m_line.clear();
        m_lineBreak = m_paragraph = m_image = false;
        m_font.bold = m_font.italic = m_font.underline = false;
    }

    const Input& m_input;
    const TextMeasurer& m_measurer;
    Result m_result;
    FontSpec m_font;
    QColor m_colour;
    qint64 m_x = initialX;
    qint64 m_y = 0;
    QString m_line;
    bool m_lineBreak = false;
    bool m_paragraph = false;
    bool m_image = false;
    bool m_hardBreak = false;
};

} // namespace

QString expandMacros(const QString& text, const QStringList& tags) {
    QString result = text;
    for (const QString& line : tags) {
        const std::optional<Macro> macro = parseMacro(line);
        if (!macro)
            continue;
        // Searching on after the inserted value keeps a value that contains its own name from
        // expanding forever.
        qsizetype from = 0;
        while ((from = result.indexOf(macro->name, from)) >= 0) {
            result.replace(from, macro->name.size(), macro->value);
            from += macro->value.size();
        }
    }
    return result;
}

Result layout(const Input& input, const TextMeasurer& measurer) {
    return Run(input, measurer).lay();
}

} // namespace orba::taglayout
