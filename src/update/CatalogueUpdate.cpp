#include "update/CatalogueUpdate.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "update/Ed25519.h"
#include "update/IncomingFile.h"
#include "update/UpdateInstaller.h"

#include <QAuthenticator>
#include <QDir>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QStorageInfo>
#include <utility>

namespace orba {
namespace {

// The signed list and its signature are small; anything much larger is no update.
constexpr qint64 ListLimit = 1 << 16;
constexpr qint64 SignatureLimit = 1 << 10;
// What the network may hold back for the program at most, whatever a server sends.
constexpr qint64 ReadBufferSize = 1 << 20;

QString sizeText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 0, QLocale::DataSizeTraditionalFormat);
}

QString withConsequence(const QString& message) {
    return message + QStringLiteral("\nDer bisherige Katalog bleibt unverändert.");
}

// The address as messages may show it: never with its password.
QString shownAddress(const QString& address) {
    static const QRegularExpression password(QStringLiteral("^([^:/?#]+://[^/?#@:]*):[^/?#]*@"));
    return QString(address).replace(password, QStringLiteral("\\1@"));
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
      m_network(new QNetworkAccessManager(this)) {
    connect(&m_rateTimer, &QTimer::timeout, this, &CatalogueUpdate::checkRate);
}

CatalogueUpdate::~CatalogueUpdate() {
    m_ended = true;
    if (m_reply)
        m_reply->abort();
    dropNewFiles();
}

QString CatalogueUpdate::addressFault() const {
    const QString shown = shownAddress(m_settings.address);
    static const QRegularExpression port(QStringLiteral("^[^:/?#]+://[^/?#]*:(\\d+)(?:[/?#]|$)"));
    const QRegularExpressionMatch portMatch = port.match(m_settings.address);
    const qint64 portNumber = portMatch.captured(1).toLongLong();
    if (portMatch.hasMatch() && (portNumber < 1 || portNumber > 65535))
        return QStringLiteral("Die Adresse der Aktualisierung \"%1\" in orbaw.ini nennt den Port "
                              "%2; es gibt nur die Ports 1 bis 65535.")
            .arg(shown, portMatch.captured(1));
    const QUrl url(m_settings.address);
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty())
        return QStringLiteral("Die Adresse der Aktualisierung \"%1\" in orbaw.ini ist keine "
                              "https-Adresse.")
            .arg(shown);
    return QString();
}

void CatalogueUpdate::check() {
    if (const QString fault = addressFault(); !fault.isEmpty())
        return fail(fault);
    // The sign-in travels only when the server asks for it, and never in a message.
    m_base = QUrl(m_settings.address);
    const QString user = m_base.userName();
    const QString password = m_base.password();
    m_base.setUserInfo(QString());
    m_host = m_base.host();
    connect(m_network, &QNetworkAccessManager::authenticationRequired, this,
            [user, password, asked = false](QNetworkReply*, QAuthenticator* sign) mutable {
                if (std::exchange(asked, true) || user.isEmpty())
                    return;
                sign->setUser(user);
                sign->setPassword(password);
            });
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
    m_lock = std::make_unique<UpdateLock>(m_folder);
    if (m_lock->busy())
        return stop(QStringLiteral("Ein anderes ORBA-Fenster aktualisiert gerade den Katalog in "
                                   "diesem Ordner. Sobald es damit fertig ist, zeigt ORBA nach "
                                   "einem Neustart den neuen Katalog."));
    // The files are compared with what an interrupted update would still have put in place.
    try {
        finishInterruptedUpdate(*m_lock);
    } catch (const OrbaError& e) {
        return fail(e.message());
    }
    m_started = QDateTime::currentDateTimeUtc();

    emit progress(QStringLiteral("Die Liste der Aktualisierung wird geladen …"), 0, 0);
    fetch(UpdateManifest::fileName, ListLimit, [this] {
        m_listText = m_body;
        fetch(UpdateManifest::signatureName, SignatureLimit, [this] { takeList(m_body); });
    });
}

