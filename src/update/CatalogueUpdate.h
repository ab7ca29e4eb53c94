#pragma once

#include "update/UpdateManifest.h"
#include "update/UpdateSettings.h"

#include <functional>
#include <optional>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QUrl>
#include <utility>

class QNetworkAccessManager;

namespace orba {

// One update of the data folder from the organisation, without blocking the program: the signed
// list is fetched and checked (check), the files it names that the folder lacks are fetched and
// checked against it (download), and only then, all at once, the folder's files are replaced
// (install). Every ending before install leaves the folder as it was and says why in German.
class CatalogueUpdate : public QObject {
    Q_OBJECT
public:
    CatalogueUpdate(UpdateSettings settings, QString folder, QObject* parent = nullptr);
    ~CatalogueUpdate() override;

    // Ends in offered() when the list is newer than the folder's, else in upToDate() or failed().
    void check();
    // After offered(): ends in downloaded() or failed().
    void download();
    // Stops at once; failed() tells so, unless the update has already ended.
    void cancel();

    const UpdateManifest& offer() const { return *m_offer; }
    // After downloaded(): puts the new files in place of the old ones, all or none, and returns
    // the names of the published files replaced. Throws OrbaError (disk full, not writable) and
    // leaves the folder as it was.
    QStringList install();

signals:
    void offered();
    void upToDate(const QString& message);
    // `done` and `total` count the bytes of the files to fetch; total is 0 while unknown.
    void progress(const QString& step, qint64 done, qint64 total);
    void downloaded();
    void failed(const QString& message);

private:
    using Received = std::function<void(const QByteArray&)>;

    void fetch(const QString& name, qint64 limit, Received received);
    void fetched(QNetworkReply* reply, const QString& name, qint64 limit, const Received& received);
    QString transferFailure(QNetworkReply* reply, const QString& name, qint64 limit) const;
    void takeList(const QByteArray& signature);
    void fetchNextFile();
    void fail(const QString& message);

    UpdateSettings m_settings;
    QString m_folder;
    QUrl m_base;
    QByteArray m_publicKey;
    QSslConfiguration m_tls;
    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QList<QSslError> m_tlsErrors;
    qint64 m_replyBytes = 0;
    qint64 m_replyTotal = 0;

    QByteArray m_listText;
    QByteArray m_signatureText;
    std::optional<UpdateManifest> m_offer;
    QList<PublishedFile> m_missing;
    QList<std::pair<QString, QByteArray>> m_files;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_ended = false;
};

} // namespace orba
