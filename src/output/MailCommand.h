#pragma once

#include <QString>
#include <QStringList>

namespace orba {

// The mailer's command line as one text, for the trace:
//   send.exe -d -s"subject" -f"sender" recipient mail.tmp
// Nothing is escaped; the text is never handed to a shell.
QString mailCommandLine(const QString& subject, const QString& sender, const QString& recipient);

// The same command as the argument list the mailer is started with. The subject and the sender
// stay one argument each whatever they hold; the recipient field is split at its blanks, as a
// command line would split it.
QStringList mailArguments(const QString& subject, const QString& sender, const QString& recipient);

} // namespace orba
