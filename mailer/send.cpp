// The mailer beside ORBA: sends the order mail that ORBA prepared in "mail.tmp" through the SMTP
// server of the settings, and writes what happened to "log.tmp", which ORBA waits for.
//   send.exe [-d] -s"subject" -f"sender" recipient... bodyfile
// When the settings name a user, the password is the first line of standard input.

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "MailMessage.h"
#include "MailOrder.h"
#include "output/MailerLog.h"
#include "SmtpConnection.h"
#include "SmtpFailure.h"
#include "SmtpTransfer.h"

#include <cstdio>
#include <curl/curl.h>
#include <QDateTime>
#include <QFile>

using namespace orba;
using namespace orba::mailer;

namespace {

const QString kSettingsFile = QStringLiteral("orbaw.ini");
const QString kLogFile = QStringLiteral("log.tmp");

QStringList readBody(const QString& bodyFile) {
    if (!textfile::exists(bodyFile))
        throw OrbaError(QStringLiteral("Die Maildatei %1 fehlt.").arg(bodyFile));
    return textfile::splitLines(textfile::readBytes(bodyFile));
}

// Sends the mail; the log gets the transcript when asked for. Throws OrbaError on failure.
void sendMail(int argc, char** argv, QStringList& log) {
    const MailOrder order = parseCommandLine(argc, argv);
    SmtpConnection connection = connectionFromSettings(kSettingsFile);
    const QByteArray message =
        composeMessage(order, readBody(order.bodyFile), QDateTime::currentDateTime());
    if (connection.signsIn()) {
        QFile input;
        input.open(stdin, QIODevice::ReadOnly);
        connection.password = readPassword(input, connection.user);
    }
    const TransferResult result =
        transferMail(connection, order, message, order.transcript ? &log : nullptr);
    connection.password.fill('\0');
    if (result.code != CURLE_OK)
        throw OrbaError(failureText(result, connection, order.sender));
}

} // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    QStringList log;
    bool sent = false;
    try {
        sendMail(argc, argv, log);
        log.append(mailerlog::success);
        sent = true;
    } catch (const OrbaError& error) {
        log.append(mailerlog::failure + error.message());
    }
    curl_global_cleanup();

    std::fprintf(stderr, "%s\n", qUtf8Printable(log.last()));
    // Written whole under a temporary name and then renamed, so that ORBA, which reads the log as
    // soon as it is not empty, never sees half of it.
    try {
        textfile::writeLines(kLogFile, log);
    } catch (const OrbaError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return sent ? 0 : 1;
}
