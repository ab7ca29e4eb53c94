#include "MailMessage.h"

#include "MimeEncoding.h"

#include <QUuid>

namespace orba::mailer {
namespace {

// An empty value leaves no blank at the line end, where transport could strip it.
QByteArray field(const QByteArray& name, const QByteArray& value) {
    return value.isEmpty() ? name + ":\r\n" : name + ": " + value + "\r\n";
}

// The recipients, a new continuation line whenever the next one would make the line too long.
QByteArray addressList(const QByteArray& fieldName, const QStringList& addresses) {
    QByteArray out;
    qsizetype lineLength = fieldName.size() + 2;
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const QByteArray address = addresses[i].toUtf8();
        if (i > 0) {
            out += ',';
            ++lineLength;
            if (lineLength + 1 + address.size() > kMaxHeaderLine) {
                out += "\r\n";
                lineLength = 0;
            }
            out += ' ';
            ++lineLength;
        }
        out += address;
        lineLength += address.size();
    }
    return out;
}

QByteArray messageId(const QString& sender) {
    const QString domain = sender.section(QLatin1Char('@'), -1);
    const QString right = sender.contains(QLatin1Char('@')) && !domain.isEmpty()
                              ? domain
                              : QStringLiteral("localhost");
    return '<' + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' + right.toUtf8() + '>';
}

} // namespace

QByteArray composeMessage(const MailOrder& order, const QStringList& bodyLines,
                          const QDateTime& date) {
    QByteArray message;
    message += field("From", mailboxText("From", order.senderName, order.sender));
    message += field("To", addressList("To", order.recipients));
    message += field("Subject", headerText("Subject", order.subject));
    message += field("Date", date.toString(Qt::RFC2822Date).toLatin1());
    message += field("Message-ID", messageId(order.sender));
    message += field("MIME-Version", "1.0");
    message += field("Content-Type", "text/plain; charset=UTF-8");
    message += field("Content-Transfer-Encoding", "quoted-printable");
    message += "\r\n";
    message += quotedPrintableLines(bodyLines);
    return message;
}

} // namespace orba::mailer
