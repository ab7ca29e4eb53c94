#include "update/CatalogueUpdate.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "update/Ed25519.h"
#include "update/UpdateInstaller.h"

#include <QDir>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSslCertificate>

namespace orba {
namespace {

// The signed list and its signature are small; anything much larger is no update.
constexpr qint64 ListLimit = 1 << 16;
constexpr qint64 SignatureLimit = 1 << 10;
// A server that sends nothing for this long counts as gone.
constexpr int SilenceMs = 30000;

QString sizeText(qint64 bytes) {
    return QLocale().toString(bytes);
}

QString withConsequence(const QString& message) {
    return message + QStringLiteral("\nDer bisherige Katalog bleibt unverändert.");
}

OrbaError incomplete(const QString& name, qint64 received, qint64 expected) {
    return OrbaError(QStringLiteral("Die Datei %1 kam nicht vollständig an (%2 von %3 Bytes).")
                         .arg(name, sizeText(received), sizeText(expected)));
}

QString sslErrorsText(const QList<QSslError>& errors) {
    QStringList texts;
    for (const QSslError& error : errors)
        texts.append(error.errorString());
    return texts.join(QStringLiteral("; "));
}

} // namespace

CatalogueUpdate::CatalogueUpdate(UpdateSettings settings, QString folder, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_folder(std::move(folder)),
      m_network(new QNetworkAccessManager(this)) {}

CatalogueUpdate::~CatalogueUpdate() {
    m_ended = true;
    if (m_reply)
        m_reply->abort();
}

void CatalogueUpdate::check() {
    m_base = QUrl(m_settings.address);
    if (!m_base.isValid() || m_base.scheme() != QLatin1String("https") || m_base.host().isEmpty())
        return fail(QStringLiteral("Die Adresse der Aktualisierung \"%1\" in orbaw.ini ist keine "
                                   "https-Adresse.")
                        .arg(m_settings.address));
    if (!m_base.path().endsWith(QLatin1Char('/')))
        m_base.setPath(m_base.path() + QLatin1Char('/'));
    m_publicKey = decodeBase64Line(m_settings.publicKey.toLatin1(), ed25519::PublicKeySize);
    if (m_publicKey.isEmpty())
        return fail(QStringLiteral("Der Schlüssel der Aktualisierung in orbaw.ini ist kein "
                                   "öffentlicher Ed25519-Schlüssel."));
    // The system's authorities, and the organisation's own where it has one. Reading the
    // system's takes a noticeable moment, so it is done once a run.
    static const QList<QSslCertificate> systems = QSslConfiguration::systemCaCertificates();
    QList<QSslCertificate> authorities = systems;
    if (!m_settings.caFile.isEmpty()) {
        const QList<QSslCertificate> own = QSslCertificate::fromPath(m_settings.caFile);
        if (own.isEmpty())
            return fail(QStringLiteral("Die Zertifikatsdatei %1 lässt sich nicht lesen oder "
                                       "enthält kein Zertifikat.")
                            .arg(m_settings.caFile));
        authorities += own;
    }
    m_tls = QSslConfiguration::defaultConfiguration();
    m_tls.setCaCertificates(authorities);

    emit progress(QStringLiteral("Die Liste der Aktualisierung wird geladen …"), 0, 0);
    fetch(UpdateManifest::fileName, ListLimit, [this](const QByteArray& list) {
        m_listText = list;
        fetch(UpdateManifest::signatureName, SignatureLimit,
              [this](const QByteArray& signature) { takeList(signature); });
    });
}

void CatalogueUpdate::takeList(const QByteArray& signature) {
    m_signatureText = signature;
    m_offer = UpdateManifest::verified(m_listText, m_signatureText, m_publicKey);
    const std::optional<QDateTime> own = UpdateManifest::standIn(m_folder);
    if (own && m_offer->stand() == *own) {
        m_ended = true;
        emit upToDate(QStringLiteral("Ihr Katalog ist auf dem neuesten Stand (Stand %1).")
                          .arg(standText(*own)));
        return;
    }
    if (own && m_offer->stand() < *own)
        return fail(QStringLiteral("Die angebotene Aktualisierung (Stand %1) ist älter als Ihr "
                                   "Katalog (Stand %2) und wurde nicht übernommen.")
                        .arg(standText(m_offer->stand()), standText(*own)));
    // Only what differs from the folder's files travels.
    const QDir folder(m_folder);
    for (const PublishedFile& file : m_offer->files()) {
        const QString path = folder.filePath(file.name);
        if (!textfile::exists(path) || !file.matches(textfile::readBytes(path))) {
            m_missing.append(file);
            m_total += file.size;
        }
    }
    emit offered();
}

void CatalogueUpdate::download() {
    fetchNextFile();
}

void CatalogueUpdate::fetchNextFile() {
    if (m_files.size() == m_missing.size()) {
        emit downloaded();
        return;
    }
    const PublishedFile file = m_missing[m_files.size()];
    emit progress(QStringLiteral("%1 wird geladen …").arg(file.name), m_done, m_total);
    fetch(file.name, file.size, [this, file](const QByteArray& bytes) {
        if (bytes.size() < file.size)
            throw incomplete(file.name, bytes.size(), file.size);
        if (!file.matches(bytes))
            throw OrbaError(QStringLiteral("Die Datei %1 stimmt nicht mit der unterschriebenen "
                                           "Liste der Aktualisierung überein: sie wurde "
                                           "unterwegs verändert oder ausgetauscht. Die "
                                           "heruntergeladenen Dateien wurden verworfen.")
                                .arg(file.name));
        m_files.append({file.name, bytes});
        m_done += file.size;
        fetchNextFile();
    });
}

void CatalogueUpdate::fetch(const QString& name, qint64 limit, Received received) {
    QNetworkRequest request(m_base.resolved(QUrl(name)));
    request.setSslConfiguration(m_tls);
    request.setTransferTimeout(SilenceMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    m_tlsErrors.clear();
    m_replyBytes = 0;
    m_replyTotal = 0;
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::sslErrors, this,
            [this](const QList<QSslError>& errors) { m_tlsErrors = errors; });
    // Every piece that arrives counts at once (the progress signal of the reply holds some back).
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, name, limit] {
        m_replyBytes = reply->bytesAvailable();
        m_replyTotal = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        // A file longer than the signed list says is not the one signed.
        if (m_replyBytes > limit)
            reply->abort();
        else if (m_total > 0)
            emit progress(QStringLiteral("%1 wird geladen …").arg(name), m_done + m_replyBytes,
                          m_total);
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, name, limit, received] { fetched(reply, name, limit, received); });
}

