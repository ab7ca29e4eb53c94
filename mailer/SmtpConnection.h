#pragma once

#include "settings/MailAccount.h"
#include "SmtpServer.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace orba::mailer {

// How to reach the mail server and sign in to it, as the settings say.
struct SmtpConnection {
    SmtpServer server; // its port follows the security when "SMTP Host" names none
    MailSecurity security = MailSecurity::None;
    QString user;                 // empty: no sign-in
    QByteArray password;          // handed over on standard input, never on the command line
    QByteArray extraCertificates; // PEM, trusted besides the system's certificate authorities
    bool signsIn() const { return !user.isEmpty(); }
    QByteArray url() const; // smtp:// or smtps://
};

// Reads section "mail" of the settings file; throws OrbaError with the German reason when it
// cannot be used, among them a sign-in that would send the password in plain text.
SmtpConnection connectionFromSettings(const QString& settingsPath);

// The first line of `input`, without its line end. Throws OrbaError when there is none.
QByteArray readPassword(QIODevice& input, const QString& user);

} // namespace orba::mailer
