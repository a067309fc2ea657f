#include "store/Records.h"

#include <string_view>

#include "platform/CodePage.h"

std::string BoolToText(bool b) { return b ? "true" : "false"; }

bool TextToBool(std::string_view s) { return s == "true"; }

std::string MoveDirectionToText(int d) {
    switch (d) {
        case mdForwardOnly: return "ForwardOnly";
        case mdForwardBack: return "ForwardBack";
        case mdFree: return "Free";
        default: return "None";
    }
}

std::uint8_t TextToMoveDirection(std::string_view s) {
    if (s == "ForwardOnly") return mdForwardOnly;
    if (s == "ForwardBack") return mdForwardBack;
    if (s == "Free") return mdFree;
    return mdNone;
}

void CleanShortTextInPlace(std::string& s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    if (s.size() > platform::kShortTextMax) s = platform::CutShortText(s);
}

std::string CleanShortText(std::string_view s) {
    std::string out(s);
    CleanShortTextInPlace(out);
    return out;
}
