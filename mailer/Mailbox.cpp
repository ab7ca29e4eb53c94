#include "Mailbox.h"

#include "core/OrbaError.h"

#include <algorithm>
#include <optional>
#include <QUrl>

namespace orba::mailer {
namespace {

const QString kSpecials = QStringLiteral("<>()[]\\,;:\"");

[[noreturn]] void refuse(const QString& text) {
    throw OrbaError(QStringLiteral("Die E-Mail-Adresse \"%1\" ist ungültig. Bitte die Adresse im "
                                   "Format Name@Host angeben.")
                        .arg(text.simplified()));
}

bool usableAddress(const QString& address) {
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    if (at <= 0 || at == address.size() - 1)
        return false;
    for (QChar c : address) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c.isSpace() || kSpecials.contains(c))
            return false;
    }
    return true;
}

// A quoted name loses its quotation marks and the backslashes that escape within them.
std::optional<QString> displayName(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return std::nullopt;
    }
    if (!text.startsWith(QLatin1Char('"')))
        return text;
    if (text.size() < 2 || !text.endsWith(QLatin1Char('"')))
        return std::nullopt;
    QString name;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 2 < text.size())
            ++i;
        name += text[i];
    }
    return name;
}

// A host beyond ASCII in its ASCII form (IDNA), for the envelope and for a header that stays
// 7-bit; empty when it has none.
QString asciiHost(const QString& address) {
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    const QString host = address.mid(at + 1);
    const bool ascii =
        std::all_of(host.begin(), host.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return address;
    const QByteArray ace = QUrl::toAce(host);
    return ace.isEmpty() ? QString() : address.left(at + 1) + QString::fromLatin1(ace);
}

} // namespace

Mailbox parseMailbox(const QString& text) {
    const QString trimmed = text.trimmed();
    Mailbox mailbox{QString(), trimmed};
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('<'));
    if (open >= 0 && trimmed.endsWith(QLatin1Char('>'))) {
        const std::optional<QString> name = displayName(trimmed.left(open).trimmed());
        if (!name)
            refuse(trimmed);
        mailbox = {*name, trimmed.mid(open + 1, trimmed.size() - open - 2).trimmed()};
    }
    if (!usableAddress(mailbox.address))
        refuse(trimmed);
    mailbox.address = asciiHost(mailbox.address);
    if (mailbox.address.isEmpty())
        refuse(trimmed);
    return mailbox;
}

} // namespace orba::mailer
