#include "MailOrder.h"

#include "core/OrbaError.h"
#include "Mailbox.h"

#include <QRegularExpression>

namespace orba::mailer {
namespace {

bool isOption(const QByteArray& arg) {
    return arg == "-d" || arg.startsWith("-s") || arg.startsWith("-f");
}

// The value of -s or -f starting at args[i]. A caller that handed over the whole command line
// as one string split a quoted value at its blanks: a value opening a quotation it does not close
// is joined with the following pieces up to the one that closes it; when none does, it stands
// alone. A value whose quotation marks pair up, such as a sender "Max Muster" <max@x.example>,
// is whole. One pair of surrounding quotation marks is removed.
QString optionValue(const QByteArrayList& args, qsizetype& i) {
    QByteArray value = args[i].mid(2);
    if (value.startsWith('"') && value.count('"') % 2 == 1) {
        QByteArray joined = value;
        for (qsizetype j = i + 1; j < args.size() && !isOption(args[j]); ++j) {
            joined += ' ' + args[j];
            if (joined.count('"') % 2 == 0) {
                value = joined;
                i = j;
                break;
            }
        }
    }
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
}

// One recipient argument may hold several addresses separated by commas or semicolons.
void appendRecipients(QStringList& recipients, const QString& argument) {
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    for (const QString& part : argument.split(separators, Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            recipients.append(parseMailbox(part).address);
    }
}

} // namespace

// Arguments come in the locale's encoding, UTF-8 on every system the mailer runs on. The options
// come first and end with the sender: from there on, or from the first argument that is none,
// every argument is a recipient or the body file, so that a recipient such as
// "-fabian@schule.example" is not taken for a second sender.
MailOrder parseCommandLine(int argc, const char* const* argv) {
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));

    MailOrder order;
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& arg = args[i];
        if (optionsEnded || !arg.startsWith('-')) {
            optionsEnded = true;
            positional.append(QString::fromUtf8(arg));
        } else if (arg == "-d") {
            order.transcript = true;
        } else if (arg.startsWith("-s")) {
            order.subject = optionValue(args, i);
        } else if (arg.startsWith("-f")) {
            order.sender = optionValue(args, i);
            optionsEnded = true;
        } else {
            throw OrbaError(QStringLiteral("Unbekannte Option \"%1\" beim Aufruf von send.exe.")
                                .arg(QString::fromUtf8(arg)));
        }
    }
    if (positional.isEmpty())
        throw OrbaError(QStringLiteral("Ungültiger Aufruf von send.exe, erwartet: send.exe -d "
                                       "-s\"Betreff\" -f\"Absender\" Empfänger Maildatei."));
    order.bodyFile = positional.takeLast();
    for (const QString& argument : positional)
        appendRecipients(order.recipients, argument);
    if (order.sender.trimmed().isEmpty())
        throw OrbaError(QStringLiteral("Keine eigene E-Mail-Adresse angegeben. Bitte in den "
                                       "Einstellungen unter E-Mail die eigene Adresse eintragen."));
    const Mailbox sender = parseMailbox(order.sender);
    order.sender = sender.address;
    order.senderName = sender.name;
    if (order.recipients.isEmpty())
        throw OrbaError(QStringLiteral("Kein Empfänger angegeben. Bitte die Adresse des "
                                       "Empfängers eintragen."));
    return order;
}

} // namespace orba::mailer
