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

// The list's order: alphabetical without regard to case, in the user's language. Sorting takes
// one pass however long the file; lines that compare equal keep their order in the file.
QStringList sortUserLines(QStringList lines);
// Where a new line goes: before the first line that comes after it, so also right after the
// lines equal to it. An entry renamed in place may stand out of order until the next start.
qsizetype sortedPosition(const QStringList& lines, const QString& line);

} // namespace orba
