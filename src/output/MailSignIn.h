#pragma once

#include "output/MailerRun.h"
#include "settings/MailAccount.h"

#include <functional>
#include <optional>
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

namespace orba {

class PasswordStore;

// The password for signing in to the mail server. It is asked for when a mail is sent, kept in
// memory until the program ends and, when the user wants, in the desktop's password store; it
// never reaches a file, a command line or the environment. Whether to sign in, and as whom, is
// read from the settings file as the mailer reads it.
class MailSignIn {
public:
    struct Answer {
        QString password;
        bool save = false; // keep it in the password store
    };
    // Asks for the password of `account`; nothing when the user cancels. Saving is offered only
    // when `canSave`; `save` is the choice to show first.
    using Ask =
        std::function<std::optional<Answer>(const MailAccount& account, bool canSave, bool save)>;

    // `settingsPath` names the settings file the mailer reads. `store` may be null: then the
    // password is only ever kept in memory.
    MailSignIn(QString settingsPath, PasswordStore* store, Ask ask);

    // What the mailer is to read on its standard input for the send about to start: the password
    // and a line end, or nothing at all when the settings name no sign-in. No value when the
    // user cancelled: then nothing is sent.
    std::optional<QByteArray> mailerInput();
    // Learns from that send: a refused password is forgotten, and one that worked is stored
    // as the user chose.
    void settle(MailerOutcome outcome);

private:
    std::optional<QString> password(const MailAccount& account, const QString& key);

    QString m_settingsPath;
    PasswordStore* m_store;
    Ask m_ask;
    QHash<QString, QString> m_known;  // by account, for this run
    QSet<QString> m_saved;            // accounts whose password the user keeps in the store
    std::optional<QString> m_pending; // the account of the send under way
    std::optional<bool> m_saveChoice; // what the user chose when asked for it
};

} // namespace orba
