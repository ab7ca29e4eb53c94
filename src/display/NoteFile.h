#pragma once

#include "core/WholeFile.h"

#include <functional>
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

// One medium's note as an editor opened it. Another copy of the program may change the same note
// meanwhile; saving then keeps what that copy wrote unless this one changed the text too.
class NoteFile {
public:
    // Asked with the other copy's text (none: it removed the note) when both changed the note;
    // true keeps this copy's text. It may throw to leave the note unsaved.
    using KeepMine = std::function<bool(const QStringList& theirs)>;

    explicit NoteFile(QString storedSignature = QString());

    // The note's lines; none when there is no note. Throws the reader's message when the file
    // cannot be read; it is then never written over.
    QStringList read();
    // Replaces the note file (cp1252, CR LF), or removes it when there are no lines; throws "Datei
    // %s kann nicht erstellt werden", also for an empty or unsafe signature. Without `keepMine`,
    // this copy's text wins.
    void save(const QStringList& lines, const KeepMine& keepMine = {});

private:
    QString m_stored;
    WholeFile m_file;
};

} // namespace orba
