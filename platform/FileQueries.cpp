#include "platform/FileQueries.h"

#include <sys/stat.h>

#include <atomic>

namespace platform {
namespace {

std::atomic<unsigned> g_errorMode{0};

}  // namespace

bool IsDirectory(const std::string& path) {
    struct stat st{};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ExistingEntryName(const std::string& path) {
    struct stat st{};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) return {};
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos || name == "/" ? name : name.substr(slash + 1);
}

unsigned SetErrorMode(unsigned mode) { return g_errorMode.exchange(mode); }
unsigned GetErrorMode() { return g_errorMode.load(); }

}  // namespace platform
