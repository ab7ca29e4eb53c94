#pragma once

#include <QCoreApplication>
#include <QString>

namespace orba::platform {

// Where an installed ORBA keeps its parts, found from the folder the program lies in, so that
// the package works under any prefix.

// The data set a user's own data folder is filled from.
QString installedDataDir(const QString& programDir = QCoreApplication::applicationDirPath());

// The mailer "send.exe": the one in the working directory when there is one there, else the
// installed one; when neither exists, the working directory's, whose start then fails.
QString mailerProgram(const QString& workingDir,
                      const QString& programDir = QCoreApplication::applicationDirPath());

// The user's own data folder: the platform's per-user application data location.
QString userDataDir();

} // namespace orba::platform
