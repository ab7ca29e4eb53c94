#include "SmtpTransfer.h"

#include <cstring>
#include <memory>
#include <QFile>

namespace orba::mailer {
namespace {

constexpr long kConnectTimeoutSeconds = 15;
constexpr long kTotalTimeoutSeconds = 45;
// A server that encrypts from the first byte waits in silence for the client to start TLS. On
// the port for that, a plain reply that has not come in this time will not come at all.
constexpr long kTlsPortReplySeconds = 5;

struct Upload {
    const QByteArray& data;
    qsizetype sent = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userData) {
    auto* upload = static_cast<Upload*>(userData);
    const size_t left = size_t(upload->data.size() - upload->sent);
    const size_t chunk = std::min(size * count, left);
    std::memcpy(buffer, upload->data.constData() + upload->sent, chunk);
    upload->sent += qsizetype(chunk);
    return chunk;
}

struct Conversation {
    QStringList* transcript;
    SmtpExchange exchange;
    QByteArray lastCommand;
    bool signingIn = false; // between AUTH and the server's verdict on it
};

// What a command may show. What follows "AUTH mechanism", and every line sent while the server
// asks for more (334), carries the user name and the password.
QByteArray shownCommand(Conversation& conversation, const QByteArray& line) {
    if (line.startsWith("AUTH ")) {
        conversation.signingIn = true;
        const qsizetype response = line.indexOf(' ', 5);
        conversation.lastCommand = response < 0 ? line : line.left(response);
        return response < 0 ? line : conversation.lastCommand + " ****";
    }
    if (conversation.signingIn)
        return "****";
    conversation.lastCommand = line;
    return line;
}

int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* userData) {
    auto* conversation = static_cast<Conversation*>(userData);
    const char* mark = nullptr;
    switch (type) {
    case CURLINFO_TEXT:
        mark = "* ";
        break;
    case CURLINFO_HEADER_IN:
        mark = "< ";
        break;
    case CURLINFO_HEADER_OUT:
        mark = "> ";
        break;
    default:
        return 0; // the message itself and raw TLS data stay out of the log
    }
    for (QByteArray line : QByteArray(data, qsizetype(size)).split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (type == CURLINFO_HEADER_OUT)
            line = shownCommand(*conversation, line);
        if (type == CURLINFO_HEADER_IN && !line.startsWith("334"))
            conversation->signingIn = false;
        // The reply to QUIT would hide the refusal that made libcurl give up.
        if (type == CURLINFO_HEADER_IN && !conversation->lastCommand.startsWith("QUIT"))
            conversation->exchange = {conversation->lastCommand, line};
        if (conversation->transcript)
            conversation->transcript->append(QLatin1String(mark) + QString::fromUtf8(line));
    }
    return 0;
}

QByteArray angleAddress(const QString& address) {
    return '<' + address.toUtf8() + '>';
}

// The system's trusted certificate authorities and the organisation's own. Naming a file of
// one's own would make libcurl forget the system's bundle.
QByteArray trustedCertificates(CURL* handle, const QByteArray& extra) {
    char* systemBundle = nullptr;
    curl_easy_getinfo(handle, CURLINFO_CAINFO, &systemBundle);
    QFile bundle(QString::fromLocal8Bit(systemBundle));
    QByteArray all =
        systemBundle && bundle.open(QIODevice::ReadOnly) ? bundle.readAll() : QByteArray();
    return all + '\n' + extra;
}

// Never plain text once encryption is chosen: STARTTLS must succeed before anything else is
// said, and the server must prove its name with a certificate the system trusts.
void protect(CURL* handle, const SmtpConnection& connection, curl_blob& certificates) {
    if (connection.security == MailSecurity::None)
        return;
    curl_easy_setopt(handle, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(handle, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (certificates.len > 0)
        curl_easy_setopt(handle, CURLOPT_CAINFO_BLOB, &certificates);
    if (!connection.signsIn())
        return;
    curl_easy_setopt(handle, CURLOPT_USERNAME, connection.user.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, connection.password.constData());
    curl_easy_setopt(handle, CURLOPT_LOGIN_OPTIONS, "AUTH=PLAIN;AUTH=LOGIN");
}

// The wait counts from the connection, so that a slow name lookup does not cut it short.
void waitLessOnTlsPort(CURL* handle, const SmtpConnection& connection) {
    if (connection.server.port == defaultPort(MailSecurity::Tls) &&
        connection.security != MailSecurity::Tls)
        curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, kTlsPortReplySeconds);
}

} // namespace

TransferResult transferMail(const SmtpConnection& connection, const MailOrder& order,
                            const QByteArray& message, QStringList* transcript) {
    curl_slist* recipientList = nullptr;
    for (const QString& recipient : order.recipients)
        recipientList = curl_slist_append(recipientList, angleAddress(recipient).constData());
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(
        recipientList, &curl_slist_free_all);
    Upload upload{message};
    Conversation conversation{transcript, {}, {}};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray url = connection.url();
    const QByteArray from = angleAddress(order.sender);
    QByteArray certificates;
    curl_blob certificateBlob{nullptr, 0, CURL_BLOB_NOCOPY};
    // Made after everything it points to, so that it is cleaned up first.
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   &curl_easy_cleanup);

    CURL* handle = curl.get();
    if (!connection.extraCertificates.isEmpty()) {
        certificates = trustedCertificates(handle, connection.extraCertificates);
        certificateBlob = {certificates.data(), size_t(certificates.size()), CURL_BLOB_NOCOPY};
    }
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    protect(handle, connection, certificateBlob);
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &readMessage);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    waitLessOnTlsPort(handle, connection);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    // The debug callback sees every command and reply; it also tells which step failed.
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, &onDebug);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &conversation);

    TransferResult result;
    result.code = curl_easy_perform(handle);
    curl_easy_getinfo(handle, CURLINFO_OS_ERRNO, &result.osErrno);
    curl_easy_getinfo(handle, CURLINFO_SSL_VERIFYRESULT, &result.certificateError);
    curl_off_t connectTime = 0;
    curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectTime);
    result.connected = connectTime > 0;
    result.curlMessage =
        QString::fromUtf8(*errorBuffer ? errorBuffer : curl_easy_strerror(result.code));
    result.exchange = conversation.exchange;
    return result;
}

} // namespace orba::mailer