void CatalogueUpdate::fetched(QNetworkReply* reply, const QString& name, qint64 limit,
                              const Received& received) {
    reply->deleteLater();
    if (m_ended)
        return;
    const QString failure = transferFailure(reply, name, limit);
    if (!failure.isEmpty())
        return fail(failure);
    try {
        received(reply->readAll());
    } catch (const OrbaError& e) {
        fail(e.message());
    }
}

// Why a transfer did not bring the file; empty when it did.
QString CatalogueUpdate::transferFailure(QNetworkReply* reply, const QString& name,
                                         qint64 limit) const {
    const QString host = m_base.host();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 || (reply->error() == QNetworkReply::NoError && status != 200))
        return QStringLiteral("Der Server %1 meldet beim Abruf von %2 einen Fehler (HTTP %3 %4). "
                              "Bitte versuchen Sie es später noch einmal.")
            .arg(host, name, QString::number(status),
                 reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    if (m_replyBytes > limit)
        return QStringLiteral("Die Datei %1 ist größer, als die unterschriebene Liste der "
                              "Aktualisierung angibt. Die heruntergeladenen Dateien wurden "
                              "verworfen.")
            .arg(name);
    switch (reply->error()) {
    case QNetworkReply::NoError:
        return QString();
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Der Server %1 weist sich nicht mit einem vertrauenswürdigen "
                              "Zertifikat aus (%2). ORBA lädt von ihm nichts herunter.")
            .arg(host, m_tlsErrors.isEmpty() ? reply->errorString() : sslErrorsText(m_tlsErrors));
    default:
        // Data had begun to arrive: the file broke off.
        if (m_replyBytes > 0)
            return incomplete(name, m_replyBytes, m_replyTotal > 0 ? m_replyTotal : limit)
                .message();
        return QStringLiteral("Keine Verbindung zum Server %1 (%2). Bitte prüfen Sie die "
                              "Internetverbindung und versuchen Sie es später noch einmal.")
            .arg(host, reply->errorString());
    }
}

// The signal comes last: whoever hears it may delete the update.
void CatalogueUpdate::cancel() {
    if (m_ended)
        return;
    m_ended = true;
    if (m_reply)
        m_reply->abort();
    emit failed(withConsequence(QStringLiteral("Die Aktualisierung wurde abgebrochen.")));
}

void CatalogueUpdate::fail(const QString& message) {
    if (m_ended)
        return;
    m_ended = true;
    emit failed(withConsequence(message));
}

QStringList CatalogueUpdate::install() {
    QList<std::pair<QString, QByteArray>> files = m_files;
    // The list goes in last: until it is in place the folder keeps its old stand.
    files.append({UpdateManifest::fileName, m_listText});
    files.append({UpdateManifest::signatureName, m_signatureText});
    try {
        replaceFiles(m_folder, files);
    } catch (const OrbaError& e) {
        throw OrbaError(withConsequence(e.message()));
    }
    m_ended = true;
    QStringList names;
    for (const auto& [name, bytes] : m_files)
        names.append(name);
    return names;
}

} // namespace orba
