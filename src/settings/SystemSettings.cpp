#include "settings/SystemSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace orba {
namespace {

// The record of what an installed ORBA copied into a user's data folder (UserDataFolder); it
// lies in every such folder and nowhere else.
const QString kUserDataRecord = QStringLiteral("datenstand.dat");

bool isOrganisations(const QString& section, const QString& key) {
    static const QList<std::pair<QString, QString>> keys = {
        {QStringLiteral("mail"), QStringLiteral("email")},
        {QStringLiteral("Aktualisierung"), QStringLiteral("Adresse")},
        {QStringLiteral("Aktualisierung"), QStringLiteral("Schluessel")}};
    for (const auto& [s, k] : keys) {
        if (SettingsFile::sameName(s, section) && SettingsFile::sameName(k, key))
            return true;
    }
    return false;
}

} // namespace

SystemSettings::SystemSettings(const QString& path) : m_file(path) {}

QString SystemSettings::defaultPath() {
#ifdef Q_OS_WIN
    return QDir(qEnvironmentVariable("ProgramData")).filePath(QStringLiteral("orba/orbaw.ini"));
#else
    return QStringLiteral("/etc/orba/orbaw.ini");
#endif
}

std::optional<QString> SystemSettings::value(const QString& section, const QString& key,
                                             const std::optional<QString>& own) const {
    const std::optional<QString> mine = m_file.ownValue(section, key);
    if (mine && isOrganisations(section, key))
        return mine;
    return own ? own : mine;
}

bool SystemSettings::fixes(const QString& section, const QString& key) const {
    return isOrganisations(section, key) && m_file.ownValue(section, key);
}

QList<std::pair<QString, QString>>
SystemSettings::section(const QString& section,
                        const QList<std::pair<QString, QString>>& own) const {
    QList<std::pair<QString, QString>> first;
    QList<std::pair<QString, QString>> rest;
    for (const auto& entry : m_file.readSection(section))
        (isOrganisations(section, entry.first) ? first : rest).append(entry);
    QList<std::pair<QString, QString>> entries = first;
    for (const auto& entry : own) {
        if (!isOrganisations(section, entry.first) || !m_file.ownValue(section, entry.first))
            entries.append(entry);
    }
    return entries + rest;
}

SettingsFile openSettings(const QString& path, const QString& displayName,
                          const QString& systemPath) {
    SettingsFile settings(path, displayName);
    if (QFileInfo::exists(QFileInfo(path).absoluteDir().filePath(kUserDataRecord)))
        settings.lieOver(std::make_shared<const SystemSettings>(systemPath));
    return settings;
}

} // namespace orba
