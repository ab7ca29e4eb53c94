#pragma once

#include <optional>
#include <QColor>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace orba {

// The font of one text run of the tagged-text view.
struct FontSpec {
    QString face = QStringLiteral("Arial");
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontSpec&) const = default;
};

// Text metrics for the layout, kept abstract so that the layout runs without a window.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int width(const QString& text, const FontSpec& font) const = 0;
    virtual int height(const QString& text, const FontSpec& font) const = 0;
};

// One drawing step of a laid-out text, in drawing order.
struct DrawOp {
    enum class Kind { Text, Bitmap };
    Kind kind = Kind::Text;
    int x = 0;
    int y = 0;      // top of the line
    int height = 0; // line height for text, bitmap height for bitmaps
    QString text;
    FontSpec font;
    QColor colour;
    // Text only: the line ends at a line or paragraph tag or at the end of the text, not because
    // the next word did not fit; screen readers read such lines as lines of their own.
    bool hardBreak = false;
};

namespace taglayout {

struct Input {
    QString text;
    QStringList tags; // macro lines "name=value"
    QString lineFeed; // extra pixels after every line, empty for none
    QString block;    // extra pixels after a paragraph, empty for none
    int width = 0;
    std::optional<QSize> bitmapSize; // none when the bitmap file is missing
    QColor colour;                   // the colour in force before the first colour tag
    int maxHeight = 16777215;        // the tallest the view can be; no line is laid out below it
};

struct Result {
    QList<DrawOp> ops;
    int height = 0; // the bottom the control must reach to show every line
    QColor colour;  // the colour in force after the last line, for the next layout
};

// Replaces every macro name in the text by its value, macro by macro in list order.
QString expandMacros(const QString& text, const QStringList& tags);

// Word-wraps the tagged text and turns it into drawing steps.
Result layout(const Input& input, const TextMeasurer& measurer);

} // namespace taglayout
} // namespace orba
