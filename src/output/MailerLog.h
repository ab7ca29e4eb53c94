#pragma once

#include <QString>
#include <QStringList>

// What the mailer's log "log.tmp" tells ORBA besides the transcript that the user reads.
namespace orba::mailerlog {

// Some line holds it, in any letter case, when the server accepted the mail.
inline const QString success = QStringLiteral("TRANSACTION SUCCESSFULLY COMPLETED");
// The mailer's own report of a failure is the log's last line and begins with this,
inline const QString failure = QStringLiteral("Fehler: ");
// followed by this when the server refused the user name or the password.
inline const QString signInRefused = QStringLiteral("Anmeldung abgelehnt");

// That report without its mark: the cause the user reads first. Empty when the log ends otherwise.
inline QString causeIn(const QStringList& log) {
    if (log.isEmpty() || !log.constLast().startsWith(failure))
        return QString();
    return log.constLast().mid(failure.size());
}

} // namespace orba::mailerlog
