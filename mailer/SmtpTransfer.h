#pragma once

#include "MailOrder.h"
#include "SmtpConnection.h"

#include <curl/curl.h>
#include <QByteArray>
#include <QStringList>

namespace orba::mailer {

// The server's last reply and the command it answered (empty for the greeting). During a sign-in
// the command is "AUTH" and the mechanism, whatever was sent after it.
struct SmtpExchange {
    QByteArray command;
    QByteArray reply;
    int replyCode() const { return reply.left(3).toInt(); }
};

struct TransferResult {
    CURLcode code = CURLE_OK;
    long osErrno = 0;          // the system's reason when the connection failed
    bool connected = false;    // the server took the connection, whether it answered or not
    long certificateError = 0; // the certificate check's reason; 0 when the chain was trusted
    QString curlMessage;       // libcurl's own (English) description of the failure
    SmtpExchange exchange;     // meaningful when the server refused something
};

// Delivers `message` over SMTP to all recipients at once. Each line of the conversation, except
// the message itself and what a sign-in sends, goes to `transcript` when one is given, marked
// "* " for libcurl's notes, "> " for commands and "< " for replies.
TransferResult transferMail(const SmtpConnection& connection, const MailOrder& order,
                            const QByteArray& message, QStringList* transcript);

} // namespace orba::mailer
