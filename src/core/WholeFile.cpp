#include "core/WholeFile.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace orba {
namespace {

QByteArray fingerprint(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

} // namespace

WholeFile::WholeFile(QString path, WhenEmpty whenEmpty)
    : m_path(std::move(path)), m_whenEmpty(whenEmpty) {}

// Anything in the file's place counts as there: a folder must not be taken for no file.
WholeFile::OnDisk WholeFile::look() const {
    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !info.exists())
        return {};
    QByteArray bytes = textfile::readBytes(m_path);
    return {{true, info.size(), info.lastModified(), fingerprint(bytes)}, std::move(bytes)};
}

void WholeFile::remember(const Stamp& stamp, const QStringList& lines) {
    m_stamp = stamp;
    m_base = lines;
}

QStringList WholeFile::readLines() {
    try {
        const OnDisk disk = look();
        const QStringList lines =
            disk.stamp.exists ? textfile::decodeUserText(disk.bytes, m_path) : QStringList();
        remember(disk.stamp, lines);
        return lines;
    } catch (const OrbaError&) {
        m_unreadable = true;
        throw;
    }
}

QStringList WholeFile::writeLines(const QStringList& lines, const Merge& merge) {
    if (m_unreadable) {
        if (m_toldUnsaved)
            return lines;
        m_toldUnsaved = true;
        throw OrbaError(QStringLiteral("Die Datei %1 konnte beim Start nicht gelesen werden. Damit "
                                       "ihr Inhalt erhalten bleibt, werden Änderungen an dieser "
                                       "Liste bis zum Programmende nicht gespeichert.")
                            .arg(m_path));
    }
    OnDisk disk;
    try {
        disk = look();
    } catch (const OrbaError&) {
        throw OrbaError::cannotCreate(m_path);
    }
    QStringList result = lines;
    if (merge && disk.stamp != m_stamp) {
        std::optional<QStringList> theirs;
        if (disk.stamp.exists)
            theirs = textfile::decodeUserText(disk.bytes, m_path);
        result = merge(m_base, lines, theirs);
        // Nothing of this copy's is missing there: the file stays as the other copy left it.
        if (theirs && result == *theirs) {
            remember(disk.stamp, result);
            return result;
        }
    }
    if (result.isEmpty() && m_whenEmpty == WhenEmpty::Remove) {
        if (disk.stamp.exists && !QFile::remove(m_path))
            throw OrbaError::cannotCreate(m_path);
        remember({}, result);
        return result;
    }
    const QByteArray bytes = textfile::joinLines(result);
    textfile::writeBytes(m_path, bytes);
    const QFileInfo written(m_path);
    // Taken back from the bytes written, as the next reading of the file will see them.
    remember({true, bytes.size(), written.lastModified(), fingerprint(bytes)},
             textfile::splitLines(bytes));
    return m_base;
}

} // namespace orba
