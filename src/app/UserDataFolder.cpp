#include "app/UserDataFolder.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "update/UpdateManifest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace orba {
namespace {

using Record = QHash<QString, QString>;

const QChar separator = QLatin1Char('|');

// The settings are never copied: what the user has not set comes from the system-wide settings
// beneath the user's own file (SystemSettings).
bool isSettings(const QString& name) {
    return name.compare(QStringLiteral("orbaw.ini"), Qt::CaseInsensitive) == 0;
}

// The other files ORBA writes itself; once there, they are the user's.
bool isUsersOwn(const QString& name) {
    static const QStringList own = {QStringLiteral("benu.dat"), QStringLiteral("orba.lst")};
    return own.contains(name, Qt::CaseInsensitive) ||
           name.endsWith(QStringLiteral(".ntz"), Qt::CaseInsensitive);
}

// The files a catalogue update brings, with the signed list that gives their stand.
bool comesWithUpdates(const QString& name) {
    return UpdateManifest::publishedFiles().contains(name) || name == UpdateManifest::fileName ||
           name == UpdateManifest::signatureName;
}

// The user's set is newer when an update brought it and the installed set is older or has no
// stand at all.
bool usersUpdateIsNewer(const QString& usersFolder, const QString& installedFolder) {
    const std::optional<QDateTime> users = UpdateManifest::standIn(usersFolder);
    const std::optional<QDateTime> installed = UpdateManifest::standIn(installedFolder);
    return users && (!installed || *installed < *users);
}

QString fingerprint(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

// One line a copied file: its name inside the folder, "|", the fingerprint of its content.
Record readRecord(const QString& path) {
    Record record;
    if (!textfile::exists(path))
        return record;
    for (const QString& line : textfile::readLines(path)) {
        const qsizetype bar = line.lastIndexOf(separator);
        if (bar > 0)
            record.insert(line.left(bar), line.mid(bar + 1));
    }
    return record;
}

void writeRecord(const QString& path, const Record& record) {
    QStringList lines;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        lines.append(it.key() + separator + it.value());
    lines.sort();
    textfile::writeLines(path, lines);
}

} // namespace

const QString UserDataFolder::recordName = QStringLiteral("datenstand.dat");

UserDataFolder::UserDataFolder(QString installedDir, QString path)
    : m_installedDir(std::move(installedDir)), m_path(std::move(path)) {}

void UserDataFolder::update() const {
    const QDir folder(m_path);
    if (!folder.mkpath(QStringLiteral(".")))
        throw OrbaError::cannotCreateFolder(m_path);
    const QString recordPath = folder.filePath(recordName);
    const Record copied = readRecord(recordPath);
    Record record;
    const bool keepUsersUpdate = usersUpdateIsNewer(m_path, m_installedDir);

    const QDir installed(m_installedDir);
    QDirIterator files(m_installedDir, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString name = installed.relativeFilePath(source);
        const QString target = folder.filePath(name);
        const bool present = QFileInfo::exists(target);
        if (isSettings(name) || (present && isUsersOwn(name)))
            continue;
        const QByteArray bytes = textfile::readBytes(source);
        const QString print = fingerprint(bytes);
        if (!isUsersOwn(name))
            record.insert(name, print);
        if (present && copied.value(name) == print)
            continue;
        if (present && keepUsersUpdate && comesWithUpdates(name))
            continue;
        if (!folder.mkpath(QFileInfo(name).path()))
            throw OrbaError::cannotCreateFolder(QFileInfo(target).path());
        textfile::replaceFile(target, bytes);
    }
    // The record also marks the folder as the user's data folder of an installed ORBA.
    if (record != copied || !QFileInfo::exists(recordPath))
        writeRecord(recordPath, record);
}

} // namespace orba
