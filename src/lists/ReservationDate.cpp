#include "lists/ReservationDate.h"

#include <QDate>

namespace orba {

QString todayAsReservationDate() {
    // The format string takes only numbers, which do not depend on the locale.
    return QDate::currentDate().toString(u"dd.MM.yyyy");
}

DateParts splitReservationDate(const QString& date) {
    return {date.mid(0, 2), date.mid(3, 2), date.mid(6, 4)};
}

QString joinReservationDate(const DateParts& parts) {
    return parts.day + QLatin1Char('.') + parts.month + QLatin1Char('.') + parts.year;
}

} // namespace orba
