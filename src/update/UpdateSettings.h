#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QUrl>

namespace orba {

class SettingsFile;

// Where the organisation publishes its updates and the key it signs them with: the section
// "Aktualisierung" of the settings file, which the organisation fills in before it hands out
// ORBA. Without an address ORBA offers no update. Beside the system's certificate authorities
// the download trusts the organisation's own, where the mail settings name one ("SMTP
// CA-Datei").
//
//   [Aktualisierung]
//   Adresse=https://spielberatung.example/orba/aktualisierung/
//   Schluessel=<public Ed25519 key, Base64>
//   beimStart=0            (1: look for an update at start-up, at most once a day)
//   letztePruefung=<the day of the last look at start-up, written by ORBA>
//   hoechsterStand=<the newest stand ORBA ever took, written by ORBA>
//
// The newest stand is kept here, in the user's own settings, and not only in the signed list of
// the data folder: a list that is removed or damaged must not open the way to an older set.
struct UpdateSettings {
    static const QString section;

    QString address;
    QString publicKey;
    QString caFile;
    bool checkAtStart = false;
    QDate lastCheck;
    QDateTime highestStand;

    static UpdateSettings read(const SettingsFile& settings);
    bool offered() const { return !address.isEmpty(); }
    // The start-up look is due when switched on and not yet made today.
    bool checkDue(const QDate& today) const;
    static void recordCheck(SettingsFile& settings, const QDate& today);
    // Throws "Nach %s kann nicht geschrieben werden".
    static void recordStand(SettingsFile& settings, const QDateTime& stand);
};

} // namespace orba
