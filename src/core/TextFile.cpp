#include "core/TextFile.h"

#include "core/Cp1252.h"
#include "core/OrbaError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orba::textfile {

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

void writeBytes(const QString& path, const QByteArray& bytes) {
    // The reader ends a text at a NUL: one written would hide everything after it.
    QByteArray text = bytes;
    text.removeIf([](char c) { return c == '\0'; });
    replaceFile(path, text);
}

void replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // A protected folder may still hold writable files: they are then written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw OrbaError::cannotCreate(path);
}

QByteArray joinLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += cp1252::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

void writeLines(const QString& path, const QStringList& lines) {
    writeBytes(path, joinLines(lines));
}

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace orba::textfile
