#pragma once

#include <QString>

namespace orba {

// The user's own copy of the installed data set, in which ORBA works when started from the
// desktop menu. The first update fills it. Later updates copy what it lacks and never touch the
// files ORBA writes (settings, user list, private list, notes); the data the organisation
// publishes (catalogue, statistics, keyword list, information, masks, help) follows the
// installed set: a file whose installed content changed since it was last copied here is
// replaced. What was copied is recorded in the folder, as the fingerprint of each file's content.
class UserDataFolder {
public:
    UserDataFolder(QString installedDir, QString path);

    // Throws OrbaError when the folder cannot be made or a file not copied; files already
    // replaced stay replaced, and the next update copies the rest.
    void update() const;

    // The record of what was copied, inside the folder.
    static const QString recordName;

private:
    QString m_installedDir;
    QString m_path;
};

} // namespace orba
