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

std::string CleanShortText(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return platform::CutShortText(out);
}

void CleanShortTexts(TAnyObject& r) { r.Name = CleanShortText(r.Name); }

void CleanShortTexts(TTest& r) {
    CleanShortTexts(static_cast<TAnyObject&>(r));
    r.AuthorName = CleanShortText(r.AuthorName);
    r.AuthorEmail = CleanShortText(r.AuthorEmail);
    r.Copyright = CleanShortText(r.Copyright);
    r.SpareText = CleanShortText(r.SpareText);
}

void CleanShortTexts(TUser& r) {
    CleanShortTexts(static_cast<TAnyObject&>(r));
    r.Password = CleanShortText(r.Password);
}
