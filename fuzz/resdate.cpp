// Reservation dates as the date dialog takes them apart and joins them. Whatever the date column
// holds, confirming the dialog unchanged keeps what it shows: load(save(load(x))) = load(x), and
// no part is longer than its field.
#include "FuzzSupport.h"
#include "lists/ReservationDate.h"

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString date = QString::fromUtf8(fuzz::bytes(data, size));
    const DateParts shown = splitReservationDate(date);
    FUZZ_EXPECT(shown.day.size() <= dayLength && shown.month.size() <= monthLength &&
                shown.year.size() <= yearLength);
    const DateParts again = splitReservationDate(joinReservationDate(shown));
    FUZZ_EXPECT(again.day == shown.day && again.month == shown.month && again.year == shown.year,
                joinReservationDate(shown) + QStringLiteral(" -> ") + joinReservationDate(again));
    return 0;
}
