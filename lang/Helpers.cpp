#include "lang/Helpers.h"

#include <algorithm>

#include "platform/IniFile.h"

std::uint8_t CommandState(bool flag) { return flag ? csEnable : csDisable; }

bool CommandStateEnabled(std::uint8_t state) { return state == csEnable; }

std::string CopyRange(std::string_view s, int from, int to) {
    const long long first = std::max(1, from);
    const long long last = std::min<long long>(to, static_cast<long long>(s.size()));
    if (last < first) return {};
    return std::string(s.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1)));
}

std::string_view FileExtOf(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : base.substr(dot);
}

std::string EnsureFileExt(std::string_view fileName, std::string_view ext) {
    const std::string_view current = FileExtOf(fileName);

    if (platform::TrimBlanks(current).empty()) return std::string(fileName) + "." + std::string(ext);
    const std::string lower = "." + platform::LowerAscii(ext);
    if (current == lower) return std::string(fileName);
    return std::string(fileName) + lower;
}
