// The mailer's pieces, chosen by the input's last byte: quoted-printable body lines, the subject
// header, the command line as any caller may give it, the command line as ORBA gives it, the
// "SMTP Host" setting, the whole message, the "SMTP CA-Datei" file and the server's refusal of a
// recipient. Each must decode to what went in, stay within the line lengths of mail and 7-bit, or
// be refused with a German message.
#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "Mailbox.h"
#include "MailMessage.h"
#include "MailOrder.h"
#include "MimeEncoding.h"
#include "output/MailCommand.h"
#include "SmtpConnection.h"
#include "SmtpFailure.h"

#include <curl/curl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <optional>
#include <QRegularExpression>
#include <vector>

using namespace orba;
using namespace orba::mailer;

namespace {

QString text(FuzzedDataProvider& provider) {
    return QString::fromStdString(provider.ConsumeRandomLengthString(200));
}

bool isSevenBit(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

QByteArray decodedQuotedPrintable(const QByteArray& encoded) {
    QByteArray decoded;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '=') {
            decoded += encoded[i];
        } else if (encoded.mid(i + 1, 2) == "\r\n") {
            i += 2;
        } else {
            decoded += char(QByteArray::fromHex(encoded.mid(i + 1, 2))[0]);
            i += 2;
        }
    }
    return decoded;
}

// The text of a header value as a mail reader shows it: encoded-words decoded, the folding
// between them dropped.
QByteArray decodedHeader(const QByteArray& value) {
    if (!value.startsWith("=?UTF-8?B?"))
        return value;
    QByteArray decoded;
    for (const QByteArray& word : value.split('\n')) {
        const QByteArray trimmed = word.trimmed();
        FUZZ_EXPECT(trimmed.startsWith("=?UTF-8?B?") && trimmed.endsWith("?="));
        decoded += QByteArray::fromBase64(trimmed.mid(10, trimmed.size() - 12));
    }
    return decoded;
}

// Lines ended by CR LF, no bare CR or LF, none longer than `longest`.
void checkLines(const QByteArray& bytes, qsizetype longest) {
    const QList<QByteArray> lines = bytes.split('\n');
    FUZZ_EXPECT(lines.last().isEmpty());
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        FUZZ_EXPECT(line.endsWith('\r') && line.count('\r') == 1, QString::fromUtf8(line));
        FUZZ_EXPECT(line.size() - 1 <= longest, QString::fromUtf8(line));
    }
}

void quotedPrintable(FuzzedDataProvider& provider) {
    const QStringList lines = text(provider).split(u'\n');
    const QByteArray encoded = quotedPrintableLines(lines);
    FUZZ_EXPECT(isSevenBit(encoded));
    checkLines(encoded, 76);
    QByteArray expected;
    for (const QString& line : lines)
        expected += line.toUtf8() + "\r\n";
    FUZZ_EXPECT(decodedQuotedPrintable(encoded) == expected);
}

void subject(FuzzedDataProvider& provider) {
    const QString subject = text(provider);
    const QByteArray value = headerText("Subject", subject);
    FUZZ_EXPECT(isSevenBit(value));
    checkLines("Subject: " + value + "\r\n", 78);
    FUZZ_EXPECT(decodedHeader(value) == subject.toUtf8(), subject);
}

// A usable order: a sender and recipients the mailer accepts, each as plain as an address is.
void checkOrder(const MailOrder& order) {
    FUZZ_EXPECT(!order.recipients.isEmpty() && !order.bodyFile.isNull());
    const QStringList addresses = order.recipients + QStringList{order.sender};
    for (const QString& address : addresses) {
        FUZZ_EXPECT(address.contains(u'@') && !address.contains(u' ') && !address.contains(u'<'));
        FUZZ_EXPECT(parseMailbox(address).address == address, address);
        const QString host = address.mid(address.lastIndexOf(u'@') + 1);
        FUZZ_EXPECT(isSevenBit(host.toUtf8()), address);
    }
}

std::optional<MailOrder> parsed(const QStringList& arguments) {
    std::vector<QByteArray> bytes{"send.exe"};
    for (const QString& argument : arguments)
        bytes.push_back(argument.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& argument : bytes)
        argv.push_back(argument.constData());
    try {
        return parseCommandLine(int(argv.size()), argv.data());
    } catch (const OrbaError& error) {
        FUZZ_EXPECT(!error.message().isEmpty());
        return std::nullopt;
    }
}

void anyCommandLine(FuzzedDataProvider& provider) {
    QStringList arguments;
    while (provider.remaining_bytes() > 0)
        arguments.append(text(provider));
    if (const auto order = parsed(arguments))
        checkOrder(*order);
}

// ORBA hands over subject and sender whole and the recipient field split at its blanks: the
// mailer takes exactly these, whatever they hold.
void orbaCommandLine(FuzzedDataProvider& provider) {
    const QString subject = text(provider);
    const QString sender = text(provider);
    const QString recipientField = text(provider);
    const auto order = parsed(mailArguments(subject, sender, recipientField));
    std::optional<Mailbox> from;
    QStringList recipients;
    try {
        from = parseMailbox(sender);
        for (const QString& part : recipientField.split(QRegularExpression("[ ,;]")))
            if (!part.trimmed().isEmpty())
                recipients.append(parseMailbox(part).address);
    } catch (const OrbaError&) {
        return;
    }
    if (recipients.isEmpty() || sender.startsWith(u'"'))
        return;
    FUZZ_EXPECT(order, sender + QStringLiteral(" / ") + recipientField);
    FUZZ_EXPECT(order->sender == from->address && order->recipients == recipients,
                order->sender + QStringLiteral(" / ") + order->recipients.join(u' '));
    checkOrder(*order);
}

