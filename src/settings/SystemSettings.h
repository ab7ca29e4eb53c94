#pragma once

#include "settings/SettingsFile.h"

#include <optional>
#include <QList>
#include <QString>
#include <utility>

namespace orba {

// The settings an administrator keeps for every user of an installed ORBA, read-only beneath
// each user's own orbaw.ini. A key the user's file lacks comes from here, so that the user's
// file keeps only what the user changed. The keys only the organisation sets (the order address,
// the update address and its public key) come from here whenever this file has them, so that a
// new address or key reaches every user.
class SystemSettings {
public:
    explicit SystemSettings(const QString& path);

    // Where the package installs it.
    static QString defaultPath();

    // The value that counts, given the user's own (none when the user's file lacks the key).
    std::optional<QString> value(const QString& section, const QString& key,
                                 const std::optional<QString>& own) const;
    // Whether this file decides the key for every user: one only the organisation sets, which
    // this file has.
    bool fixes(const QString& section, const QString& key) const;
    // The section's entries as a reader taking the first of each key finds the values that
    // count: the organisation's keys from here, the user's own entries, then the rest of here.
    QList<std::pair<QString, QString>> section(const QString& section,
                                               const QList<std::pair<QString, QString>>& own) const;

private:
    SettingsFile m_file;
};

// The settings file at `path`. In the data folder of an installed ORBA, which the start from the
// menu works in, it lies over the system-wide settings at `systemPath`; anywhere else it stands
// alone, as it always did.
SettingsFile openSettings(const QString& path, const QString& displayName = QString(),
                          const QString& systemPath = SystemSettings::defaultPath());

} // namespace orba
