#pragma once

#include "MailOrder.h"
#include "SmtpServer.h"

#include <curl/curl.h>
#include <QByteArray>
#include <QStringList>

namespace orba::mailer {

// The server's last reply and the command it answered (empty for the greeting).
struct SmtpExchange {
    QByteArray command;
    QByteArray reply;
    int replyCode() const { return reply.left(3).toInt(); }
};

struct TransferResult {
    CURLcode code = CURLE_OK;
    long osErrno = 0;      // the system's reason when the connection failed
    QString curlMessage;   // libcurl's own (English) description of the failure
    SmtpExchange exchange; // meaningful when the server refused something
};

// Delivers `message` over SMTP to all recipients at once. Each line of the conversation, except
// the message itself, goes to `transcript` when one is given, marked "* " for libcurl's notes,
// "> " for commands and "< " for replies.
TransferResult transferMail(const SmtpServer& server, const MailOrder& order,
                            const QByteArray& message, QStringList* transcript);

} // namespace orba::mailer
