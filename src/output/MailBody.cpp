#include "output/MailBody.h"

#include "output/BandText.h"
#include "output/ReportSource.h"
#include "output/TQRPrint.h"

namespace orba {

QStringList composeMailBody(TQRPrint& print, ReportSource& source) {
    print.LoadPrintMask(QStringLiteral("bestell.r02"));
    const Tprint& report = print.report();

    QStringList body;
    ValueList title = report.placeholders.copy();
    source.titleData(title);
    if (source.cancelled())
        return {};
    RenderBandAsText(report.QRBand1, body, &title);
    body.append(QString());
    RenderBandAsText(report.QRBand2, body, nullptr);
    // Every record starts from empty values, so that a field one record lacks shows the
    // placeholder's own text rather than the previous record's value.
    for (;;) {
        ValueList record = report.placeholders.copy();
        if (!source.nextRecord(record))
            break;
        RenderBandAsText(report.QRBand3, body, &record);
    }
    return body;
}

} // namespace orba
