#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orba {

// The statistics file "stat.dat": its first line is the date of the figures, every further line
// one row of the table, shown unchanged; a TAB in a row starts its second column.
struct Statistics {
    QString date;
    QList<QStringList> rows; // one or two columns each
};

// Throws "Listenindex außerhalb des zulässigen Bereichs" for a file without lines: it has no
// date to take.
Statistics parseStatistics(const QStringList& lines);

} // namespace orba
