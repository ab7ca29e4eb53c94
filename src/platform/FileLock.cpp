#include "platform/FileLock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace orba::platform {

#ifdef Q_OS_WIN

FileLock::FileLock(const QString& path) {
    // The handle is not inherited: a program started meanwhile never keeps the lock alive.
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                    GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED first = {};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first)) {
        m_handle = reinterpret_cast<std::intptr_t>(handle);
        return;
    }
    m_busy = GetLastError() == ERROR_LOCK_VIOLATION;
    CloseHandle(handle);
}

FileLock::~FileLock() {
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

#else

FileLock::FileLock(const QString& path) {
    // Not inherited either: a mailer started meanwhile never keeps the lock alive. O_NONBLOCK
    // keeps a pipe placed under the name from holding the program.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    // flock, unlike fcntl's locks, belongs to this open file, so that holders within one
    // process exclude each other too, and closing another descriptor of the file keeps it.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_handle = fd;
        return;
    }
    m_busy = errno == EWOULDBLOCK;
    ::close(fd);
}

FileLock::~FileLock() {
    if (m_handle != -1)
        ::close(static_cast<int>(m_handle));
}

#endif

} // namespace orba::platform
