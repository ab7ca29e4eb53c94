#pragma once

#include <cstdint>
#include <QString>

namespace orba::platform {

// The system's exclusive lock of a file, held as long as this object lives and never longer than
// its process: a program that dies leaves nothing locked. Two holders exclude each other also
// within one process.
class FileLock {
public:
    // Tries once, without waiting, to lock `path`, which is made empty when missing and never
    // followed when it is a link. Where the file cannot be opened (a folder nobody may write
    // in), nothing is locked and nobody else holds it.
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Whether another holder has the lock; this one then holds nothing.
    bool busy() const { return m_busy; }

private:
    std::intptr_t m_handle = -1;
    bool m_busy = false;
};

} // namespace orba::platform
