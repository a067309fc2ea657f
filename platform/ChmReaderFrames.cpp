#include "platform/ChmReaderFrames.h"

namespace platform {
namespace {

void PutU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(std::string_view s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

std::string Frame(char tag, std::string_view payload) {
    std::string out(1, tag);
    PutU32(out, static_cast<std::uint32_t>(payload.size()));
    out.append(payload);
    return out;
}

constexpr std::size_t kHeader = 5;

}  // namespace

std::string ObjectFrame(std::string_view path, std::string_view data) {
    std::string payload;
    PutU16(payload, static_cast<std::uint16_t>(path.size()));
    payload.append(path);
    payload.append(data);
    return Frame('O', payload);
}

std::string RefusalFrame(TChmRefusal reason) { return Frame('R', std::string(1, static_cast<char>(reason))); }

std::string EndFrame(std::uint32_t objects) {
    std::string payload;
    PutU32(payload, objects);
    return Frame('E', payload);
}

TChmRefusal ParseChmFrames(std::string_view answer, std::vector<TChmObject>& objects) {
    objects.clear();
    std::uint64_t decoded = 0;
    std::size_t at = 0;
    const auto nonsense = [&] {
        objects.clear();
        return TChmRefusal::ReaderFailed;
    };
    while (at < answer.size()) {
        if (answer.size() - at < kHeader) return nonsense();
        const char tag = answer[at];
        const std::size_t length = GetU32(answer, at + 1);
        at += kHeader;
        if (length > answer.size() - at) return nonsense();
        const std::string_view payload = answer.substr(at, length);
        at += length;
        switch (tag) {
            case 'O': {
                if (payload.size() < 2) return nonsense();
                const std::size_t pathLength = static_cast<unsigned char>(payload[0]) |
                                               (static_cast<std::size_t>(static_cast<unsigned char>(payload[1])) << 8);
                if (pathLength == 0 || pathLength > kMaxChmPath || pathLength > payload.size() - 2) return nonsense();
                const std::string_view data = payload.substr(2 + pathLength);
                if (objects.size() >= kMaxChmObjects || data.size() > kMaxChmObjectSize ||
                    data.size() > kMaxChmDecodedSize - decoded) {
                    objects.clear();
                    return TChmRefusal::TooMuchContent;
                }
                decoded += data.size();
                objects.push_back({std::string(payload.substr(2, pathLength)), std::string(data)});
                break;
            }
            case 'R': {
                if (payload.size() != 1) return nonsense();
                const auto reason = static_cast<TChmRefusal>(payload[0]);
                if (reason != TChmRefusal::NotHelpFile && reason != TChmRefusal::Damaged &&
                    reason != TChmRefusal::TooMuchContent)
                    return nonsense();
                objects.clear();
                return at == answer.size() ? reason : TChmRefusal::ReaderFailed;
            }
            case 'E':
                if (payload.size() != 4 || GetU32(payload, 0) != objects.size() || at != answer.size()) return nonsense();
                return TChmRefusal::None;
            default: return nonsense();
        }
    }
    // The answer stopped before its end.
    return nonsense();
}

}  // namespace platform
