#include "MimeEncoding.h"

#include <algorithm>
#include <utility>

namespace orba::mailer {
namespace {

// Encoded lines stay within the 76 characters that quoted-printable allows.
constexpr qsizetype kMaxEncodedLine = 76;
// 39 bytes make 52 base64 characters: an encoded-word of 64 characters, which fits the first
// line behind a field name as well as every continuation line.
constexpr qsizetype kEncodedWordBytes = 39;

constexpr char kHex[] = "0123456789ABCDEF";

QByteArray escaped(unsigned char c) {
    const char token[] = {'=', kHex[c >> 4], kHex[c & 0x0F]};
    return QByteArray(token, sizeof token);
}

QByteArray quotedPrintableLine(const QByteArray& line) {
    QByteArray out;
    qsizetype lineLength = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        const bool literal =
            (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last);
        const QByteArray token = literal ? QByteArray(1, char(c)) : escaped(c);
        // A soft break "=" must still fit on the line it ends.
        if (lineLength + token.size() > kMaxEncodedLine - 1 &&
            !(last && lineLength + token.size() <= kMaxEncodedLine)) {
            out += "=\r\n";
            lineLength = 0;
        }
        out += token;
        lineLength += token.size();
    }
    return out;
}

bool isPlainAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    // Plain text that looks like an encoded-word would be decoded by the reader.
    return !text.contains(QLatin1String("=?"));
}

// Splits UTF-8 into pieces of at most `size` bytes without cutting a character apart, as every
// encoded-word must hold whole characters.
QList<QByteArray> wholeCharacterChunks(const QByteArray& utf8, qsizetype size) {
    QList<QByteArray> chunks;
    qsizetype begin = 0;
    while (begin < utf8.size()) {
        qsizetype end = std::min(begin + size, utf8.size());
        while (end < utf8.size() && end > begin + 1 && (uchar(utf8[end]) & 0xC0) == 0x80)
            --end;
        chunks.append(utf8.mid(begin, end - begin));
        begin = end;
    }
    return chunks;
}

QByteArrayList encodedWords(const QString& text) {
    QByteArrayList words;
    for (const QByteArray& chunk : wholeCharacterChunks(text.toUtf8(), kEncodedWordBytes))
        words.append("=?UTF-8?B?" + chunk.toBase64() + "?=");
    return words;
}

// Letters, digits and the marks a word of a name may carry unquoted, all ASCII.
bool isAtom(QStringView word) {
    static const QString marks = QStringLiteral("!#$%&'*+-/=?^_`{|}~");
    if (word.isEmpty())
        return false;
    for (QChar c : word) {
        const bool alphanumeric =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!alphanumeric && !marks.contains(c))
            return false;
    }
    return true;
}

// The words of a display name as they go into the header. A name of plain ASCII is written as
// its words, or quoted when a word holds other characters. Otherwise the words that are not plain
// become encoded-words, each run of them together, so that no mail reader loses or adds a blank
// between them; the plain words between stay as they are.
QByteArrayList phraseTokens(const QString& name) {
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const bool plainWords = std::all_of(words.begin(), words.end(), [](const QString& word) {
        return isAtom(word) && !word.contains(QLatin1String("=?"));
    });
    if (isPlainAscii(name) && !plainWords) {
        QByteArray quoted = name.toLatin1();
        return {'"' + quoted.replace('\\', "\\\\").replace('"', "\\\"") + '"'};
    }
    QByteArrayList tokens;
    QString run;
    for (const QString& word : words) {
        if (isAtom(word) && !word.contains(QLatin1String("=?"))) {
            if (!run.isEmpty())
                tokens += encodedWords(std::exchange(run, QString()));
            tokens.append(word.toLatin1());
        } else {
            run += (run.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
    }
    if (!run.isEmpty())
        tokens += encodedWords(run);
    return tokens;
}

// The tokens separated by blanks, a continuation line wherever the next would make the line too
// long.
QByteArray folded(const QByteArray& fieldName, const QByteArrayList& tokens) {
    QByteArray out;
    qsizetype lineLength = fieldName.size() + 2;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0) {
            const bool fits = lineLength + 1 + tokens[i].size() <= kMaxHeaderLine;
            out += fits ? " " : "\r\n ";
            lineLength = fits ? lineLength + 1 : 1;
        }
        out += tokens[i];
        lineLength += tokens[i].size();
    }
    return out;
}

} // namespace

QByteArray quotedPrintableLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += quotedPrintableLine(line.toUtf8());
        out += "\r\n";
    }
    return out;
}

QByteArray headerText(const QByteArray& fieldName, const QString& text) {
    if (isPlainAscii(text) && fieldName.size() + 2 + text.size() <= kMaxHeaderLine)
        return text.toLatin1();
    return encodedWords(text).join("\r\n ");
}

QByteArray mailboxText(const QByteArray& fieldName, const QString& name, const QString& address) {
    if (name.trimmed().isEmpty())
        return address.toUtf8();
    return folded(fieldName, phraseTokens(name) << '<' + address.toUtf8() + '>');
}

} // namespace orba::mailer
