#include "SmtpFailure.h"

#include <cerrno>

namespace orba::mailer {
namespace {

QString connectionReason(long osErrno) {
    switch (osErrno) {
    case ECONNREFUSED:
        return QStringLiteral("Verbindung abgelehnt");
    case ETIMEDOUT:
        return QStringLiteral("keine Antwort");
    case ENETUNREACH:
    case EHOSTUNREACH:
        return QStringLiteral("Netz nicht erreichbar");
    default:
        return QStringLiteral("keine Verbindung");
    }
}

// The address of "RCPT TO:<address>" or "MAIL FROM:<address> SIZE=…".
QString addressOf(const QByteArray& command) {
    const qsizetype open = command.indexOf('<');
    const qsizetype close = command.indexOf('>', open);
    if (open < 0 || close < 0)
        return QString::fromUtf8(command);
    return QString::fromUtf8(command.mid(open + 1, close - open - 1));
}

// The server said no: the reply tells why, the command it answered tells to what.
QString refusal(const SmtpExchange& exchange, const SmtpServer& server) {
    QString reply = QString::fromUtf8(exchange.reply);
    if (reply.size() > 3 && reply[3] == QLatin1Char('-'))
        reply[3] = QLatin1Char(' '); // last line of a multi-line reply
    const bool temporary = exchange.replyCode() < 500;
    const QString later = QStringLiteral(" Bitte später erneut versuchen.");
    if (exchange.replyCode() == 530)
        return QStringLiteral("Der SMTP-Server %1 verlangt eine Anmeldung: %2. Bitte einen "
                              "SMTP-Server eintragen, der Mails ohne Anmeldung annimmt.")
            .arg(server.displayName(), reply);
    const QByteArray verb = exchange.command.left(4).toUpper();
    if (verb == "MAIL")
        return QStringLiteral("Der Server hat den Absender %1 abgelehnt: %2.")
                   .arg(addressOf(exchange.command), reply) +
               (temporary ? later
                          : QStringLiteral(" Bitte die eigene E-Mail-Adresse in den Einstellungen "
                                           "unter E-Mail prüfen."));
    if (verb == "RCPT")
        return QStringLiteral("Der Server hat den Empfänger %1 abgelehnt: %2.")
                   .arg(addressOf(exchange.command), reply) +
               (temporary ? later : QStringLiteral(" Bitte die Empfängeradresse prüfen."));
    if (verb == "DATA")
        return QStringLiteral("Der Server hat die Mail abgelehnt: %1.").arg(reply) +
               (temporary ? later : QString());
    if (exchange.command.isEmpty() || verb == "EHLO" || verb == "HELO")
        return QStringLiteral("Der SMTP-Server %1 lehnt die Verbindung ab: %2.")
                   .arg(server.displayName(), reply) +
               (temporary ? later
                          : QStringLiteral(" Bitte den SMTP-Server in den Einstellungen prüfen."));
    return QStringLiteral("Der SMTP-Server %1 meldet einen Fehler: %2.")
        .arg(server.displayName(), reply);
}

} // namespace

QString failureText(const TransferResult& result, const SmtpServer& server) {
    if (result.exchange.replyCode() >= 400)
        return refusal(result.exchange, server);
    const QString name = server.displayName();
    const QString notSmtp = QStringLiteral("Der Rechner %1 antwortet nicht wie ein SMTP-Server. "
                                           "Bitte Server und Port in den Einstellungen unter "
                                           "E-Mail prüfen.")
                                .arg(name);
    // Something answered, but not with the three digits every SMTP reply starts with.
    if (!result.exchange.reply.isEmpty() && result.exchange.replyCode() < 100)
        return notSmtp;
    switch (result.code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Der SMTP-Server %1 ist unbekannt (Name nicht auflösbar). Bitte den "
                              "SMTP-Server in den Einstellungen prüfen.")
            .arg(name);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Der SMTP-Server %1 ist nicht erreichbar (%2). Bitte den "
                              "SMTP-Server in den Einstellungen prüfen.")
            .arg(name, connectionReason(result.osErrno));
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Der SMTP-Server %1 antwortet nicht (Zeitüberschreitung). Bitte den "
                              "SMTP-Server in den Einstellungen prüfen oder später erneut "
                              "versuchen.")
            .arg(name);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        return QStringLiteral("Die Verbindung zum SMTP-Server %1 ist abgebrochen. Bitte später "
                              "erneut versuchen.")
            .arg(name);
    case CURLE_WEIRD_SERVER_REPLY:
        return notSmtp;
    default:
        return QStringLiteral("Die Mail konnte nicht an den SMTP-Server %1 gesendet werden (%2).")
            .arg(name, result.curlMessage);
    }
}

} // namespace orba::mailer
