#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace orba::platform {

#ifdef Q_OS_WIN

namespace {
HANDLE osHandle(QFileDevice& file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}
} // namespace

bool syncFile(QFileDevice& file) {
    return file.flush() && FlushFileBuffers(osHandle(file));
}

bool syncFolder(const QString&) {
    return true;
}

bool reserveSpace(QFileDevice& file, qint64 size) {
    FILE_ALLOCATION_INFO info;
    info.AllocationSize.QuadPart = size;
    return SetFileInformationByHandle(osHandle(file), FileAllocationInfo, &info, sizeof info);
}

bool createExclusive(QFile& file, const QString& path, bool* denied) {
    // CREATE_NEW fails on any existing name, a link included.
    const HANDLE handle = CreateFileW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), GENERIC_WRITE, 0,
        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (denied)
        *denied = handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0) {
        CloseHandle(handle);
        return false;
    }
    if (file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        return true;
    _close(fd);
    return false;
}

bool renameOver(const QString& from, const QString& to) {
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    return MoveFileExW(reinterpret_cast<const wchar_t*>(source.utf16()),
                       reinterpret_cast<const wchar_t*>(target.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

#else

bool syncFile(QFileDevice& file) {
    return file.flush() && ::fsync(file.handle()) == 0;
}

bool syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool reserveSpace(QFileDevice& file, qint64 size) {
    if (size <= 0)
        return true;
    const int error = ::posix_fallocate(file.handle(), 0, size);
    // posix_fallocate emulates reservation where the file system lacks it; a system that refuses
    // even that cannot promise the room.
    return error == 0;
}

bool createExclusive(QFile& file, const QString& path, bool* denied) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (denied)
        *denied = fd < 0 && errno == EACCES;
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

bool renameOver(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

#endif

} // namespace orba::platform
