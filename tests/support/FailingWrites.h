#pragma once
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "platform/SafeFile.h"

// Makes the next atomic file writes fail as a full disk does: of each file, the first write call
// puts half of the bytes into the temporary file and the next one fails with EIO. Files after
// the given number, and every write once this object is gone, go through.
class ScopedFailingWrites {
public:
    explicit ScopedFailingWrites(int files = 1)
        : filesLeft_(files), call_([this](int fd, const void* data, std::size_t count) { return Write(fd, data, count); }) {}

private:
    ssize_t Write(int fd, const void* data, std::size_t count) {
        if (filesLeft_ <= 0) return ::write(fd, data, count);
        if (!halfWritten_ && count / 2 > 0) {
            halfWritten_ = true;
            return ::write(fd, data, count / 2);
        }
        halfWritten_ = false;
        --filesLeft_;
        errno = EIO;
        return -1;
    }

    int filesLeft_;
    bool halfWritten_ = false;
    platform::ScopedWriteCall call_;   // last, so that it is in place only while the counts live
};
