#include "update/UpdateSettings.h"

#include "settings/MailAccount.h"
#include "settings/SettingsFile.h"
#include "update/UpdateManifest.h"

namespace orba {
namespace {

const QString kLastCheck = QStringLiteral("letztePruefung");
const QString kHighestStand = QStringLiteral("hoechsterStand");

} // namespace

const QString UpdateSettings::section = QStringLiteral("Aktualisierung");

UpdateSettings UpdateSettings::read(const SettingsFile& settings) {
    UpdateSettings s;
    s.address = settings.readString(section, QStringLiteral("Adresse"), QString()).trimmed();
    s.publicKey = settings.readString(section, QStringLiteral("Schluessel"), QString()).trimmed();
    s.caFile = readMailAccount(settings).caFile;
    s.checkAtStart = settings.readInteger(section, QStringLiteral("beimStart"), 0) == 1;
    s.lastCheck =
        QDate::fromString(settings.readString(section, kLastCheck, QString()), Qt::ISODate);
    s.highestStand =
        QDateTime::fromString(settings.readString(section, kHighestStand, QString()), Qt::ISODate);
    return s;
}

bool UpdateSettings::checkDue(const QDate& today) const {
    return offered() && checkAtStart && lastCheck != today;
}

void UpdateSettings::recordCheck(SettingsFile& settings, const QDate& today) {
    settings.writeString(section, kLastCheck, today.toString(Qt::ISODate));
}

void UpdateSettings::recordStand(SettingsFile& settings, const QDateTime& stand) {
    const QDateTime highest = read(settings).highestStand;
    if (!highest.isValid() || highest < stand)
        settings.writeString(section, kHighestStand, isoTime(stand));
}

} // namespace orba
