#pragma once

#include "output/ReportFont.h"

#include <QColor>
#include <QImage>
#include <QStringList>

namespace orba {

// A positioned text or picture element of a report band. Geometry is in design pixels relative
// to the band; the template top and height keep the mask's values so that every record's
// layout can start from them again.
class ReportElement {
public:
    enum class Kind { Text, Picture };
    enum Alignment { Left = 0, Right = 1, Centred = 2 };

    Kind kind = Kind::Text;
    QString name;
    QChar band; // prefix of the band the element belongs to

    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    quint16 templateTop = 0;
    quint16 templateHeight = 0;

    int alignment = Left;
    ReportFont font;
    QColor colour = Qt::black;
    QStringList lines;

    QImage picture;

    int bottom() const { return top + height; }
    void recordTemplate();
    void restoreTemplate();

    // Line breaks (CR LF, CR or LF) separate the lines; a break at the very end adds none.
    void setText(const QString& text);
    // The lines joined by CR LF, without a break after the last.
    QString text() const { return lines.join(QStringLiteral("\r\n")); }
};

// The colour of a colour number with red in the lowest byte, then green, then blue.
QColor colourFromNumber(int number);

} // namespace orba
