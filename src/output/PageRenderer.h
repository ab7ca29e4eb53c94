#pragma once

#include "output/ReportPage.h"

class QPainter;
class QPrinter;

namespace orba {

// Draws a laid-out page in design pixels; the painter's transformation maps them to the device.
void renderPage(QPainter& painter, const ReportPage& page);

// Prints pages `first` to `last` (0-based, inclusive) on the printer, scaled from 96 design
// pixels per inch to the printer's resolution. False when the printer cannot be opened.
bool printPages(QPrinter& printer, const QList<ReportPage>& pages, qsizetype first, qsizetype last);

} // namespace orba
