#include "platform/CompiledHelpHeader.h"

#include <QFile>

namespace orba::compiledhelp {
namespace {

// Help files use directory blocks of 4 KiB and content blocks of 32 KiB.
constexpr quint64 kLargestBlock = 1024 * 1024;
constexpr qint64 kFileHeaderLength = 0x60;
constexpr qint64 kDirectoryHeaderLength = 0x54;

quint64 littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

bool saneBlockLength(quint64 length) {
    return length > 0 && length <= kLargestBlock;
}

} // namespace

bool safeToOpen(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray header = file.read(kFileHeaderLength);
    if (header.size() < kFileHeaderLength || !header.startsWith("ITSF"))
        return true;
    const quint64 directoryOffset = littleEndian(header, 72, 8);
    if (directoryOffset > quint64(file.size()) || !file.seek(qint64(directoryOffset)))
        return true;
    const QByteArray directory = file.read(kDirectoryHeaderLength);
    if (directory.size() < kDirectoryHeaderLength || !directory.startsWith("ITSP"))
        return true;
    return saneBlockLength(littleEndian(directory, 16, 4));
}

bool saneResetTable(const QByteArray& table) {
    constexpr qsizetype kLength = 0x28;
    return table.size() >= kLength && saneBlockLength(littleEndian(table, 32, 8));
}

} // namespace orba::compiledhelp
