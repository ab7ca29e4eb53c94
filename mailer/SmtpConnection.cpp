#include "SmtpConnection.h"

#include "core/OrbaError.h"
#include "PemCertificates.h"
#include "settings/SystemSettings.h"

#include <QFile>

namespace orba::mailer {
namespace {

const QString kAskSettings = QStringLiteral(" Bitte in den Einstellungen unter E-Mail ");

MailSecurity securityOf(const MailAccount& account) {
    const std::optional<MailSecurity> security = parseSecurity(account.security);
    if (!security)
        throw OrbaError(
            QStringLiteral("Die Verbindungssicherheit \"%1\" ist ungültig.").arg(account.security) +
            kAskSettings + QStringLiteral("keine, STARTTLS oder SSL/TLS wählen."));
    if (*security == MailSecurity::None && !account.user.isEmpty())
        throw OrbaError(QStringLiteral("Die Anmeldung als \"%1\" unterbleibt, weil das Passwort "
                                       "ohne Verschlüsselung lesbar übertragen würde.")
                            .arg(account.user) +
                        kAskSettings +
                        QStringLiteral("als Verbindungssicherheit STARTTLS oder SSL/TLS wählen."));
    return *security;
}

QByteArray certificatesIn(const QString& caFile) {
    QFile file(caFile);
    if (!file.open(QIODevice::ReadOnly))
        throw OrbaError(QStringLiteral("Die Zertifikatsdatei %1 (orbaw.ini, Eintrag \"%2\") kann "
                                       "nicht gelesen werden.")
                            .arg(caFile, mailkeys::caFile));
    const QByteArray certificates = file.readAll();
    if (!holdsUsableCertificates(certificates))
        throw OrbaError(QStringLiteral("Die Zertifikatsdatei %1 (orbaw.ini, Eintrag \"%2\") "
                                       "enthält kein brauchbares Zertifikat im PEM-Format. Bitte "
                                       "dort eine Datei nennen, die das Zertifikat als Text "
                                       "zwischen \"-----BEGIN CERTIFICATE-----\" und \"-----END "
                                       "CERTIFICATE-----\" enthält.")
                            .arg(caFile, mailkeys::caFile));
    return certificates;
}

} // namespace

QByteArray SmtpConnection::url() const {
    return (security == MailSecurity::Tls ? "smtps://" : "smtp://") + server.displayName().toUtf8();
}

SmtpConnection connectionFromSettings(const QString& settingsPath) {
    const MailAccount account = readMailAccount(openSettings(settingsPath));
    SmtpConnection connection;
    connection.server = parseSmtpServer(account.host);
    connection.security = securityOf(account);
    if (connection.server.port == 0)
        connection.server.port = defaultPort(connection.security);
    connection.user = account.user;
    if (!account.caFile.isEmpty())
        connection.extraCertificates = certificatesIn(account.caFile);
    return connection;
}

QByteArray readPassword(QIODevice& input, const QString& user) {
    QByteArray line = input.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        throw OrbaError(QStringLiteral("Für die Anmeldung als \"%1\" fehlt das Passwort. Bitte "
                                       "die Mail aus ORBA senden, das nach dem Passwort fragt.")
                            .arg(user));
    return line;
}

} // namespace orba::mailer
