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

NoteFile::NoteFile(QString storedSignature)
    : m_stored(std::move(storedSignature)),
      m_file(fileNameOf(m_stored), WholeFile::WhenEmpty::Remove) {}

QStringList NoteFile::read() {
    // A folder in the note's place is no note; saving over it fails.
    if (!hasNoteFileName(m_stored) || !textfile::exists(fileNameOf(m_stored)))
        return {};
    return m_file.readLines();
}

void NoteFile::save(const QStringList& lines, const KeepMine& keepMine) {
    if (!hasNoteFileName(m_stored))
        throw OrbaError::cannotCreate(fileNameOf(m_stored));
    m_file.writeLines(lines, [&keepMine](const QStringList& base, const QStringList& mine,
                                         const std::optional<QStringList>& theirs) {
        const QStringList other = theirs.value_or(QStringList());
        if (mine == base || mine == other)
            return other;
        if (other == base || !keepMine || keepMine(other))
            return mine;
        return other;
    });
}

} // namespace orba
