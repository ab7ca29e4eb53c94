#include "MailOrder.h"

#include "core/OrbaError.h"

#include <QRegularExpression>

namespace orba::mailer {
namespace {

bool isOption(const QByteArray& arg) {
    return arg == "-d" || arg.startsWith("-s") || arg.startsWith("-f");
}

// The value of -s or -f starting at args[i]. A caller that handed over the whole command line
// as one string split a quoted value at its blanks: the pieces are joined up to the closing
// quotation mark. One pair of surrounding quotation marks is removed.
QString optionValue(const QByteArrayList& args, qsizetype& i) {
    QByteArray value = args[i].mid(2);
    const bool unclosed = value.startsWith('"') && (value.size() == 1 || !value.endsWith('"'));
    while (unclosed && i + 1 < args.size() && !isOption(args[i + 1])) {
        value += ' ' + args[++i];
        if (value.endsWith('"'))
            break;
    }
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
}

// An address goes into the envelope and the header as it is; a line break in it would let it
// write header lines of its own.
QString checkedAddress(QString address) {
    address = address.trimmed();
    if (address.startsWith(QLatin1Char('<')) && address.endsWith(QLatin1Char('>')))
        address = address.mid(1, address.size() - 2).trimmed();
    for (QChar c : address) {
        if (c.unicode() < 0x20 || c == QLatin1Char('<') || c == QLatin1Char('>'))
            throw OrbaError(QStringLiteral("Die E-Mail-Adresse \"%1\" ist ungültig. Bitte die "
                                           "Adresse im Format Name@Host angeben.")
                                .arg(address.simplified()));
    }
    return address;
}

// One recipient argument may hold several addresses separated by commas or semicolons.
void appendRecipients(QStringList& recipients, const QString& argument) {
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    for (const QString& part : argument.split(separators, Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            recipients.append(checkedAddress(part));
    }
}

} // namespace

// Arguments come in the locale's encoding, UTF-8 on every system the mailer runs on.
MailOrder parseCommandLine(int argc, const char* const* argv) {
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));

    MailOrder order;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& arg = args[i];
        if (arg == "-d")
            order.transcript = true;
        else if (arg.startsWith("-s"))
            order.subject = optionValue(args, i);
        else if (arg.startsWith("-f"))
            order.sender = checkedAddress(optionValue(args, i));
        else if (arg.startsWith('-'))
            throw OrbaError(QStringLiteral("Unbekannte Option \"%1\" beim Aufruf von send.exe.")
                                .arg(QString::fromUtf8(arg)));
        else
            positional.append(QString::fromUtf8(arg));
    }
    if (positional.isEmpty())
        throw OrbaError(QStringLiteral("Ungültiger Aufruf von send.exe, erwartet: send.exe -d "
                                       "-s\"Betreff\" -f\"Absender\" Empfänger Maildatei."));
    order.bodyFile = positional.takeLast();
    for (const QString& argument : positional)
        appendRecipients(order.recipients, argument);
    if (order.sender.isEmpty())
        throw OrbaError(QStringLiteral("Keine eigene E-Mail-Adresse angegeben. Bitte in den "
                                       "Einstellungen unter E-Mail die eigene Adresse eintragen."));
    if (order.recipients.isEmpty())
        throw OrbaError(QStringLiteral("Kein Empfänger angegeben. Bitte die Adresse des "
                                       "Empfängers eintragen."));
    return order;
}

} // namespace orba::mailer
