#pragma once

#include <QString>

// A reservation date is free text. The program writes it as day, month and year with "."
// between them, and the date dialog edits it in three fields of at most 2, 2 and 4 characters.
namespace orba {

constexpr qsizetype dayLength = 2;
constexpr qsizetype monthLength = 2;
constexpr qsizetype yearLength = 4;

// Today as dd.MM.yyyy, whatever the system's language.
QString todayAsReservationDate();

struct DateParts {
    QString day;
    QString month;
    QString year;
};

// The texts before the first ".", between the first and the second, and after the second, each
// cut to its field's length; a text without any "." is taken from characters 1-2, 4-5 and 7-10.
// So a date reads back as it was joined, however the parts were typed ("1.2.2027").
DateParts splitReservationDate(const QString& date);
// The parts joined by ".", exactly as typed: nothing is checked or padded.
QString joinReservationDate(const DateParts& parts);

} // namespace orba
