#pragma once

#include <QString>
#include <QStringList>

namespace orba {

// The INI settings file, read once and written through at every change. Sections and keys
// match without regard to case; a missing file, section or key yields the caller's default.
class SettingsFile {
public:
    // `path` is opened, `displayName` names it in messages (".\orbaw.ini").
    explicit SettingsFile(QString path, QString displayName = QString());

    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal with an optional sign, or "0x"/"0X" hexadecimal when longer than two characters;
    // anything else yields `def`.
    int readInteger(const QString& section, const QString& key, int def) const;

    // Replace the value in place or add the key (and its section); the file is replaced at once.
    // Throws "Nach %s kann nicht geschrieben werden"; the settings then stay as they were.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);

    const QString& path() const { return m_path; }

private:
    // Writes `lines` as the new file and, only once that succeeded, takes what it wrote as the
    // settings.
    void replaceFile(const QStringList& lines);

    QString m_path;
    QString m_displayName;
    QStringList m_lines;
};

} // namespace orba
