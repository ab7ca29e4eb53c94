#include "platform/Installation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orba::platform {
namespace {

const QString mailerName = QStringLiteral("send.exe");

} // namespace

QString installedDataDir(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(ORBA_DATA_FROM_PROGRAM)));
}

QString mailerProgram(const QString& workingDir, const QString& programDir) {
    const QString own = QDir(workingDir).absoluteFilePath(mailerName);
    if (QFileInfo::exists(own))
        return own;
    const QString installed = QDir::cleanPath(
        QDir(programDir).filePath(QStringLiteral(ORBA_MAILER_FROM_PROGRAM "/") + mailerName));
    return QFileInfo::exists(installed) ? installed : own;
}

QString userDataDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace orba::platform
