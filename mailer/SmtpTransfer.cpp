#include "SmtpTransfer.h"

#include <cstring>
#include <memory>

namespace orba::mailer {
namespace {

constexpr long kConnectTimeoutSeconds = 15;
constexpr long kTotalTimeoutSeconds = 45;

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
};

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
            conversation->lastCommand = line;
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

} // namespace

TransferResult transferMail(const SmtpServer& server, const MailOrder& order,
                            const QByteArray& message, QStringList* transcript) {
    curl_slist* recipientList = nullptr;
    for (const QString& recipient : order.recipients)
        recipientList = curl_slist_append(recipientList, angleAddress(recipient).constData());
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(
        recipientList, &curl_slist_free_all);
    Upload upload{message};
    Conversation conversation{transcript, {}, {}};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray url = server.url();
    const QByteArray from = angleAddress(order.sender);
    // Made after everything it points to, so that it is cleaned up first.
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   &curl_easy_cleanup);

    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &readMessage);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
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
    result.curlMessage =
        QString::fromUtf8(*errorBuffer ? errorBuffer : curl_easy_strerror(result.code));
    result.exchange = conversation.exchange;
    return result;
}

} // namespace orba::mailer
