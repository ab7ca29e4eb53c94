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
    return file.readAll();
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
    QSaveFile file(path);
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
