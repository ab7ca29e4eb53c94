#include "settings/SettingsFile.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "settings/SystemSettings.h"

#include <limits>
#include <optional>
#include <QFileInfo>

namespace orba {
namespace {

constexpr qsizetype kMaxStringLength = 1023;

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Only blanks and tabs count, as with the Windows profile functions; QString::trimmed would also
// strip other characters (the no-break space among them) that belong to a value.
QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// The name of a "[Name]" line, or nothing when the line opens no section.
std::optional<QStringView> sectionName(QStringView line) {
    const QStringView text = trimBlanks(line);
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(QLatin1Char(']'));
    if (close < 1)
        return std::nullopt;
    return trimBlanks(text.sliced(1, close - 1));
}

// Position of the "=" of a "key=value" line; -1 for comments and lines without one.
qsizetype assignmentAt(QStringView line) {
    if (trimBlanks(line).startsWith(QLatin1Char(';')))
        return -1;
    return line.indexOf(QLatin1Char('='));
}

struct Location {
    qsizetype section = -1; // line of the section's header
    qsizetype key = -1;     // line of the key
    qsizetype append = -1;  // where a new key of the section goes
};

// Only the first section of a name and the first key of a name within it count.
Location locate(const QStringList& lines, QStringView section, QStringView key) {
    Location found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QStringView> name = sectionName(lines[i]);
        if (found.section >= 0) {
            if (name)
                break;
            if (!trimBlanks(lines[i]).isEmpty())
                found.append = i + 1;
            const qsizetype eq = assignmentAt(lines[i]);
            if (found.key < 0 && eq >= 0 &&
                SettingsFile::sameName(QStringView(lines[i]).first(eq), key))
                found.key = i;
        } else if (name && SettingsFile::sameName(*name, section)) {
            found.section = i;
            found.append = i + 1;
        }
    }
    return found;
}

// The value of a digit in any base up to 36, or -1.
int digitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'z')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'Z')
        return u - 'A' + 10;
    return -1;
}

// Decimal with an optional sign, or "0x" and hexadecimal digits; either within the range of int.
std::optional<int> parseInteger(QStringView text) {
    const bool hex = text.size() > 2 && text[0] == QLatin1Char('0') &&
                     (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'));
    const int base = hex ? 16 : 10;
    qsizetype pos = hex ? 2 : 0;
    bool negative = false;
    if (!hex && !text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'))) {
        negative = text[0] == QLatin1Char('-');
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min())
                                  : qint64(std::numeric_limits<int>::max());
    qint64 magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = digitValue(text[pos]);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

// The value of a "key=value" line without its surrounding blanks.
QStringView valueOfLine(QStringView line) {
    return trimBlanks(line.sliced(assignmentAt(line) + 1));
}

// The value of the key, or nothing when the key is missing.
std::optional<QStringView> valueOf(const QStringList& lines, QStringView section, QStringView key) {
    const Location found = locate(lines, section, key);
    if (found.key < 0)
        return std::nullopt;
    return valueOfLine(lines[found.key]);
}

QString stringValue(QStringView value) {
    return value.left(kMaxStringLength).toString();
}

} // namespace

SettingsFile::SettingsFile(QString path, QString displayName)
    : m_path(std::move(path)), m_displayName(displayName.isEmpty() ? m_path : displayName) {
    try {
        m_lines = linesOnDisk();
    } catch (const OrbaError& e) {
        // An unreadable file gives the defaults, just as a missing one; the program says so.
        m_readError = e;
    }
}

bool SettingsFile::sameName(QStringView a, QStringView b) {
    return trimBlanks(a).compare(trimBlanks(b), Qt::CaseInsensitive) == 0;
}

std::optional<QString> SettingsFile::ownValue(const QString& section, const QString& key) const {
    const std::optional<QStringView> value = valueOf(m_lines, section, key);
    return value ? std::optional<QString>(stringValue(*value)) : std::nullopt;
}

std::optional<QString> SettingsFile::lookUp(const QString& section, const QString& key) const {
    const std::optional<QString> own = ownValue(section, key);
    return m_system ? m_system->value(section, key, own) : own;
}

bool SettingsFile::fixedBySystem(const QString& section, const QString& key) const {
    return m_system && m_system->fixes(section, key);
}

QString SettingsFile::readString(const QString& section, const QString& key,
                                 const QString& def) const {
    return lookUp(section, key).value_or(def);
}

int SettingsFile::readInteger(const QString& section, const QString& key, int def) const {
    const std::optional<QString> value = lookUp(section, key);
    return value ? parseInteger(*value).value_or(def) : def;
}

QList<std::pair<QString, QString>> SettingsFile::readSection(const QString& section) const {
    QList<std::pair<QString, QString>> entries;
    const Location found = locate(m_lines, section, QStringView());
    // Without the section, no line of this file belongs to it.
    const qsizetype end = found.section < 0 ? 0 : m_lines.size();
    for (qsizetype i = found.section + 1; i < end && !sectionName(m_lines[i]); ++i) {
        const qsizetype eq = assignmentAt(m_lines[i]);
        if (eq >= 0)
            entries.append({trimBlanks(QStringView(m_lines[i]).first(eq)).toString(),
                            stringValue(valueOfLine(m_lines[i]))});
    }
    return m_system ? m_system->section(section, entries) : entries;
}

// The file is read again at every write, so that what another copy of the program or an
// administrator wrote meanwhile stays; only the one key changes.
void SettingsFile::writeString(const QString& section, const QString& key, const QString& value) {
    QStringList lines;
    try {
        lines = linesOnDisk();
    } catch (const OrbaError&) {
        throw OrbaError::cannotWriteSettings(m_displayName);
    }
    // A line break would make the rest of the value a line of its own: another key or section.
    // A NUL never reaches the file, which would end there for every reader.
    QString oneLine = value;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .remove(QChar(u'\0'));
    const Location found = locate(lines, section, key);
    if (found.key >= 0) {
        QString& line = lines[found.key];
        line = line.first(assignmentAt(line) + 1) + oneLine;
    } else {
        const QString entry = trimBlanks(key).toString() + QLatin1Char('=') + oneLine;
        if (found.section >= 0) {
            lines.insert(found.append, entry);
        } else {
            if (!lines.isEmpty() && !trimBlanks(lines.last()).isEmpty())
                lines.append(QString());
            lines.append(QLatin1Char('[') + trimBlanks(section).toString() + QLatin1Char(']'));
            lines.append(entry);
        }
    }
    replaceFile(lines);
}

void SettingsFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

QStringList SettingsFile::linesOnDisk() const {
    // A folder in the file's place is no missing file: reading it fails.
    if (!QFileInfo::exists(m_path))
        return {};
    QByteArray bytes;
    try {
        bytes = textfile::readBytes(m_path);
    } catch (const OrbaError&) {
        throw OrbaError::cannotOpen(m_displayName);
    }
    return textfile::decodeUserText(bytes, m_displayName);
}

void SettingsFile::replaceFile(const QStringList& lines) {
    const QByteArray bytes = textfile::joinLines(lines);
    try {
        textfile::writeBytes(m_path, bytes);
    } catch (const OrbaError&) {
        throw OrbaError::cannotWriteSettings(m_displayName);
    }
    // Taken back from the bytes written: a character without a cp1252 form then reads as the
    // file holds it.
    m_lines = textfile::splitLines(bytes);
}

} // namespace orba
