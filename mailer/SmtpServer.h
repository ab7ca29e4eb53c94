#pragma once

#include <QString>

namespace orba::mailer {

// The mail server named in the settings, "host" or "host:port".
struct SmtpServer {
    QString host;
    int port = 0; // 0 when none is named: the connection's security chooses it

    QString displayName() const; // "host:port" as the user reads it in messages
};

// Reads section "mail", key "SMTP Host" of the settings file; throws OrbaError with the German
// reason when it is missing or malformed.
SmtpServer smtpServerFromSettings(const QString& settingsPath);

} // namespace orba::mailer
