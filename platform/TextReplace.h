#pragma once
#include <string>
#include <string_view>

namespace platform {

// Every occurrence of from in text replaced by to, left to right, without overlap. Header-only, so
// that the converter library can compile it into itself.
inline std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    if (!from.empty()) {
        for (std::size_t p = text.find(from); p != std::string_view::npos; p = text.find(from, pos)) {
            out.append(text.substr(pos, p - pos));
            out.append(to);
            pos = p + from.size();
        }
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace platform
