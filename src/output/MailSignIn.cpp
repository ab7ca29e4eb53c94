#include "output/MailSignIn.h"

#include "platform/PasswordStore.h"
#include "settings/SystemSettings.h"

namespace orba {
namespace {

// Also the name under which the desktop's password store shows the entry.
QString accountKey(const MailAccount& account) {
    return QStringLiteral("SMTP %1 @ %2").arg(account.user, account.host.trimmed());
}

} // namespace

MailSignIn::MailSignIn(QString settingsPath, PasswordStore* store, Ask ask)
    : m_settingsPath(std::move(settingsPath)), m_store(store), m_ask(std::move(ask)) {}

std::optional<QByteArray> MailSignIn::mailerInput() {
    m_pending.reset();
    m_saveChoice.reset();
    // The file as it is now, which is what the mailer will read.
    const MailAccount account = readMailAccount(openSettings(m_settingsPath));
    if (!account.signsIn())
        return QByteArray();
    const QString key = accountKey(account);
    const std::optional<QString> known = password(account, key);
    if (!known)
        return std::nullopt;
    m_known.insert(key, *known);
    m_pending = key;
    return known->toUtf8() + '\n';
}

std::optional<QString> MailSignIn::password(const MailAccount& account, const QString& key) {
    if (m_known.contains(key))
        return m_known.value(key);
    const PasswordStore::Lookup stored = m_store ? m_store->read(key) : PasswordStore::Lookup{};
    if (stored.status == PasswordStore::Status::Found) {
        m_saved.insert(key);
        return stored.password;
    }
    const std::optional<Answer> answer =
        m_ask(account, stored.status == PasswordStore::Status::Missing, m_saved.contains(key));
    if (!answer)
        return std::nullopt;
    m_saveChoice = answer->save;
    return answer->password;
}

void MailSignIn::settle(MailerOutcome outcome) {
    if (!m_pending)
        return;
    const QString key = *std::exchange(m_pending, std::nullopt);
    if (outcome == MailerOutcome::SignInRefused) {
        m_known.remove(key);
        // Still wanted in the store, so the next question offers to save again.
        if (m_saved.contains(key))
            m_store->remove(key);
        return;
    }
    if (outcome != MailerOutcome::Sent || !m_saveChoice)
        return;
    if (*m_saveChoice && m_store && m_store->write(key, m_known.value(key)))
        m_saved.insert(key);
    else if (!*m_saveChoice && m_saved.remove(key))
        m_store->remove(key);
}

} // namespace orba
