#include "lists/ReservationDate.h"

#include <QRegularExpression>

namespace orba {

QString formatReservationDate(QDate date) {
    // The format string takes only numbers, which do not depend on the locale.
    return date.toString(u"dd.MM.yyyy");
}

QString todayAsReservationDate() {
    return formatReservationDate(QDate::currentDate());
}

std::optional<QDate> readReservationDate(const QString& text) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})")));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(),
                     match.captured(1).toInt());
    return date.isValid() ? std::optional(date) : std::nullopt;
}

QString pastReservationDateMessage(QDate date) {
    if (date >= QDate::currentDate())
        return QString();
    return QStringLiteral("Der %1 liegt in der Vergangenheit. Bitte wählen Sie als "
                          "Reservierungsdatum heute oder einen späteren Tag.")
        .arg(formatReservationDate(date));
}

} // namespace orba
