#pragma once

#include <array>
#include <optional>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The layout of a MediumRecord: 17 fields separated by "|", no quoting. A missing field is
// empty; fields after the seventeenth are never used.
namespace orba::record {

enum Field {
    Sig = 0,
    Titel = 1,
    Dauer = 2,
    Eignung = 3,
    Anzspw = 4,
    Anzspm = 5,
    Adress = 6,
    Schlag = 7,
    Beschreibung = 8,
    Buehne = 9,
    Medart = 10,
    Mehr15 = 11,
    Stdo = 12,
    Autor = 13,
    Alter = 14,
    Bewertung = 15,
    Neuanschaffung = 16,
};
constexpr int FieldCount = 17;

// Byte 0x03 inside the description marks a line break.
constexpr char DescriptionLineBreak = '\x03';

using Fields = std::array<QByteArrayView, FieldCount>;

Fields split(QByteArrayView line);
QByteArrayView field(QByteArrayView line, int index);
// The 17 field texts of a line, decoded from cp1252.
QStringList fieldTexts(QByteArrayView line);

// What the hit list shows of a line: the text before the first "|" and the title after it (up
// to the second "|" or the end). False for a line without any "|": it has nothing to show.
bool hitCells(QByteArrayView line, QString* signature, QString* title);

// Lists show a signature with a blank inserted as its third character; a signature shorter than
// two characters gets the blank at its end.
QString displaySignature(const QString& signature);
// Undoes the display form: the first blank removed (note file names).
QString storedSignature(const QString& displayed);

// The field a search code names ('1' field 0, '2' field 1, '3' field 3, ... '8' field 14,
// 'C' field 16); -1 for '0', which tests the whole line; -2 for a code outside the table.
int fieldOfCode(char upperCode);

// The players of a record, female and male together, when both fields hold a number: decimal
// digits with nothing but blanks around them. None otherwise.
std::optional<int> playerCount(QByteArrayView line);

// Fixed media types, index 0 "Alle" meaning no restriction.
const QStringList& mediaTypes();

// The four age groups of field 14, position 1 to 4.
const QStringList& ageGroups();

} // namespace orba::record
