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

} // namespace orba
