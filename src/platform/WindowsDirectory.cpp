#include "platform/WindowsDirectory.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace orba::platform {

QString windowsDirectory() {
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    QString dir = QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(length)));
#else
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
#endif
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace orba::platform
