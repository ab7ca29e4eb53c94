#include "update/UpdateManifest.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "update/Ed25519.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>

namespace orba {
namespace {

const QString kHeader = QStringLiteral("ORBA-Aktualisierung 1");
const QString kStandKey = QStringLiteral("Stand=");
const QString kValidUntilKey = QStringLiteral("GueltigBis=");
const QChar kSeparator = QLatin1Char('|');

QByteArray hashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

OrbaError malformed(const QString& why) {
    return OrbaError(QStringLiteral("Die Liste der Aktualisierung ist fehlerhaft: %1.").arg(why));
}

PublishedFile parseFileLine(const QString& line) {
    const QStringList parts = line.split(kSeparator);
    bool sizeOk = false;
    PublishedFile file;
    if (parts.size() == 3) {
        file.name = parts[0];
        file.size = parts[1].toLongLong(&sizeOk);
        file.sha256 = QByteArray::fromHex(parts[2].toLatin1());
    }
    if (!sizeOk || file.size < 0 || file.sha256.size() != 32 || parts[2].size() != 64)
        throw malformed(QStringLiteral("Zeile \"%1\"").arg(line));
    return file;
}

} // namespace

const QString UpdateManifest::fileName = QStringLiteral("aktualisierung.dat");
const QString UpdateManifest::signatureName = QStringLiteral("aktualisierung.sig");

const QStringList& UpdateManifest::publishedFiles() {
    static const QStringList names = {QStringLiteral("orb32.dat"), QStringLiteral("stat.dat"),
                                      QStringLiteral("schlag.dat"), QStringLiteral("info.rtf")};
    return names;
}

PublishedFile PublishedFile::describe(const QString& name, const QByteArray& bytes) {
    return {name, bytes.size(), hashOf(bytes)};
}

bool PublishedFile::matches(const QByteArray& bytes) const {
    return bytes.size() == size && hashOf(bytes) == sha256;
}

bool PublishedFile::matchesFile(const QString& path) const {
    QFile file(path);
    if (file.size() != size || !file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(&file) && hash.result() == sha256;
}

UpdateManifest::UpdateManifest(QDateTime stand, QList<PublishedFile> files, QDateTime validUntil)
    : m_stand(std::move(stand)), m_files(std::move(files)), m_validUntil(std::move(validUntil)) {}

UpdateManifest UpdateManifest::parse(const QByteArray& text) {
    const QStringList lines = textfile::splitLines(text);
    if (lines.value(0) != kHeader)
        throw malformed(QStringLiteral("die erste Zeile ist nicht \"%1\"").arg(kHeader));
    const QString standLine = lines.value(1);
    const QDateTime stand = QDateTime::fromString(standLine.mid(kStandKey.size()), Qt::ISODate);
    if (!standLine.startsWith(kStandKey) || !stand.isValid())
        throw malformed(QStringLiteral("ihr Stand fehlt"));
    qsizetype firstFile = 2;
    QDateTime validUntil;
    if (lines.value(2).startsWith(kValidUntilKey)) {
        validUntil = QDateTime::fromString(lines[2].mid(kValidUntilKey.size()), Qt::ISODate);
        if (!validUntil.isValid())
            throw malformed(QStringLiteral("ihre Gültigkeit ist keine Zeit"));
        ++firstFile;
    }
    QList<PublishedFile> files;
    QSet<QString> seen;
    for (const QString& line : lines.mid(firstFile)) {
        const PublishedFile file = parseFileLine(line);
        if (seen.contains(file.name))
            throw malformed(QStringLiteral("%1 steht zweimal darin").arg(file.name));
        seen.insert(file.name);
        // Files a later program may know are left to it.
        if (publishedFiles().contains(file.name))
            files.append(file);
    }
    if (!seen.contains(publishedFiles().constFirst()))
        throw malformed(QStringLiteral("der Katalog %1 fehlt").arg(publishedFiles().constFirst()));
    return UpdateManifest(stand, files, validUntil);
}

UpdateManifest UpdateManifest::verified(const QByteArray& text, const QByteArray& signatureText,
                                        const QByteArray& publicKey) {
    const QByteArray signature = decodeBase64Line(signatureText, ed25519::SignatureSize);
    if (!ed25519::verify(text, signature, publicKey))
        throw OrbaError(QStringLiteral(
            "Die Unterschrift der Aktualisierung ist ungültig: sie stammt nicht von der "
            "Organisation, deren Schlüssel ORBA kennt, oder wurde unterwegs verändert. Die "
            "heruntergeladenen Dateien wurden verworfen."));
    return parse(text);
}

std::optional<QDateTime> UpdateManifest::standIn(const QString& folder) {
    const QString path = QDir(folder).filePath(fileName);
    if (!textfile::exists(path))
        return std::nullopt;
    try {
        return parse(textfile::readBytes(path)).stand();
    } catch (const OrbaError&) {
        return std::nullopt;
    }
}

QByteArray UpdateManifest::text() const {
    QStringList lines = {kHeader, kStandKey + isoTime(m_stand)};
    if (m_validUntil.isValid())
        lines.append(kValidUntilKey + isoTime(m_validUntil));
    for (const PublishedFile& file : m_files)
        lines.append(file.name + kSeparator + QString::number(file.size) + kSeparator +
                     QString::fromLatin1(file.sha256.toHex()));
    return textfile::joinLines(lines);
}

QByteArray decodeBase64Line(const QByteArray& text, int size) {
    const auto decoded =
        QByteArray::fromBase64Encoding(text.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() == size ? decoded.decoded : QByteArray();
}

QByteArray encodeBase64Line(const QByteArray& bytes) {
    return bytes.toBase64() + "\r\n";
}

QString isoTime(const QDateTime& time) {
    const QDateTime utc = time.toUTC();
    return utc.toString(utc.time().msec() ? Qt::ISODateWithMs : Qt::ISODate);
}

QString standText(const QDateTime& stand) {
    return QLocale().toString(stand.toLocalTime(), QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'"));
}

} // namespace orba
