#pragma once

#include <QStringList>

namespace orba {

class ReportSource;
class TQRPrint;

// The order mail's text: the order mask "bestell.r02" is loaded and its bands rendered as plain
// text: the title band with the title data, an empty line, the column header band, and the
// detail band once per record the source delivers. The caller has set the source to its first
// record. A missing mask is reported by the load and the bands are rendered as they are; a broken
// mask throws OrbaError. Nothing when the source was cancelled at its title data.
QStringList composeMailBody(TQRPrint& print, ReportSource& source);

} // namespace orba
