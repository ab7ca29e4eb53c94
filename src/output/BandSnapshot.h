#pragma once

#include "output/ReportFont.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QStringList>

namespace orba {

class ReportBand;
class ReportTextMetrics;

// One line of text as it is printed: its baseline point in design pixels within the band.
struct PlacedLine {
    QPointF baseline;
    QString text;
};

// An element as one band of one page prints it; nothing refers back to the band, whose
// elements change with every record.
struct PlacedElement {
    QRect rect;
    QList<PlacedLine> lines; // text elements: only the lines that fit the element's height
    ReportFont font;
    QColor colour;
    QImage picture; // picture elements: stretched to the rectangle; shared, never copied
};

// What a band prints for one record: its height and its visible elements.
struct BandSnapshot {
    int height = 0;
    QList<PlacedElement> elements;
};

// Wraps every text element at its width, places each line one line height below the last,
// aligned left, right or centred, and leaves out lines that do not fit the element's height
// entirely. Elements that print nothing are left out.
BandSnapshot snapshotBand(const ReportBand& band, const ReportTextMetrics& metrics);

} // namespace orba
