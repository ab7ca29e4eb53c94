#include "platform/KeychainStore.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace orba {
namespace {

const QString service = QStringLiteral("ORBA");

void runToEnd(QKeychain::Job& job, const QString& key) {
    job.setAutoDelete(false);
    job.setKey(key);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

PasswordStore::Lookup KeychainStore::read(const QString& key) {
    QKeychain::ReadPasswordJob job(service);
    runToEnd(job, key);
    switch (job.error()) {
    case QKeychain::NoError:
        return {Status::Found, job.textData()};
    case QKeychain::EntryNotFound:
        return {Status::Missing, QString()};
    default:
        return {Status::Unavailable, QString()};
    }
}

bool KeychainStore::write(const QString& key, const QString& password) {
    QKeychain::WritePasswordJob job(service);
    job.setTextData(password);
    runToEnd(job, key);
    return job.error() == QKeychain::NoError;
}

void KeychainStore::remove(const QString& key) {
    QKeychain::DeletePasswordJob job(service);
    runToEnd(job, key);
}

} // namespace orba
