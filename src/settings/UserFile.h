#pragma once

#include <QString>
#include <QStringList>

namespace orba {

// The user file "benu.dat": one line per user, the name and the school text separated by a TAB.

struct UserEntry {
    QString name;
    QString school;
};

// The name is the text before the first TAB and the school the text after it; a line without
// TAB is all name.
UserEntry splitUserLine(const QString& line);
QString joinUserLine(const UserEntry& entry);

// The lines of the file; none when it does not exist. Throws "Datei %s kann nicht geöffnet
// werden" when it exists but cannot be read.
QStringList readUserFile(const QString& path);
// Replaces the file (cp1252, CR LF after every line); throws "Datei %s kann nicht erstellt
// werden" and leaves the old file intact.
void writeUserFile(const QString& path, const QStringList& lines);

} // namespace orba
