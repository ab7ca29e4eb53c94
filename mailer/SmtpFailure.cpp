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

// What OpenSSL's (English) reasons for a failed handshake or certificate mean for the user.
struct TlsReason {
    const char* english;
    const char* german;
};
const TlsReason kTlsReasons[] = {
    {"wrong version number", "der Server antwortet an diesem Port unverschlüsselt"},
    {"packet length too long", "der Server antwortet an diesem Port unverschlüsselt"},
    {"unknown protocol", "der Server antwortet an diesem Port unverschlüsselt"},
    {"unsupported protocol", "der Server beherrscht nur veraltete Verschlüsselung"},
    {"alert protocol version", "der Server beherrscht nur veraltete Verschlüsselung"},
    {"unsafe legacy renegotiation", "der Server beherrscht nur veraltete Verschlüsselung"},
    {"handshake failure", "Server und ORBA haben kein Verschlüsselungsverfahren gemeinsam"},
    {"key too small", "der Schlüssel des Servers ist zu schwach"},
    {"unexpected eof", "der Server hat die Verbindung beendet"},
    {"connection reset", "der Server hat die Verbindung beendet"},
    {"certificate has expired", "das Zertifikat ist abgelaufen"},
    {"certificate is not yet valid", "das Zertifikat ist noch nicht gültig"},
    {"self-signed certificate", "das Zertifikat ist selbst ausgestellt"},
    {"self signed certificate", "das Zertifikat ist selbst ausgestellt"},
    {"unable to get local issuer certificate",
     "das Zertifikat ist von einer unbekannten Zertifizierungsstelle ausgestellt"},
    {"certificate revoked", "das Zertifikat wurde widerrufen"},
    {"too weak", "das Zertifikat ist zu schwach gesichert"},
};

// The German cause for the common reasons; libcurl's own text for the others, which an
// administrator can look up.
QString tlsCause(const QString& curlMessage) {
    for (const TlsReason& reason : kTlsReasons) {
        if (curlMessage.contains(QLatin1String(reason.english), Qt::CaseInsensitive))
            return QString::fromUtf8(reason.german);
    }
    return curlMessage;
}

const QString kCheckSecurity = QStringLiteral(
    " Bitte Port und Verbindungssicherheit in den Einstellungen unter E-Mail prüfen: STARTTLS "
    "gehört meist zu Port 587, SSL/TLS zu Port 465.");

// OpenSSL's reasons for refusing a certificate chain.
constexpr long kNotYetValid = 9;
constexpr long kExpired = 10;

