#include "platform/FileBackup.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/SafeFile.h"

namespace platform {
namespace {

constexpr int kMaxBackups = 10000;

}  // namespace

std::string MakeBackup(const std::string& path) {
    const auto bytes = ReadFileCapped(path);
    if (!bytes) throw EFileError("Cannot open file \"" + path + "\". No such file.");
    // The copy may be read by no one the file itself may not be read by.
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) throw EFileError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    for (int i = 0; i < kMaxBackups; ++i) {
        const std::string name = path + ".bak" + (i == 0 ? std::string() : "." + std::to_string(i));
        if (WriteNewFileAtomic(name, *bytes, st.st_mode & 0777)) return name;
    }
    throw EFileError("Cannot create a backup of \"" + path + "\": too many backups beside it.");
}

void RestoreBackup(const std::string& backup, const std::string& path) {
    const auto bytes = ReadFileCapped(backup);
    if (!bytes) throw EFileError("Cannot open file \"" + backup + "\". No such file.");
    WriteFileAtomic(path, *bytes);
}

}  // namespace platform
