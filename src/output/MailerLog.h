#pragma once

#include <QString>

// What the mailer's log "log.tmp" tells ORBA besides the transcript that the user reads.
namespace orba::mailerlog {

// Some line holds it, in any letter case, when the server accepted the mail.
inline const QString success = QStringLiteral("TRANSACTION SUCCESSFULLY COMPLETED");
// The mailer's own report of a failure is the log's last line and begins with this,
inline const QString failure = QStringLiteral("Fehler: ");
// followed by this when the server refused the user name or the password.
inline const QString signInRefused = QStringLiteral("Anmeldung abgelehnt");

} // namespace orba::mailerlog
