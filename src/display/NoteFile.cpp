#include "display/NoteFile.h"

#include "catalogue/Record.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"

#include <QFile>

namespace orba {
namespace {

const QString kSuffix = QStringLiteral(".ntz");
// File systems take names of 255 bytes; saving safely makes a temporary name beside the note
// that is longer still. A note saved once must be saved again just as well.
constexpr qsizetype kMaxFileNameBytes = 200;

QString fileNameOf(const QString& storedSignature) {
    return storedSignature + kSuffix;
}

bool hasNoteFileName(const QString& storedSignature) {
    return !storedSignature.isEmpty() && isSafeNoteName(storedSignature);
}

} // namespace

QString noteFileName(const QString& displayedSignature) {
    return fileNameOf(record::storedSignature(displayedSignature));
}

bool isSafeNoteName(const QString& storedSignature) {
    // Separators, a drive colon or ".." could lead out of the working directory; a control
    // character (NUL above all) would cut the name short at the system's file interface.
    if (storedSignature.contains(QStringLiteral("..")) ||
        QFile::encodeName(fileNameOf(storedSignature)).size() > kMaxFileNameBytes)
        return false;
    for (const QChar c : storedSignature) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool noteExists(const QString& displayedSignature) {
    const QString stored = record::storedSignature(displayedSignature);
    return hasNoteFileName(stored) && textfile::exists(fileNameOf(stored));
}

QStringList readNote(const QString& displayedSignature) {
    if (!noteExists(displayedSignature))
        return {};
    return textfile::readLines(noteFileName(displayedSignature));
}

void writeNote(const QString& storedSignature, const QStringList& lines) {
    if (!hasNoteFileName(storedSignature))
        throw OrbaError::cannotCreate(fileNameOf(storedSignature));
    textfile::writeLines(fileNameOf(storedSignature), lines);
}

void deleteNote(const QString& storedSignature) {
    if (hasNoteFileName(storedSignature))
        QFile::remove(fileNameOf(storedSignature));
}

} // namespace orba
