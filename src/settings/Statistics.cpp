#include "settings/Statistics.h"

#include "core/OrbaError.h"

namespace orba {

Statistics parseStatistics(const QStringList& lines) {
    if (lines.isEmpty())
        throw OrbaError::indexOutOfRange();
    Statistics statistics{lines.first(), {}};
    statistics.rows.reserve(lines.size() - 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        statistics.rows.append(tab < 0 ? QStringList{line}
                                       : QStringList{line.left(tab), line.mid(tab + 1)});
    }
    return statistics;
}

} // namespace orba
