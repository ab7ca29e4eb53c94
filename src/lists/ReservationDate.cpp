#include "lists/ReservationDate.h"

#include <algorithm>
#include <QDate>

namespace orba {

QString todayAsReservationDate() {
    // The format string takes only numbers, which do not depend on the locale.
    return QDate::currentDate().toString(u"dd.MM.yyyy");
}

DateParts splitReservationDate(const QString& date) {
    const qsizetype first = date.indexOf(QLatin1Char('.'));
    if (first < 0)
        return {date.mid(0, dayLength), date.mid(3, monthLength), date.mid(6, yearLength)};
    qsizetype second = date.indexOf(QLatin1Char('.'), first + 1);
    if (second < 0)
        second = date.size();
    return {date.left(std::min(first, dayLength)),
            date.mid(first + 1, std::min(second - first - 1, monthLength)),
            date.mid(second + 1, yearLength)};
}

QString joinReservationDate(const DateParts& parts) {
    return parts.day + QLatin1Char('.') + parts.month + QLatin1Char('.') + parts.year;
}

} // namespace orba
