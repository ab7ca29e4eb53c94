#include "update/UpdateInstaller.h"

#include "core/OrbaError.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStorageInfo>

namespace orba {
namespace {

const QString kNewSuffix = QStringLiteral(".neu");
const QString kOldSuffix = QStringLiteral(".alt");

OrbaError diskFull(qint64 needed, qint64 available) {
    const QLocale locale;
    return OrbaError(
        QStringLiteral("Auf dem Datenträger ist nicht genug Platz für die Aktualisierung (%1 "
                       "nötig, %2 frei). Bitte schaffen Sie Platz und versuchen Sie es noch "
                       "einmal.")
            .arg(locale.formattedDataSize(needed), locale.formattedDataSize(available)));
}

// Writes the new contents beside the file; throws when it cannot.
void writeBeside(const QString& path, const QByteArray& bytes, qint64 needed) {
    QFile file(path + kNewSuffix);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes) == bytes.size() && file.flush()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return;
    }
    const bool full = file.error() == QFileDevice::ResourceError;
    file.close();
    if (full)
        throw diskFull(needed, QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable());
    throw OrbaError::cannotCreate(path);
}

} // namespace

void replaceFiles(const QString& folder, const QList<std::pair<QString, QByteArray>>& files) {
    const QDir dir(folder);
    qint64 needed = 0;
    for (const auto& [name, bytes] : files)
        needed += bytes.size();
    // The old files stay until the new ones are all written, so the new ones need room of their
    // own.
    const QStorageInfo storage(dir.absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < needed)
        throw diskFull(needed, storage.bytesAvailable());

    QStringList written;
    auto removeWritten = [&] {
        for (const QString& path : written)
            QFile::remove(path + kNewSuffix);
    };
    try {
        for (const auto& [name, bytes] : files) {
            const QString path = dir.filePath(name);
            written.append(path);
            writeBeside(path, bytes, needed);
        }
    } catch (const OrbaError&) {
        removeWritten();
        throw;
    }

    // Each old file steps aside before its new one takes its name; a failed step puts every
    // old file back.
    QStringList swapped;
    QStringList stepsAside;
    for (const QString& path : written) {
        const bool hadOld = QFile::exists(path);
        QFile::remove(path + kOldSuffix);
        if ((hadOld && !QFile::rename(path, path + kOldSuffix)) ||
            !QFile::rename(path + kNewSuffix, path)) {
            if (hadOld && !QFile::exists(path))
                QFile::rename(path + kOldSuffix, path);
            for (const QString& done : swapped) {
                QFile::remove(done);
                if (stepsAside.contains(done))
                    QFile::rename(done + kOldSuffix, done);
            }
            removeWritten();
            throw OrbaError::cannotCreate(path);
        }
        swapped.append(path);
        if (hadOld)
            stepsAside.append(path);
    }
    for (const QString& path : stepsAside)
        QFile::remove(path + kOldSuffix);
}

} // namespace orba
