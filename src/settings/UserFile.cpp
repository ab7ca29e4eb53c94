#include "settings/UserFile.h"

#include "core/TextFile.h"

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

QStringList readUserFile(const QString& path) {
    if (!textfile::exists(path))
        return {};
    return textfile::readLines(path);
}

void writeUserFile(const QString& path, const QStringList& lines) {
    textfile::writeLines(path, lines);
}

} // namespace orba
