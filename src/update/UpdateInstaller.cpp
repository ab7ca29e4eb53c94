#include "update/UpdateInstaller.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "platform/DurableFile.h"
#include "update/UpdateManifest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orba {
namespace {

using Step = std::function<void(int)>;

const QString kNewSuffix = QStringLiteral(".neu");
const QString kOldSuffix = QStringLiteral(".alt");
const QString kJournalName = QStringLiteral("aktualisierung.jnl");
const QString kJournalHeader = QStringLiteral("ORBA-Tausch 1");
const QString kLockName = QStringLiteral("aktualisierung.lck");

// The names an update may write.
QStringList updateFiles() {
    return UpdateManifest::publishedFiles() +
           QStringList{UpdateManifest::fileName, UpdateManifest::signatureName};
}

// Also a link whose target is gone.
bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void syncFolder(const QDir& dir) {
    if (!platform::syncFolder(dir.path()))
        throw OrbaError::cannotCreate(dir.path());
}

void writeJournal(const QDir& dir, const QStringList& names) {
    const QString path = dir.filePath(kJournalName);
    const QByteArray text = textfile::joinLines(QStringList{kJournalHeader} + names);
    QFile file;
    createNewFile(file, dir.path(), kJournalName);
    const bool written = file.write(text) == text.size() && platform::syncFile(file);
    file.close();
    if (!written || !platform::renameOver(path + kNewSuffix, path)) {
        QFile::remove(path + kNewSuffix);
        throw OrbaError::cannotCreate(path);
    }
    syncFolder(dir);
}

// Every new file still beside its old one takes its name, the old one stepping aside. Done
// again after an interruption, it goes on where it stopped.
void moveIn(const QDir& dir, const QStringList& names, const Step& step, int& done) {
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (!present(path + kNewSuffix))
            continue;
        if (present(path) && !platform::renameOver(path, path + kOldSuffix))
            throw OrbaError::cannotCreate(path);
        step(++done);
        if (!platform::renameOver(path + kNewSuffix, path))
            throw OrbaError::cannotCreate(path);
        step(++done);
    }
}

// The new files are in place. Only once their names are on the disk may the old files and the
// journal go; when that cannot be made sure of, the next start finishes the work.
void finish(const QDir& dir, const QStringList& names, const Step& step, int& done) {
    if (!platform::syncFolder(dir.path()))
        return;
    for (const QString& name : names)
        QFile::remove(dir.filePath(name + kOldSuffix));
    step(++done);
    QFile::remove(dir.filePath(kJournalName));
    platform::syncFolder(dir.path());
    step(++done);
}

// Puts every old file back and removes the new ones; a name that had no old file has none again.
void rollBack(const QDir& dir, const QStringList& names) {
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (present(path + kOldSuffix))
            platform::renameOver(path + kOldSuffix, path);
        else if (!present(path + kNewSuffix))
            QFile::remove(path);
        QFile::remove(path + kNewSuffix);
    }
    platform::syncFolder(dir.path());
    QFile::remove(dir.filePath(kJournalName));
}

// Whether an update was or is at work in the folder.
bool leftovers(const QDir& dir) {
    if (present(dir.filePath(kJournalName)))
        return true;
    for (const QString& name : updateFiles()) {
        if (present(dir.filePath(name + kNewSuffix)) || present(dir.filePath(name + kOldSuffix)))
            return true;
    }
    return false;
}

} // namespace

UpdateLock::UpdateLock(QString folder)
    : m_folder(std::move(folder)), m_lock(QDir(m_folder).filePath(kLockName)) {}

std::optional<QStringList> journalNames(const QByteArray& text) {
    const QStringList lines = textfile::splitLines(text);
    QStringList names = lines.mid(1);
    if (lines.value(0) != kJournalHeader || names.isEmpty() || names.removeDuplicates() > 0)
        return std::nullopt;
    const QStringList known = updateFiles();
    for (const QString& name : names) {
        if (!known.contains(name))
            return std::nullopt;
    }
    return names;
}

void createNewFile(QFile& file, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name + kNewSuffix);
    QFile::remove(path);
    if (!platform::createExclusive(file, path))
        throw OrbaError::cannotCreate(path);
}

void swapIn(const QString& folder, const QStringList& names, const Step& afterStep) {
    const QDir dir(folder);
    const Step step = [&afterStep](int done) {
        if (afterStep)
            afterStep(done);
    };
    try {
        syncFolder(dir);
        step(0);
        writeJournal(dir, names);
    } catch (const OrbaError&) {
        discardNewFiles(folder, names);
        throw;
    }
    int done = 1;
    step(done);
    try {
        moveIn(dir, names, step, done);
    } catch (const OrbaError&) {
        rollBack(dir, names);
        throw;
    }
    finish(dir, names, step, done);
}

void discardNewFiles(const QString& folder, const QStringList& names) {
    const QDir dir(folder);
    for (const QString& name : names)
        QFile::remove(dir.filePath(name + kNewSuffix));
}

void finishInterruptedUpdate(const QString& folder) {
    // A clean folder needs no lock, and gets no lock file.
    if (!leftovers(QDir(folder)))
        return;
    const UpdateLock lock(folder);
    if (!lock.busy())
        finishInterruptedUpdate(lock);
}

void finishInterruptedUpdate(const UpdateLock& held) {
    const QDir dir(held.folder());
    const QString journal = dir.filePath(kJournalName);
    if (present(journal)) {
        const std::optional<QStringList> names = journalNames(textfile::readBytes(journal));
        if (names) {
            const Step none = [](int) {};
            int done = 0;
            moveIn(dir, *names, none, done);
            finish(dir, *names, none, done);
        } else {
            QFile::remove(journal);
        }
        // Finished when the folder could be synced; else the next start tries again.
        if (present(journal))
            return;
    }
    for (const QString& name : updateFiles() + QStringList{kJournalName}) {
        const QString path = dir.filePath(name);
        // An older program stopped between its two renames.
        if (!present(path) && present(path + kOldSuffix))
            platform::renameOver(path + kOldSuffix, path);
        QFile::remove(path + kNewSuffix);
        QFile::remove(path + kOldSuffix);
    }
}

} // namespace orba
