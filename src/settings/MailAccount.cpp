#include "settings/MailAccount.h"

#include "settings/SettingsFile.h"

namespace orba {

QString securityText(MailSecurity security) {
    switch (security) {
    case MailSecurity::StartTls:
        return QStringLiteral("STARTTLS");
    case MailSecurity::Tls:
        return QStringLiteral("SSL/TLS");
    case MailSecurity::None:
        break;
    }
    return QStringLiteral("keine");
}

std::optional<MailSecurity> parseSecurity(const QString& text) {
    const QString value = text.trimmed().toLower();
    if (value.isEmpty() || value == u"keine" || value == u"none")
        return MailSecurity::None;
    if (value == u"starttls")
        return MailSecurity::StartTls;
    if (value == u"ssl/tls" || value == u"ssl" || value == u"tls" || value == u"smtps")
        return MailSecurity::Tls;
    return std::nullopt;
}

int defaultPort(MailSecurity security) {
    switch (security) {
    case MailSecurity::StartTls:
        return 587;
    case MailSecurity::Tls:
        return 465;
    case MailSecurity::None:
        break;
    }
    return 25;
}

bool MailAccount::signsIn() const {
    const std::optional<MailSecurity> chosen = parseSecurity(security);
    return !user.isEmpty() && chosen && *chosen != MailSecurity::None;
}

MailAccount readMailAccount(const SettingsFile& settings) {
    const auto read = [&](const QString& key) {
        return settings.readString(mailkeys::section, key, QString());
    };
    return {read(mailkeys::host), read(mailkeys::security), read(mailkeys::user).trimmed(),
            read(mailkeys::caFile).trimmed()};
}

} // namespace orba
