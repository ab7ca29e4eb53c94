#include "PemCertificates.h"

namespace orba::mailer {
namespace {

const QByteArray kBegin = QByteArrayLiteral("-----BEGIN CERTIFICATE-----");
const QByteArray kEnd = QByteArrayLiteral("-----END CERTIFICATE-----");

bool isWholeSequence(const QByteArray& der) {
    constexpr uchar sequence = 0x30;
    constexpr uchar longForm = 0x80;
    if (der.size() < 2 || uchar(der[0]) != sequence)
        return false;
    const uchar first = uchar(der[1]);
    const qsizetype lengthBytes = first & longForm ? first & ~longForm : 0;
    if (lengthBytes > 4 || der.size() < 2 + lengthBytes)
        return false;
    qint64 length = lengthBytes == 0 ? first : 0;
    for (qsizetype i = 0; i < lengthBytes; ++i)
        length = length << 8 | uchar(der[2 + i]);
    return der.size() - 2 - lengthBytes == length;
}

} // namespace

bool holdsUsableCertificates(const QByteArray& pem) {
    bool found = false;
    for (qsizetype begin = pem.indexOf(kBegin); begin >= 0;
         begin = pem.indexOf(kBegin, begin + 1)) {
        const qsizetype body = begin + kBegin.size();
        const qsizetype end = pem.indexOf(kEnd, body);
        if (end < 0)
            return false;
        QByteArray base64 = pem.mid(body, end - body);
        base64.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
        const auto der =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!der || !isWholeSequence(*der))
            return false;
        found = true;
    }
    return found;
}

} // namespace orba::mailer
