// The mailer beside ORBA: sends the order mail that ORBA prepared in "mail.tmp" through the SMTP
// server of the settings, and writes what happened to "log.tmp", which ORBA waits for.
//   send.exe [-d] -s"subject" -f"sender" recipient... bodyfile

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "MailMessage.h"
#include "MailOrder.h"
#include "SmtpFailure.h"
#include "SmtpServer.h"
#include "SmtpTransfer.h"

#include <cstdio>
#include <curl/curl.h>
#include <QDateTime>

using namespace orba;
using namespace orba::mailer;

namespace {

const QString kSettingsFile = QStringLiteral("orbaw.ini");
const QString kLogFile = QStringLiteral("log.tmp");
// ORBA looks for this phrase in the log to tell a sent mail.
const QString kSuccess = QStringLiteral("TRANSACTION SUCCESSFULLY COMPLETED");

QStringList readBody(const QString& bodyFile) {
    if (!textfile::exists(bodyFile))
        throw OrbaError(QStringLiteral("Die Maildatei %1 fehlt.").arg(bodyFile));
    return textfile::splitLines(textfile::readBytes(bodyFile));
}

// Sends the mail; the log gets the transcript when asked for. Throws OrbaError on failure.
void sendMail(int argc, char** argv, QStringList& log) {
    const MailOrder order = parseCommandLine(argc, argv);
    const SmtpServer server = smtpServerFromSettings(kSettingsFile);
    const QByteArray message =
        composeMessage(order, readBody(order.bodyFile), QDateTime::currentDateTime());
    const TransferResult result =
        transferMail(server, order, message, order.transcript ? &log : nullptr);
    if (result.code != CURLE_OK)
        throw OrbaError(failureText(result, server));
}

} // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    QStringList log;
    bool sent = false;
    try {
        sendMail(argc, argv, log);
        log.append(kSuccess);
        sent = true;
    } catch (const OrbaError& error) {
        log.append(QStringLiteral("Fehler: ") + error.message());
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
