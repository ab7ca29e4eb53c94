#pragma once

#include <QString>

namespace orba::mailer {

// The mail server named in the settings, "host" or "host:port".
struct SmtpServer {
    QString host;
    int port = 0; // 0 when none is named: the connection's security chooses it

    QString displayName() const; // "host:port" as the user reads it in messages
};

// Reads the value of "SMTP Host" in section "mail"; throws OrbaError with the German reason when
// it is empty or malformed.
SmtpServer parseSmtpServer(const QString& value);

} // namespace orba::mailer
