#include "platform/TextCase.h"

#include <cwctype>

#include "platform/CodePage.h"

namespace platform {
namespace {

// Decodes one UTF-8 sequence of valid text (CodePage::ToUtf8 never gives bad UTF-8).
char32_t Decode(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    ++i;
    while (extra-- > 0 && i < s.size()) c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return c;
}

bool IsAscii(std::string_view s) {
    for (char ch : s)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

}  // namespace

std::string UpperCase(std::string_view local) {
    if (IsAscii(local)) {
        std::string out(local);
        for (char& ch : out)
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        return out;
    }
    const CodePage& page = CodePage::Current();
    const std::string utf8 = page.ToUtf8(local);
    std::string upper;
    upper.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = Decode(utf8, i);
        if (c >= 'a' && c <= 'z') {
            c = c - 'a' + 'A';
        } else if (c >= 0x80) {
            c = static_cast<char32_t>(std::towupper(static_cast<std::wint_t>(c)));
        }
        AppendUtf8(c, upper);
    }
    return page.FromUtf8(upper);
}

}  // namespace platform
