#pragma once

#include "platform/FileLock.h"

#include <functional>
#include <optional>
#include <QString>
#include <QStringList>

class QFile;

namespace orba {

// How an update puts its files into the data folder, all or none, even when the program dies
// half-way or the power fails. Each new file is written and synced as "<name>.neu" beside the
// old one. Then a journal naming the files is written and synced: from that moment on the
// update counts as taken, and the swap is completed, by the next start at the latest. Each old
// file steps aside as "<name>.alt" and the new one takes its name; the folder is synced, the old
// files go, and the journal last. Only the published files and the signed list are ever
// written, whatever a journal names.

// Opens "<name>.neu" in the folder as a new file for writing. Whatever has that name (a
// leftover, a link someone placed) is removed first, and the file is made without following a
// link. Throws "Datei %s kann nicht erstellt werden".
void createNewFile(QFile& file, const QString& folder, const QString& name);

// Swaps the new files of `names` in. Throws OrbaError when it cannot; the old files are then in
// place again and the new ones removed. `afterStep`, for tests, is called after each step (0:
// the new files' names are on the disk; 1: the journal is; then each rename, the removal of the
// old files and of the journal) and may throw to leave the folder as a program that died there.
void swapIn(const QString& folder, const QStringList& names,
            const std::function<void(int)>& afterStep = {});

// Removes the new files of `names`: a download that ends without a swap.
void discardNewFiles(const QString& folder, const QStringList& names);

// Held by an update from its check to its end and by the start that puts an interrupted one
// right: two copies of ORBA in one folder never change its files at the same time. It is the
// system's lock of "aktualisierung.lck" in the folder and dies with its process.
class UpdateLock {
public:
    // Tries once, without waiting.
    explicit UpdateLock(QString folder);
    // Whether another update holds the folder; this lock then holds nothing.
    bool busy() const { return m_lock.busy(); }
    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
    platform::FileLock m_lock;
};

// The names a journal's text lists; none when it is no journal of ours or names files an update
// never writes.
std::optional<QStringList> journalNames(const QByteArray& text);

// Before anything reads the folder: completes the swap a journal names, gives back a file that
// an older program lost half-way through its swap, and removes what interrupted updates left.
// Throws OrbaError when a swap cannot be completed; its journal stays for the next try. While
// another copy of ORBA updates the folder, what lies there is its work and the folder is left
// alone: the files in place are whole, the swap sees to that.
void finishInterruptedUpdate(const QString& folder);
// The same for the holder of the folder's lock.
void finishInterruptedUpdate(const UpdateLock& held);

} // namespace orba