void CatalogueUpdate::takeList(const QByteArray& signature) {
    m_signatureText = signature;
    m_offer = UpdateManifest::verified(m_listText, m_signatureText, m_publicKey);
    const QDateTime stand = m_offer->stand();
    // A list that is valid forever could be offered forever, and hide every newer one.
    if (!m_offer->validUntil().isValid())
        throw OrbaError(QStringLiteral("Die angebotene Aktualisierung (Stand %1) nennt nicht, bis "
                                       "wann sie gilt, und wird darum nicht übernommen.")
                            .arg(standText(stand)));
    if (m_offer->validUntil() < m_started)
        throw OrbaError(
            QStringLiteral("Die angebotene Aktualisierung (Stand %1) galt nur bis %2 und wird "
                           "nicht mehr übernommen: Der Server bietet eine veraltete Fassung an. "
                           "Bitte prüfen Sie auch Datum und Uhrzeit dieses Rechners.")
                .arg(standText(stand), standText(m_offer->validUntil())));
    // The folder's list may be gone or damaged; the settings keep the highest stand taken.
    std::optional<QDateTime> taken = UpdateManifest::standIn(m_folder);
    if (m_settings.highestStand.isValid() && (!taken || *taken < m_settings.highestStand))
        taken = m_settings.highestStand;
    if (taken && stand < *taken)
        throw OrbaError(QStringLiteral("Die angebotene Aktualisierung (Stand %1) ist älter als "
                                       "Ihr Katalog (Stand %2) und wurde nicht übernommen.")
                            .arg(standText(stand), standText(*taken)));
    // Only what differs from the folder's files travels, whatever the stand: a file damaged or
    // replaced by hand is fetched again.
    const QDir folder(m_folder);
    for (const PublishedFile& file : m_offer->files()) {
        if (!file.matchesFile(folder.filePath(file.name))) {
            m_missing.append(file);
            m_total += file.size;
        }
    }
    const QString listPath = folder.filePath(UpdateManifest::fileName);
    if (m_missing.isEmpty() && textfile::exists(listPath) &&
        textfile::readBytes(listPath) == m_listText) {
        m_ended = true;
        m_lock.reset();
        emit upToDate(QStringLiteral("Ihr Katalog ist auf dem neuesten Stand (Stand %1).")
                          .arg(standText(stand)));
        return;
    }
    emit offered();
}

void CatalogueUpdate::download() {
    const QStorageInfo storage(m_folder);
    if (storage.isValid() && storage.bytesAvailable() < m_total)
        return fail(diskFull(m_folder, m_total).message());
    fetchNextFile();
}

void CatalogueUpdate::fetchNextFile() {
    if (m_newFiles.size() == m_missing.size()) {
        emit downloaded();
        return;
    }
    const PublishedFile file = m_missing[m_newFiles.size()];
    emit progress(QStringLiteral("%1 wird geladen …").arg(file.name), m_done, m_total);
    m_newFiles.append(file.name);
    try {
        m_incoming = std::make_unique<IncomingFile>(m_folder, file);
    } catch (const OrbaError& e) {
        return fail(e.message());
    }
    fetch(file.name, file.size, [this, file] {
        m_incoming->finish();
        m_incoming.reset();
        m_done += file.size;
        fetchNextFile();
    });
}

void CatalogueUpdate::fetch(const QString& name, qint64 limit, Received received) {
    QNetworkRequest request(m_base.resolved(QUrl(name)));
    request.setSslConfiguration(m_tls);
    request.setTransferTimeout(m_limits.silenceMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    m_tlsErrors.clear();
    m_body.clear();
    m_replyBytes = 0;
    m_bytesAtLastLook = 0;
    QNetworkReply* reply = m_network->get(request);
    reply->setReadBufferSize(ReadBufferSize);
    m_reply = reply;
    m_rateTimer.start(m_limits.rateWindowMs);
    connect(reply, &QNetworkReply::sslErrors, this,
            [this](const QList<QSslError>& errors) { m_tlsErrors = errors; });
    connect(reply, &QNetworkReply::readyRead, this,
            [this, reply, name, limit] { receive(reply, name, limit); });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, name, limit, received] { fetched(reply, name, limit, received); });
}

