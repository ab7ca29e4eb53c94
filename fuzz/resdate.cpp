// Reservation dates as the basket reads them from a file. A text that reads as a date names a
// day the calendar has, holds nothing but digits and two dots, and the date written back reads
// as the same day; written as the program writes dates, the text comes back unchanged.
#include "FuzzSupport.h"
#include "lists/ReservationDate.h"

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    const std::optional<QDate> date = readReservationDate(text);
    if (!date)
        return 0;
    FUZZ_EXPECT(date->isValid(), text);
    for (const QChar c : text)
        FUZZ_EXPECT(c == u'.' || (c >= u'0' && c <= u'9'), text);
    const QString written = formatReservationDate(*date);
    FUZZ_EXPECT(readReservationDate(written) == date, text + QStringLiteral(" -> ") + written);
    if (text.size() == written.size())
        FUZZ_EXPECT(written == text, text + QStringLiteral(" -> ") + written);
    return 0;
}
