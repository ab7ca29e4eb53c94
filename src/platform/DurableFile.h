#pragma once

#include <QString>

class QFile;
class QFileDevice;

// What it takes to put bytes on the disk for good and to open a file without being tricked by
// the folder it lies in. Each call answers whether it worked; what failed is for the caller to
// name.
namespace orba::platform {

// Waits until the open file's data are on the disk.
bool syncFile(QFileDevice& file);
// Waits until the folder's entries (files made, renamed or removed in it) are on the disk. Where
// the system has no such thing (Windows), there is nothing to wait for.
bool syncFolder(const QString& folder);
// Makes sure the open file has room for `size` bytes on the disk without changing what it holds,
// so that writing that much into it cannot run out of space half-way.
bool reserveSpace(QFileDevice& file, qint64 size);
// Creates `path` as a new, empty file and opens it for writing. Fails when anything already has
// that name, a link included, which is never followed; `denied` (when given) tells whether it
// failed because the folder lets this user make no file.
bool createExclusive(QFile& file, const QString& path, bool* denied = nullptr);
// Gives the file `from` the name `to` in one step, replacing what had that name: a reader sees
// the old file or the new one, never none. A link named `to` is replaced, not followed.
bool renameOver(const QString& from, const QString& to);

} // namespace orba::platform
