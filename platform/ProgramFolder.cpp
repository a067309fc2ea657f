#include "platform/ProgramFolder.h"

#include <unistd.h>

#include <vector>

namespace platform {

std::string ProgramFile() {
    std::vector<char> buf(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<std::size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

std::string ProgramFolder() {
    const std::string file = ProgramFile();
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return file.substr(0, slash);
}

}  // namespace platform
