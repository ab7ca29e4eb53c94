#include "core/TextFile.h"

#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

namespace orba::textfile {
namespace {

struct ByteOrderMark {
    QByteArrayView bytes;
    QStringConverter::Encoding encoding;
};

const ByteOrderMark kByteOrderMarks[] = {
    {"\xEF\xBB\xBF", QStringConverter::Utf8},
    {"\xFF\xFE", QStringConverter::Utf16LE},
    {"\xFE\xFF", QStringConverter::Utf16BE},
};

// The text after a byte-order mark as cp1252 bytes; throws when it is no text of its encoding or
// holds what cp1252 cannot.
QByteArray fromUnicode(QByteArrayView bytes, QStringConverter::Encoding encoding,
                       const QString& path) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    const bool oddUtf16 = encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0;
    if (decoder.hasError() || oddUtf16 || text.contains(QChar(u'\0')))
        throw OrbaError::damaged(path);
    bool lossless = false;
    QByteArray cp1252 = cp1252::encode(text, &lossless);
    if (!lossless)
        throw OrbaError::notStorable(path);
    return cp1252;
}

enum class Written { Done, FolderDenied, Failed };

// Writes the new content under a temporary name beside the file and renames it over the file.
// Each step is checked: a full disk may show at any of them.
Written writeBeside(const QString& target, const QByteArray& bytes) {
    QFile temporary;
    QString temporaryPath;
    for (int attempt = 0;; ++attempt) {
        temporaryPath = target + QStringLiteral(".%1.tmp").arg(
                                     QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16,
                                     QLatin1Char('0'));
        bool denied = false;
        if (platform::createExclusive(temporary, temporaryPath, &denied))
            break;
        // Another name is tried only when this one was taken.
        if (denied || attempt == 2 || !QFileInfo::exists(temporaryPath))
            return denied ? Written::FolderDenied : Written::Failed;
    }
    bool ok = temporary.write(bytes) == bytes.size() && platform::syncFile(temporary);
    temporary.close();
    ok = ok && temporary.error() == QFileDevice::NoError;
    // The new file keeps the old one's permissions, as if it had been written in place.
    if (ok && QFileInfo::exists(target))
        QFile::setPermissions(temporaryPath, QFile::permissions(target));
    if (!ok || !platform::renameOver(temporaryPath, target)) {
        QFile::remove(temporaryPath);
        return Written::Failed;
    }
    // The new content is in place; a folder that cannot be synced (some network shares refuse
    // it) does not undo that.
    platform::syncFolder(QFileInfo(target).absolutePath());
    return Written::Done;
}

// For a folder that lets no file be made, only the file itself be written. The room for the new
// content is reserved before the old content is touched, so that a full disk refuses the write
// instead of cutting the file.
bool writeInPlace(const QString& target, const QByteArray& bytes) {
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered) ||
        !platform::reserveSpace(file, bytes.size()))
        return false;
    const bool ok =
        file.write(bytes) == bytes.size() && file.resize(bytes.size()) && platform::syncFile(file);
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

} // namespace

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw OrbaError::cannotOpen(path);
    QByteArray bytes = file.readAll();
    // A read that breaks off must not pass for a short file.
    if (file.error() != QFileDevice::NoError)
        throw OrbaError::cannotOpen(path);
    return bytes;
}

QStringList splitLines(const QByteArray& bytes) {
    QStringList lines;
    forEachLine(bytes.constData(), bytes.size(), [&](const char* begin, qsizetype length) {
        lines.append(cp1252::decode(begin, length));
    });
    return lines;
}

QStringList readLines(const QString& path) {
    return splitLines(readBytes(path));
}

QStringList decodeUserText(const QByteArray& bytes, const QString& path) {
    for (const ByteOrderMark& mark : kByteOrderMarks) {
        if (bytes.startsWith(mark.bytes))
            return splitLines(
                fromUnicode(QByteArrayView(bytes).sliced(mark.bytes.size()), mark.encoding, path));
    }
    // The plain reader would end the text at a NUL and so lose the rest at the next save.
    if (bytes.contains('\0'))
        throw OrbaError::damaged(path);
    return splitLines(bytes);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    // The reader ends a text at a NUL: one written would hide everything after it.
    QByteArray text = bytes;
    text.removeIf([](char c) { return c == '\0'; });
    replaceFile(path, text);
}

void replaceFile(const QString& path, const QByteArray& bytes) {
    // A link stays a link: the file it names is replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    // A file its owner protected from writing is not replaced either.
    if (QFileInfo::exists(target) && !QFileInfo(target).isWritable())
        throw OrbaError::cannotCreate(path);
    const Written written = writeBeside(target, bytes);
    // A protected folder may still hold writable files: they are then written in place.
    if (written == Written::Done ||
        (written == Written::FolderDenied && writeInPlace(target, bytes)))
        return;
    throw OrbaError::cannotCreate(path);
}

QByteArray joinLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += cp1252::encode(line);
        bytes += "\r\n";
    }
    bytes.removeIf([](char c) { return c == '\0'; });
    return bytes;
}

void writeLines(const QString& path, const QStringList& lines) {
    writeBytes(path, joinLines(lines));
}

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace orba::textfile
