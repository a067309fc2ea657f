#include "platform/FileBackup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/SafeFile.h"

namespace platform {
namespace {

constexpr int kMaxBackups = 10000;

// Creates name only when no file of that name exists, and writes bytes to it. False when the
// name is taken; raises for any other failure.
bool WriteNewFile(const std::string& name, const std::string& bytes) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw EFileError("Cannot create file \"" + name + "\". " + std::strerror(errno));
    }
    std::size_t done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        ::unlink(name.c_str());
        throw EFileError("Cannot write file \"" + name + "\". " + std::strerror(err));
    }
    return true;
}

}  // namespace

std::string MakeBackup(const std::string& path) {
    const auto bytes = ReadFileCapped(path);
    if (!bytes) throw EFileError("Cannot open file \"" + path + "\". No such file.");
    for (int i = 0; i < kMaxBackups; ++i) {
        const std::string name = path + ".bak" + (i == 0 ? std::string() : "." + std::to_string(i));
        if (WriteNewFile(name, *bytes)) return name;
    }
    throw EFileError("Cannot create a backup of \"" + path + "\": too many backups beside it.");
}

void RestoreBackup(const std::string& backup, const std::string& path) {
    const auto bytes = ReadFileCapped(backup);
    if (!bytes) throw EFileError("Cannot open file \"" + backup + "\". No such file.");
    WriteFileAtomic(path, *bytes);
}

}  // namespace platform