// Every piece goes on at once: into the new file, or for the list into memory, never past what
// the file may hold.
void CatalogueUpdate::receive(QNetworkReply* reply, const QString& name, qint64 limit) {
    const QByteArray bytes = reply->readAll();
    if (m_ended || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return;
    try {
        if (m_incoming) {
            m_incoming->write(bytes);
        } else if (m_replyBytes + bytes.size() <= limit) {
            m_body += bytes;
        } else {
            throw OrbaError(QStringLiteral("Die Datei %1 vom Server %2 ist größer als %3; so groß "
                                           "ist sie bei einer Aktualisierung nie.")
                                .arg(name, m_host, sizeText(limit)));
        }
    } catch (const OrbaError& e) {
        return fail(e.message());
    }
    m_replyBytes += bytes.size();
    if (m_total > 0)
        emit progress(QStringLiteral("%1 wird geladen …").arg(name), m_done + m_replyBytes,
                      m_total);
}

void CatalogueUpdate::fetched(QNetworkReply* reply, const QString& name, qint64 limit,
                              const Received& received) {
    reply->deleteLater();
    if (m_ended)
        return;
    receive(reply, name, limit);
    if (m_ended)
        return;
    m_rateTimer.stop();
    const QString failure = transferFailure(reply, name);
    if (!failure.isEmpty())
        return fail(failure);
    try {
        received();
    } catch (const OrbaError& e) {
        fail(e.message());
    }
}

// A server that is never silent but sends next to nothing would keep the update forever.
void CatalogueUpdate::checkRate() {
    if (m_replyBytes - m_bytesAtLastLook >= m_limits.minimumBytes) {
        m_bytesAtLastLook = m_replyBytes;
        return;
    }
    fail(QStringLiteral("Der Server %1 sendet %2 zu langsam (weniger als %3 in %4 Sekunden). "
                        "Bitte versuchen Sie es später noch einmal.")
             .arg(m_host, m_reply ? m_reply->url().fileName() : QString(),
                  sizeText(m_limits.minimumBytes), QString::number(m_limits.rateWindowMs / 1000)));
}

// Why a transfer did not bring the file; empty when it did.
QString CatalogueUpdate::transferFailure(QNetworkReply* reply, const QString& name) const {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 || (reply->error() == QNetworkReply::NoError && status != 200))
        return QStringLiteral("Der Server %1 meldet beim Abruf von %2 einen Fehler (HTTP %3 %4). "
                              "Bitte versuchen Sie es später noch einmal.")
            .arg(m_host, name, QString::number(status),
                 reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    switch (reply->error()) {
    case QNetworkReply::NoError:
        return QString();
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Der Server %1 weist sich nicht mit einem vertrauenswürdigen "
                              "Zertifikat aus (%2). ORBA lädt von ihm nichts herunter.")
            .arg(m_host, m_tlsErrors.isEmpty() ? reply->errorString() : sslErrorsText(m_tlsErrors));
    case QNetworkReply::UnknownContentError:
        return QStringLiteral("Der Server %1 schickt %2 gepackt, und entpacken lässt sich die "
                              "Datei nicht: Sie ist fehlerhaft gepackt oder wüchse beim "
                              "Entpacken weit über jedes Maß. ORBA hat den Abruf beendet.")
            .arg(m_host, name);
    default:
        // Data had begun to arrive: the file broke off.
        if (m_replyBytes > 0)
            return QStringLiteral("Die Datei %1 kam nicht vollständig an (nur %2 Bytes).")
                .arg(name, QLocale().toString(m_replyBytes));
        return QStringLiteral("Keine Verbindung zum Server %1 (%2). Bitte prüfen Sie die "
                              "Internetverbindung und versuchen Sie es später noch einmal.")
            .arg(m_host, reply->errorString());
    }
}

void CatalogueUpdate::cancel() {
    fail(QStringLiteral("Die Aktualisierung wurde abgebrochen."));
}

void CatalogueUpdate::fail(const QString& message) {
    stop(withConsequence(message));
}

// The signal comes last: whoever hears it may delete the update.
void CatalogueUpdate::stop(const QString& said) {
    if (m_ended)
        return;
    m_ended = true;
    m_rateTimer.stop();
    if (m_reply)
        m_reply->abort();
    dropNewFiles();
    m_lock.reset();
    emit failed(said);
}

void CatalogueUpdate::dropNewFiles() {
    m_incoming.reset();
    discardNewFiles(m_folder, m_newFiles);
    m_newFiles.clear();
}

QStringList CatalogueUpdate::install(SettingsFile& settings,
                                     const std::function<void(int)>& afterStep) {
    QStringList replaced;
    for (const PublishedFile& file : std::as_const(m_missing))
        replaced.append(file.name);
    try {
        UpdateSettings::recordStand(settings, m_offer->stand());
        for (const auto& [name, bytes] :
             {std::pair(UpdateManifest::fileName, m_listText),
              std::pair(UpdateManifest::signatureName, m_signatureText)}) {
            m_newFiles.append(name);
            IncomingFile file(m_folder, PublishedFile::describe(name, bytes));
            file.write(bytes);
            file.finish();
        }
        // From here on the swap looks after the new files, even when it is stopped half-way.
        swapIn(m_folder, std::exchange(m_newFiles, {}), afterStep);
    } catch (const OrbaError& e) {
        dropNewFiles();
        m_lock.reset();
        throw OrbaError(withConsequence(e.message()));
    }
    m_ended = true;
    m_lock.reset();
    return replaced;
}

} // namespace orba
