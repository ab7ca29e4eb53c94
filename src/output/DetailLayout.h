#pragma once

namespace orba {

class PlaceholderList;
class ReportBand;
class ReportTextMetrics;
class ValueList;

// Fits the detail band to one record: every element starts again from its template geometry,
// each placeholder element of the band takes its value from `values` and grows or shrinks to
// the wrapped text (n lines of height h become n × h + 6), the elements below it move by the
// difference; an empty value hides its element and the elements below move up by its height.
// The band's height ends up as the lowest bottom edge plus its designed bottom margin plus 6.
void layOutDetailBand(ReportBand& band, const PlaceholderList& placeholders,
                      const ValueList& values, const ReportTextMetrics& metrics);

} // namespace orba
