#pragma once

#include "update/UpdateManifest.h"
#include "update/UpdateSettings.h"

#include <functional>
#include <memory>
#include <optional>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;

namespace orba {

class IncomingFile;
class SettingsFile;
class UpdateLock;

// When a server counts as gone: silence for `silenceMs`, or less than `minimumBytes` in every
// `rateWindowMs` (a server that sends a byte now and then is never silent).
struct TransferLimits {
    int silenceMs = 30000;
    qint64 minimumBytes = 1024;
    int rateWindowMs = 60000;
};

// One update of the data folder from the organisation, without blocking the program: the signed
// list is fetched and checked (check), the files it names that differ from the folder's are
// fetched and checked against it (download), and only then, all at once, the folder's files are
// replaced (install). The files travel straight into new files beside the old ones. Every ending
// before install leaves the folder as it was and says why in German.
class CatalogueUpdate : public QObject {
    Q_OBJECT
public:
    CatalogueUpdate(UpdateSettings settings, QString folder, QObject* parent = nullptr);
    ~CatalogueUpdate() override;

    void setLimits(const TransferLimits& limits) { m_limits = limits; }

    // Ends in offered() when the folder's files differ from a list that is valid and not older
    // than any the folder took, else in upToDate() or failed().
    void check();
    // After offered(): ends in downloaded() or failed().
    void download();
    // Stops at once; failed() tells so, unless the update has already ended.
    void cancel();

    const UpdateManifest& offer() const { return *m_offer; }
    // After downloaded(): records the stand as the highest taken in the settings and puts the
    // new files in place of the old ones, all or none. Returns the names of the published files
    // replaced. Throws OrbaError (disk full, not writable) and leaves the folder as it was.
    // `afterStep` is the swap's hook for tests (see swapIn).
    QStringList install(SettingsFile& settings, const std::function<void(int)>& afterStep = {});

signals:
    void offered();
    void upToDate(const QString& message);
    // `done` and `total` count the bytes of the files to fetch; total is 0 while unknown.
    void progress(const QString& step, qint64 done, qint64 total);
    void downloaded();
    void failed(const QString& message);

private:
    using Received = std::function<void()>;

    QString addressFault() const;
    void fetch(const QString& name, qint64 limit, Received received);
    void receive(QNetworkReply* reply, const QString& name, qint64 limit);
    void fetched(QNetworkReply* reply, const QString& name, qint64 limit, const Received& received);
    void checkRate();
    QString transferFailure(QNetworkReply* reply, const QString& name) const;
    void takeList(const QByteArray& signature);
    void fetchNextFile();
    void fail(const QString& message);
    void stop(const QString& said);
    void dropNewFiles();

    UpdateSettings m_settings;
    QString m_folder;
    TransferLimits m_limits;
    QUrl m_base;
    QString m_host;
    QByteArray m_publicKey;
    QSslConfiguration m_tls;
    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QList<QSslError> m_tlsErrors;
    QTimer m_rateTimer;
    QDateTime m_started;
    qint64 m_replyBytes = 0;
    qint64 m_bytesAtLastLook = 0;
    QByteArray m_body;
    std::unique_ptr<IncomingFile> m_incoming;
    // From the check to the end.
    std::unique_ptr<UpdateLock> m_lock;

    QByteArray m_listText;
    QByteArray m_signatureText;
    std::optional<UpdateManifest> m_offer;
    QList<PublishedFile> m_missing;
    QStringList m_newFiles;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_ended = false;
};

} // namespace orba
