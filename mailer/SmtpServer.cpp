#include "SmtpServer.h"

#include "core/OrbaError.h"

#include <QUrl>

namespace orba::mailer {
namespace {

bool isIpv6(const QString& host) {
    return host.contains(QLatin1Char(':'));
}

// A name (beyond ASCII too, when it has an ASCII form) of letters, digits, "-", "." and "_", or
// an IPv4 or IPv6 address. Nothing that would end the host in a URL, break its line or leave
// libcurl to refuse it in English.
bool isHostName(const QString& host) {
    if (host.contains(QLatin1Char(':'))) {
        QUrl url;
        url.setHost(host, QUrl::StrictMode);
        return url.isValid() && url.host().contains(QLatin1Char(':'));
    }
    if (host.isEmpty())
        return false;
    bool ascii = true;
    for (const QChar c : host) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u'_';
        if (!plain && (c.unicode() < 0x80 || !c.isLetterOrNumber()))
            return false;
        ascii = ascii && plain;
    }
    return ascii || !QUrl::toAce(host).isEmpty();
}

OrbaError malformed(const QString& value) {
    return OrbaError(QStringLiteral("Der SMTP-Server \"%1\" ist ungültig. Bitte in den "
                                    "Einstellungen unter E-Mail den Server als Name oder "
                                    "Name:Port eintragen.")
                         .arg(value.simplified()));
}

// "host", "host:port", "[v6]:port"; a bare IPv6 address has colons of its own and no port.
SmtpServer parse(const QString& value) {
    SmtpServer server;
    QString portText;
    if (value.startsWith(QLatin1Char('['))) {
        const qsizetype close = value.indexOf(QLatin1Char(']'));
        if (close < 0)
            throw malformed(value);
        server.host = value.mid(1, close - 1);
        const QString rest = value.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            throw malformed(value);
        portText = rest.mid(1);
    } else if (value.count(QLatin1Char(':')) == 1) {
        server.host = value.section(QLatin1Char(':'), 0, 0).trimmed();
        portText = value.section(QLatin1Char(':'), 1).trimmed();
    } else {
        server.host = value;
    }
    if (!isHostName(server.host))
        throw malformed(value);
    if (!portText.isEmpty() || value.endsWith(QLatin1Char(':'))) {
        bool ok = false;
        server.port = portText.toInt(&ok);
        if (!ok || server.port < 1 || server.port > 65535)
            throw malformed(value);
    }
    return server;
}

} // namespace

QString SmtpServer::displayName() const {
    const QString shownHost = isIpv6(host) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shownHost + QLatin1Char(':') + QString::number(port);
}

SmtpServer parseSmtpServer(const QString& value) {
    if (value.isEmpty())
        throw OrbaError(QStringLiteral("Kein SMTP-Server eingetragen: Bitte den SMTP-Server in den "
                                       "Einstellungen unter E-Mail eintragen."));
    return parse(value);
}

} // namespace orba::mailer
