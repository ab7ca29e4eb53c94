#pragma once

#include <optional>
#include <QString>

namespace orba {

class SettingsFile;

// How the connection to the mail server is protected.
enum class MailSecurity {
    None,     // plain text, as mail servers were once reached
    StartTls, // plain greeting, then encrypted before anything else is said
    Tls,      // encrypted from the first byte ("SMTPS")
};

// The keys of section "mail" that say how to reach the mail server, beside "SMTP Host". ORBA and
// the mailer read them alike, so that ORBA hands over a password exactly when the mailer signs
// in.
namespace mailkeys {
inline const QString section = QStringLiteral("mail");
inline const QString host = QStringLiteral("SMTP Host");
inline const QString security = QStringLiteral("SMTP Sicherheit");
inline const QString user = QStringLiteral("SMTP Benutzer");
inline const QString caFile = QStringLiteral("SMTP CA-Datei");
inline const QString savePassword = QStringLiteral("SMTP Passwort speichern");
} // namespace mailkeys

// The value written for each choice: "keine", "STARTTLS", "SSL/TLS".
QString securityText(MailSecurity security);
// Reads those and a few common spellings, in any letter case; an empty value is "keine".
// Nothing for a value that names no known security, which must not be taken for plain text.
std::optional<MailSecurity> parseSecurity(const QString& text);
// The port a server listens on for each, when "SMTP Host" names none.
int defaultPort(MailSecurity security);

struct MailAccount {
    QString host;     // "SMTP Host" as written
    QString security; // as written; see parseSecurity
    QString user;     // empty: no sign-in
    QString caFile;   // an organisation's own certificate authority; empty for none

    // A password is wanted: a user name is set and the connection is encrypted. The mailer
    // refuses a sign-in over plain text.
    bool signsIn() const;
};

MailAccount readMailAccount(const SettingsFile& settings);

} // namespace orba