QString certificateReason(const TransferResult& result) {
    switch (result.certificateError) {
    case 18:
    case 19:
        return QStringLiteral("selbst ausgestellt");
    case 2:
    case 20:
    case 21:
        return QStringLiteral("ausgestellt von einer unbekannten Zertifizierungsstelle");
    default:
        return tlsCause(result.curlMessage);
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
    // A certificate out of its time is no question of trust: the clock or the server is wrong.
    const QString notSent = QStringLiteral("; die Mail wurde nicht gesendet. ");
    if (result.certificateError == kNotYetValid)
        return QStringLiteral("Das Zertifikat des SMTP-Servers %1 ist noch nicht gültig")
                   .arg(name) +
               notSent + QStringLiteral("Bitte Datum und Uhrzeit dieses Rechners prüfen.");
    if (result.certificateError == kExpired)
        return QStringLiteral("Das Zertifikat des SMTP-Servers %1 ist abgelaufen").arg(name) +
               notSent +
               QStringLiteral("Bitte zuerst Datum und Uhrzeit dieses Rechners prüfen; stimmen "
                              "sie, dem E-Mail-Anbieter Bescheid geben, damit er das Zertifikat "
                              "erneuert.");
    return QStringLiteral("Das Zertifikat des SMTP-Servers %1 ist nicht vertrauenswürdig (%2)")
               .arg(name, certificateReason(result)) +
           notSent +
           QStringLiteral("Hat Ihre Einrichtung eine eigene Zertifizierungsstelle, dann bitte "
                          "deren Zertifikat in orbaw.ini unter \"%1\" eintragen.")
               .arg(mailkeys::caFile);
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

// Postfix judges the sender only when the first recipient comes, so its refusal of the sender
// answers RCPT and names it: "553 5.7.1 <lehrer@…>: Sender address rejected: not owned by user
// …". Other servers speak of the sender without naming it: "550 Sender verify failed".
bool refusesSender(const QString& reply, const QString& sender, const QString& recipient) {
    const auto names = [&reply](const QString& address) {
        return reply.contains(QLatin1Char('<') + address + QLatin1Char('>'), Qt::CaseInsensitive);
    };
    return names(sender) ||
           (reply.contains(QStringLiteral("sender"), Qt::CaseInsensitive) && !names(recipient));
}

const QString kLater = QStringLiteral(" Bitte später erneut versuchen.");

QString senderRefusal(const QString& sender, const QString& reply, bool temporary,
                      const SmtpConnection& connection) {
    const QString refused =
        QStringLiteral("Der Server hat den Absender %1 abgelehnt: %2.").arg(sender, reply);
    if (temporary)
        return refused + kLater;
    const QString check = QStringLiteral(" Bitte in den Einstellungen unter E-Mail die \"Eigene "
                                         "E-Mail-Adresse\" prüfen");
    if (!connection.signsIn())
        return refused + check + QLatin1Char('.');
    return refused + check +
           QStringLiteral(": Als Absender nimmt der Server meist nur die Adresse des Kontos "
                          "\"%1\" an.")
               .arg(connection.user);
}

// The server said no: the reply tells why, the command it answered tells to what.
QString refusal(const SmtpExchange& exchange, const SmtpConnection& connection,
                const QString& sender) {
    const SmtpServer& server = connection.server;
    QString reply = QString::fromUtf8(exchange.reply);
    if (reply.size() > 3 && reply[3] == QLatin1Char('-'))
        reply[3] = QLatin1Char(' '); // last line of a multi-line reply
    const bool temporary = exchange.replyCode() < 500;
    const QByteArray verb = exchange.command.left(4).toUpper();
    const QString address = addressOf(exchange.command);
    if (verb == "AUTH")
        return signInRefusal(reply, temporary, connection);
    if (exchange.replyCode() == 530)
        return requirement(reply, connection);
    if (verb == "MAIL" || (verb == "RCPT" && refusesSender(reply, sender, address)))
        return senderRefusal(sender, reply, temporary, connection);
    if (verb == "RCPT")
        return QStringLiteral("Der Server hat den Empfänger %1 abgelehnt: %2.")
                   .arg(address, reply) +
               (temporary ? kLater : QStringLiteral(" Bitte die Empfängeradresse prüfen."));
    if (verb == "DATA")
        return QStringLiteral("Der Server hat die Mail abgelehnt: %1.").arg(reply) +
               (temporary ? kLater : QString());
    if (exchange.command.isEmpty() || verb == "EHLO" || verb == "HELO")
        return QStringLiteral("Der SMTP-Server %1 lehnt die Verbindung ab: %2.")
                   .arg(server.displayName(), reply) +
               (temporary ? kLater
                          : QStringLiteral(" Bitte den SMTP-Server in den Einstellungen prüfen."));
    return QStringLiteral("Der SMTP-Server %1 meldet einen Fehler: %2.")
        .arg(server.displayName(), reply);
}

// A server that encrypts from the first byte takes a plain connection and waits in silence for
// the client to start TLS. Plain servers on the mail port may hold their greeting back on purpose.
bool awaitsTls(const TransferResult& result, const SmtpConnection& connection) {
    return result.connected && result.exchange.reply.isEmpty() &&
           connection.security != MailSecurity::Tls &&
           connection.server.port != defaultPort(MailSecurity::None);
}

} // namespace

QString failureText(const TransferResult& result, const SmtpConnection& connection,
                    const QString& sender) {
    if (result.exchange.replyCode() >= 400)
        return refusal(result.exchange, connection, sender);
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
        if (awaitsTls(result, connection))
            return QStringLiteral("Der SMTP-Server %1 nimmt die Verbindung an, antwortet aber "
                                  "nicht; an diesem Port erwartet er wohl eine von Anfang an "
                                  "verschlüsselte Verbindung (SSL/TLS).")
                       .arg(name) +
                   kCheckSecurity;
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
                   .arg(name, tlsCause(result.curlMessage)) +
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
            .arg(name, tlsCause(result.curlMessage));
    }
}

} // namespace orba::mailer
