#pragma once

#include <QString>

// A reservation date is free text. The program writes it as day, month and year with "."
// between them, and the date dialog edits it in three fields taken from fixed positions.
namespace orba {

// Today as dd.MM.yyyy, whatever the system's language.
QString todayAsReservationDate();

struct DateParts {
    QString day;
    QString month;
    QString year;
};

// Characters 1-2, 4-5 and 7-10; a shorter text gives shorter or empty parts.
DateParts splitReservationDate(const QString& date);
// The parts joined by ".", exactly as typed: nothing is checked or padded.
QString joinReservationDate(const DateParts& parts);

} // namespace orba