void smtpHost(FuzzedDataProvider& provider) {
    const QString value = text(provider);
    fuzz::writeFile(QStringLiteral("orbaw.ini"), "[mail]\r\nSMTP Host=" + value.toUtf8() + "\r\n");
    SmtpConnection connection;
    try {
        connection = connectionFromSettings(QStringLiteral("orbaw.ini"));
    } catch (const OrbaError& error) {
        FUZZ_EXPECT(!error.message().isEmpty());
        return;
    }
    const SmtpServer& server = connection.server;
    FUZZ_EXPECT(!server.host.isEmpty() && server.port >= 1 && server.port <= 65535);
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), &curl_url_cleanup);
    FUZZ_EXPECT(curl_url_set(url.get(), CURLUPART_URL, connection.url().constData(), 0) ==
                    CURLUE_OK,
                QString::fromUtf8(connection.url()));
}

void message(FuzzedDataProvider& provider) {
    MailOrder order;
    order.subject = text(provider);
    order.senderName = text(provider);
    try {
        order.sender = parseMailbox(text(provider)).address;
        order.recipients = {parseMailbox(text(provider)).address};
    } catch (const OrbaError&) {
        order.sender = QStringLiteral("absender@schule.example");
        order.recipients = {QStringLiteral("leihverkehr@example.org")};
    }
    const QStringList body = text(provider).split(u'\n');
    const QByteArray mail = composeMessage(order, body, QDateTime(QDate(2027, 2, 1), QTime(9, 0)));
    const qsizetype headerEnd = mail.indexOf("\r\n\r\n");
    FUZZ_EXPECT(headerEnd > 0);
    const QByteArray header = mail.left(headerEnd + 2);
    const bool asciiAddresses = isSevenBit((order.sender + order.recipients.join(u' ')).toUtf8());
    FUZZ_EXPECT(isSevenBit(mail) || !asciiAddresses);
    checkLines(header, 998);
    checkLines(mail.mid(headerEnd + 4), 76);
    // Every header line starts a field of the message or continues one: nothing a value holds
    // can add a field of its own.
    QStringList fields;
    for (const QByteArray& line : header.split('\n')) {
        if (line.isEmpty() || line.startsWith(' ') || line.startsWith('\t'))
            continue;
        fields.append(QString::fromLatin1(line.left(line.indexOf(':'))));
    }
    FUZZ_EXPECT(fields ==
                    (QStringList{"From", "To", "Subject", "Date", "Message-ID", "MIME-Version",
                                 "Content-Type", "Content-Transfer-Encoding"}),
                fields.join(u' '));
}

// A file is taken whole or refused, never taken without a certificate in it.
void caFile(FuzzedDataProvider& provider) {
    const QByteArray file = QByteArray::fromStdString(provider.ConsumeRemainingBytesAsString());
    fuzz::writeFile(QStringLiteral("ca.pem"), file);
    fuzz::writeFile(QStringLiteral("orbaw.ini"),
                    "[mail]\r\nSMTP Host=localhost\r\nSMTP CA-Datei=ca.pem\r\n");
    try {
        const SmtpConnection connection = connectionFromSettings(QStringLiteral("orbaw.ini"));
        FUZZ_EXPECT(connection.extraCertificates == file &&
                    file.contains("-----BEGIN CERTIFICATE-----"));
    } catch (const OrbaError& error) {
        FUZZ_EXPECT(error.message().contains(QStringLiteral("SMTP CA-Datei")));
    }
}

// Whatever the reply, the text blames the sender or the recipient and names the one it blames.
void recipientRefused(FuzzedDataProvider& provider) {
    const QString sender = text(provider);
    const QString recipient = text(provider).remove(u'<').remove(u'>');
    TransferResult result;
    result.code = CURLE_RECV_ERROR;
    result.exchange = {"RCPT TO:<" + recipient.toUtf8() + '>',
                       "550 " +
                           QByteArray::fromStdString(provider.ConsumeRemainingBytesAsString())};
    SmtpConnection connection;
    connection.server = {QStringLiteral("localhost"), 25};
    const QString failure = failureText(result, connection, sender);
    FUZZ_EXPECT(failure.startsWith(QStringLiteral("Der Server hat den Absender ") + sender) ||
                    failure.startsWith(QStringLiteral("Der Server hat den Empfänger ") + recipient),
                failure);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    switch (provider.ConsumeIntegralInRange(0, 7)) {
    case 0:
        quotedPrintable(provider);
        break;
    case 1:
        subject(provider);
        break;
    case 2:
        anyCommandLine(provider);
        break;
    case 3:
        orbaCommandLine(provider);
        break;
    case 4:
        smtpHost(provider);
        break;
    case 5:
        message(provider);
        break;
    case 6:
        caFile(provider);
        break;
    default:
        recipientRefused(provider);
        break;
    }
    return 0;
}
