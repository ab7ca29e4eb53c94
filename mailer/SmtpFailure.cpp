#include "SmtpFailure.h"

#include "output/MailerLog.h"

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

const QString kCheckSecurity = QStringLiteral(
    " Bitte Port und Verbindungssicherheit in den Einstellungen unter E-Mail prüfen: STARTTLS "
    "gehört meist zu Port 587, SSL/TLS zu Port 465.");

// The numbers are OpenSSL's reasons for refusing a certificate chain.
QString certificateReason(long error) {
    switch (error) {
    case 9:
        return QStringLiteral("noch nicht gültig");
    case 10:
        return QStringLiteral("abgelaufen");
    case 18:
    case 19:
        return QStringLiteral("selbst ausgestellt");
    case 2:
    case 20:
    case 21:
        return QStringLiteral("ausgestellt von einer unbekannten Zertifizierungsstelle");
    default:
        return QStringLiteral("Prüfung fehlgeschlagen, Grund %1").arg(error);
    }
}

QString untrustedCertificate(const TransferResult& result, const SmtpConnection& connection) {
    const QString name = connection.server.displayName();
    // libcurl keeps 1 until the name is checked; OpenSSL's reasons against a chain start at 2.
    if (result.certificateError <= 1)
        return QStringLiteral("Das Zertifikat des SMTP-Servers %1 ist nicht für den Namen %2 "
                              "ausgestellt; die Mail wurde nicht gesendet. Bitte den SMTP-Server "
                              "in den Einstellungen unter E-Mail so eintragen, wie ihn der "
                              "Anbieter nennt.")
            .arg(name, connection.server.host);
    return QStringLiteral("Das Zertifikat des SMTP-Servers %1 ist nicht vertrauenswürdig (%2); "
                          "die Mail wurde nicht gesendet. Hat Ihre Einrichtung eine eigene "
                          "Zertifizierungsstelle, deren Zertifikat in orbaw.ini unter \"%3\" "
                          "eintragen.")
        .arg(name, certificateReason(result.certificateError), mailkeys::caFile);
}

QString signInRefusal(const QString& reply, bool temporary, const SmtpConnection& connection) {
    if (temporary)
        return QStringLiteral("Die Anmeldung am SMTP-Server %1 ist zur Zeit nicht möglich: %2. "
                              "Bitte später erneut versuchen.")
            .arg(connection.server.displayName(), reply);
    return mailerlog::signInRefused +
           QStringLiteral(": Der SMTP-Server %1 hat Benutzername \"%2\" oder Passwort nicht "
                          "angenommen (%3). Bitte den Benutzernamen in den Einstellungen unter "
                          "E-Mail und das Passwort prüfen.")
               .arg(connection.server.displayName(), connection.user, reply);
}

// 530 answers a mail before the sign-in or before the encryption that the server insists on.
QString requirement(const QString& reply, const SmtpConnection& connection) {
    const QString name = connection.server.displayName();
    if (reply.contains(QStringLiteral("STARTTLS"), Qt::CaseInsensitive))
        return QStringLiteral("Der SMTP-Server %1 verlangt eine verschlüsselte Verbindung: %2. "
                              "Bitte in den Einstellungen unter E-Mail als Verbindungssicherheit "
                              "STARTTLS wählen.")
            .arg(name, reply);
    if (connection.signsIn())
        return QStringLiteral("Der SMTP-Server %1 verlangt eine Anmeldung, hat aber keine "
                              "angeboten: %2.")
                   .arg(name, reply) +
               kCheckSecurity;
    return QStringLiteral("Der SMTP-Server %1 verlangt eine Anmeldung: %2. Bitte in den "
                          "Einstellungen unter E-Mail den Benutzernamen und die "
                          "Verbindungssicherheit eintragen.")
        .arg(name, reply);
}

// The server said no: the reply tells why, the command it answered tells to what.
QString refusal(const SmtpExchange& exchange, const SmtpConnection& connection) {
    const SmtpServer& server = connection.server;
    QString reply = QString::fromUtf8(exchange.reply);
    if (reply.size() > 3 && reply[3] == QLatin1Char('-'))
        reply[3] = QLatin1Char(' '); // last line of a multi-line reply
    const bool temporary = exchange.replyCode() < 500;
    const QString later = QStringLiteral(" Bitte später erneut versuchen.");
    const QByteArray verb = exchange.command.left(4).toUpper();
    if (verb == "AUTH")
        return signInRefusal(reply, temporary, connection);
    if (exchange.replyCode() == 530)
        return requirement(reply, connection);
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

QString failureText(const TransferResult& result, const SmtpConnection& connection) {
    if (result.exchange.replyCode() >= 400)
        return refusal(result.exchange, connection);
    const QString name = connection.server.displayName();
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
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Der SMTP-Server %1 bietet keine Verschlüsselung mit STARTTLS an; "
                              "die Mail wurde nicht gesendet.")
                   .arg(name) +
               kCheckSecurity;
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("Mit dem SMTP-Server %1 kam keine verschlüsselte Verbindung "
                              "zustande (%2); die Mail wurde nicht gesendet.")
                   .arg(name, result.curlMessage) +
               kCheckSecurity;
    case CURLE_PEER_FAILED_VERIFICATION:
        return untrustedCertificate(result, connection);
    case CURLE_SSL_CACERT_BADFILE:
        return QStringLiteral("Die Zertifikatsdatei in orbaw.ini unter \"%1\" enthält kein "
                              "lesbares Zertifikat (%2).")
            .arg(mailkeys::caFile, result.curlMessage);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Der SMTP-Server %1 bietet keine Anmeldung mit Passwort (PLAIN oder "
                              "LOGIN) an; die Mail wurde nicht gesendet.")
                   .arg(name) +
               kCheckSecurity;
    default:
        return QStringLiteral("Die Mail konnte nicht an den SMTP-Server %1 gesendet werden (%2).")
            .arg(name, result.curlMessage);
    }
}

} // namespace orba::mailer
