#pragma once
// Stand-ins for the message table, the message box, the file-name helper and the progress of
// the language layer, until that layer is part of the build.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "store/StoreServices.h"

namespace lang {

inline std::string GetMessageText(std::string_view key) { return StoreServices().MessageText(std::string(key)); }
inline void ShowMessageText(std::string_view text) { StoreServices().ShowMessageText(std::string(text)); }

class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void Step() = 0;
};
inline std::unique_ptr<IProgress> MakeProgress(int) { return nullptr; }

}  // namespace lang

namespace platform {
inline std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}
}  // namespace platform

inline std::string EnsureFileExt(std::string_view fileName, std::string_view ext) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    std::string current = dot == std::string_view::npos ? std::string() : std::string(base.substr(dot));
    bool blank = true;
    for (char c : current)
        if (static_cast<unsigned char>(c) > 32) blank = false;
    std::string lower(ext);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (blank || current != "." + lower) return std::string(fileName) + "." + lower;
    return std::string(fileName);
}
