#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Every data file of the program is Windows-1252 text; this is the one codec for it.
namespace orba::cp1252 {

QString decode(const char* data, qsizetype size);
inline QString decode(const QByteArray& bytes) {
    return decode(bytes.constData(), bytes.size());
}

// Whether the character has a cp1252 form.
bool canEncode(char16_t u);
// Characters without a cp1252 form become '?'; `lossless` (when given) tells whether any did.
QByteArray encode(QStringView text, bool* lossless = nullptr);

// The Windows-1252 upper-casing: a-z and the small letters with diacritics (š œ ž ÿ included)
// become capitals; ß and µ have no single-byte capital and stay.
unsigned char upper(unsigned char c);
const unsigned char* upperTable();
QByteArray upper(const QByteArray& bytes);

} // namespace orba::cp1252
