#pragma once

#include <QStringList>

namespace orba {

class ReportBand;
class ValueList;

// Appends the band as plain text to `lines`: elements whose tops agree in their first three
// (zero-padded) digits share a line, ordered by their left edges and joined by two blanks. With
// `values` (may be null) a placeholder element (text beginning with "^") shows its value there,
// or nothing when it has none. Texts with line breaks give several lines; a band without
// elements gives one empty line.
void RenderBandAsText(const ReportBand& band, QStringList& lines, const ValueList* values);

} // namespace orba
