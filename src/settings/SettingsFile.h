#pragma once

#include "core/OrbaError.h"

#include <memory>
#include <optional>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace orba {

class SystemSettings;

// The INI settings file. Its values are read once; every write reads the file as it is on disk
// then, changes the one key and writes it back, so that changes made meanwhile by others stay.
// Sections and keys match without regard to case; a missing file, section or key yields the
// caller's default.
class SettingsFile {
public:
    // `path` is opened, `displayName` names it in messages (".\orbaw.ini").
    explicit SettingsFile(QString path, QString displayName = QString());

    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal with an optional sign, or "0x"/"0X" hexadecimal when longer than two characters;
    // anything else yields `def`.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Every "key=value" of the section in file order, as readString would give each value; a
    // key listed twice appears twice, and readString takes the first.
    QList<std::pair<QString, QString>> readSection(const QString& section) const;
    // This file's own value of the key, without the settings beneath it; none when it lacks it.
    std::optional<QString> ownValue(const QString& section, const QString& key) const;
    // Whether two section or key names are the same to the file: case and blanks around aside.
    static bool sameName(QStringView a, QStringView b);

    // Replace the value in place or add the key (and its section); the file is replaced at once.
    // A line break in the value becomes a blank, a NUL is left out. Throws "Nach %s kann nicht
    // geschrieben werden" when the file cannot be read or written; the settings then stay as
    // they were.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);

    const QString& path() const { return m_path; }
    // Why the file could not be read when it was opened; its settings are then the defaults, and
    // it is not written over while it stays so.
    const std::optional<OrbaError>& readError() const { return m_readError; }

    // The system-wide settings this file lies over; only reading consults them.
    void lieOver(std::shared_ptr<const SystemSettings> system) { m_system = std::move(system); }
    // Whether the system-wide settings decide the key whatever this file holds.
    bool fixedBySystem(const QString& section, const QString& key) const;

private:
    // The value that counts for the key, from this file or the settings beneath it.
    std::optional<QString> lookUp(const QString& section, const QString& key) const;
    // None when there is no file; throws when there is one that cannot be read.
    QStringList linesOnDisk() const;
    // Writes `lines` as the new file and, only once that succeeded, takes what it wrote as the
    // settings.
    void replaceFile(const QStringList& lines);

    QString m_path;
    QString m_displayName;
    QStringList m_lines;
    std::optional<OrbaError> m_readError;
    std::shared_ptr<const SystemSettings> m_system;
};

} // namespace orba
