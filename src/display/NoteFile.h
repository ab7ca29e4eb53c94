#pragma once

#include <QString>
#include <QStringList>

namespace orba {

// The note of a medium is the text file "<signature>.ntz" in the working directory, where the
// signature is the stored form: the displayed one with its first blank removed. A medium has a
// note exactly when its file exists.

QString noteFileName(const QString& displayedSignature);

// Whether the signature makes a plain file name in the working directory. Signatures with path
// separators, a drive colon, ".." or control characters get no note file, nor do signatures too
// long for a file name; the empty signature (the empty private list) is allowed, and the dialog
// then saves nothing.
bool isSafeNoteName(const QString& storedSignature);

// False for an empty or unsafe signature.
bool noteExists(const QString& displayedSignature);
// The note's lines; none when there is no note.
QStringList readNote(const QString& displayedSignature);

// Replaces the note file (cp1252, CR LF); throws "Datei %s kann nicht erstellt werden", also
// for an empty or unsafe signature.
void writeNote(const QString& storedSignature, const QStringList& lines);
// Removes the note file; a missing file or an unsafe signature is no error.
void deleteNote(const QString& storedSignature);

} // namespace orba
