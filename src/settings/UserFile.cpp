#include "settings/UserFile.h"

#include <algorithm>
#include <QCollator>

namespace orba {
namespace {

const QChar kTab = QLatin1Char('\t');

QCollator userOrder() {
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

UserEntry splitUserLine(const QString& line) {
    const qsizetype tab = line.indexOf(kTab);
    if (tab < 0)
        return {line, QString()};
    return {line.left(tab), line.mid(tab + 1)};
}

QString joinUserLine(const UserEntry& entry) {
    return entry.name + kTab + entry.school;
}

QStringList sortUserLines(QStringList lines) {
    std::stable_sort(lines.begin(), lines.end(), userOrder());
    return lines;
}

qsizetype sortedPosition(const QStringList& lines, const QString& line) {
    const QCollator order = userOrder();
    return std::find_if(lines.begin(), lines.end(),
                        [&](const QString& other) { return order.compare(other, line) > 0; }) -
           lines.begin();
}

} // namespace orba
