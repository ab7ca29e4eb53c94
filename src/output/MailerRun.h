#pragma once

#include <chrono>
#include <QByteArray>
#include <QStringList>

namespace orba {

// How a run of the mailer "send.exe" ended.
enum class MailerOutcome {
    NotStarted,    // the program could not be started (or an old log could not be removed)
    NoLog,         // it ended, or the wait ran out, without a non-empty "log.tmp"
    Failed,        // its log lacks the success phrase
    SignInRefused, // as Failed, and the log ends with the server's refusal of the password
    Sent,          // some line of its log holds "TRANSACTION SUCCESSFULLY COMPLETED"
};

// Starts "send.exe" (the working directory's, else the installed one) in the working directory
// with these arguments (no shell in between) after removing the last "log.tmp", hands it `input`
// on its standard input, and waits for the mailer's log. The wait keeps the windows painted under
// a busy cursor but takes no user input; a mailer still running when `waitLimit` has passed is
// stopped, so that it cannot send after the user was told that it failed.
MailerOutcome runMailer(const QStringList& arguments,
                        std::chrono::milliseconds waitLimit = std::chrono::seconds(60),
                        const QByteArray& input = QByteArray());

} // namespace orba
