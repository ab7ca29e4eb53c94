#include "settings/UserFile.h"

namespace orba {
namespace {

const QChar kTab = QLatin1Char('\t');

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

} // namespace orba
