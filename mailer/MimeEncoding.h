#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The 7-bit forms a mail travels in: every line short, every byte printable ASCII.
namespace orba::mailer {

// Recommended limit of a header line, folding included.
constexpr qsizetype kMaxHeaderLine = 78;

// The text lines as UTF-8 in quoted-printable, each ended by CR LF.
QByteArray quotedPrintableLines(const QStringList& lines);

// The value of a header field whose line starts with `fieldName` and ": ". Plain short ASCII
// stays as it is; anything else becomes UTF-8 "B" encoded-words folded onto continuation lines.
QByteArray headerText(const QByteArray& fieldName, const QString& text);

// The value of an address field whose line starts with `fieldName` and ": ": the bare address,
// or the display name and the address in angle brackets. The name is written so that every mail
// reader shows it as given: quoted where it holds mail syntax characters, in UTF-8 "B"
// encoded-words where it goes beyond ASCII; long values are folded onto continuation lines.
QByteArray mailboxText(const QByteArray& fieldName, const QString& name, const QString& address);

} // namespace orba::mailer
