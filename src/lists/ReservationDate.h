#pragma once

#include <optional>
#include <QDate>
#include <QString>

// A reservation date is kept as text: day, month and year with "." between them. The program
// only ever enters whole dates; a text from an older file may be anything and stays as it is
// until the user changes it.
namespace orba {

// A date as dd.MM.yyyy, whatever the system's language.
QString formatReservationDate(QDate date);
QString todayAsReservationDate();

// The date a text names: day and month of one or two digits and a year of four, joined by ".",
// nothing around them; none for any other text and for a day the calendar does not have.
std::optional<QDate> readReservationDate(const QString& text);

// The German refusal of a date before today; empty for today and later.
QString pastReservationDateMessage(QDate date);

} // namespace orba
