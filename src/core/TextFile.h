#pragma once

#include <cstring>
#include <QByteArray>
#include <QString>
#include <QStringList>

// The one reader and writer for the program's text files: cp1252, lines ended by CR LF, CR or
// LF, a NUL byte ending the text; every write replaces its file with CR LF endings and no NUL.
// The user's own files (settings, lists, notes) are read by a stricter rule, decodeUserText.
namespace orba::textfile {

// Calls fn(begin, length) for every line of the text. A line end at the very end of the text
// does not start another line; an empty text has no lines.
template <typename Fn> void forEachLine(const char* data, qsizetype size, Fn&& fn) {
    if (const void* nul = std::memchr(data, '\0', size))
        size = static_cast<const char*>(nul) - data;
    const char* const end = data + size;
    const char* pos = data;
    const char* nextCr = nullptr;
    const char* nextLf = nullptr;
    auto find = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, end - from);
        return hit ? static_cast<const char*>(hit) : end;
    };
    while (pos < end) {
        // Both searches run at memchr speed; each is redone only once passed.
        if (nextCr < pos)
            nextCr = find(pos, '\r');
        if (nextLf < pos)
            nextLf = find(pos, '\n');
        const char* lineEnd = nextCr < nextLf ? nextCr : nextLf;
        fn(pos, lineEnd - pos);
        if (lineEnd == end)
            break;
        pos = lineEnd + 1;
        if (*lineEnd == '\r' && pos < end && *pos == '\n')
            ++pos;
    }
}

// Raw bytes of a file; throws "Datei %s kann nicht geöffnet werden" naming `path`.
QByteArray readBytes(const QString& path);
QStringList readLines(const QString& path);
QStringList splitLines(const QByteArray& bytes);

// The lines of a file the user may also have saved with another editor, read from `path`. A UTF-8
// or UTF-16 byte-order mark is honoured. Written back, the file becomes cp1252, so its text is
// taken only when every character has a cp1252 form; a NUL or text broken in its encoding marks it
// as damaged. Either way it throws, so that a caller never writes the part it understood in place
// of the whole.
QStringList decodeUserText(const QByteArray& bytes, const QString& path);

// Replaces the file, leaving out NUL bytes: atomically where the folder lets a temporary file be
// made beside it, in place where only the file itself is writable, and then only once the room
// for the new content is reserved. Throws "Datei %s kann nicht erstellt werden" when neither
// works; the old file is then left as it was, byte for byte.
void writeBytes(const QString& path, const QByteArray& bytes);
// The same for any file, pictures included: the bytes go in exactly as they are.
void replaceFile(const QString& path, const QByteArray& bytes);
void writeLines(const QString& path, const QStringList& lines);
// The bytes writeLines puts into a file: cp1252, CR LF after each line, no NUL.
QByteArray joinLines(const QStringList& lines);

bool exists(const QString& path);

} // namespace orba::textfile
