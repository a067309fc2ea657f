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

}  // namespace

std::string UpperCase(std::string_view local) {
    std::string out;
    out.reserve(local.size());
    const CodePage& page = CodePage::Current();
    for (std::size_t i = 0; i < local.size();) {
        const auto b = static_cast<unsigned char>(local[i]);
        if (b < 0x80) {
            out += b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : static_cast<char>(b);
            ++i;
            continue;
        }
        // A run of bytes beyond ASCII: cased through the code page, one character at a time. A
        // run the code page cannot read, and a letter whose upper case it cannot write, keep
        // their bytes as they are.
        std::size_t end = i;
        while (end < local.size() && static_cast<unsigned char>(local[end]) >= 0x80) ++end;
        const std::string_view run = local.substr(i, end - i);
        i = end;
        const std::string utf8 = page.ToUtf8(run);
        if (page.FromUtf8(utf8) != run) {
            out += run;
            continue;
        }
        for (std::size_t k = 0; k < utf8.size();) {
            const std::size_t start = k;
            const char32_t c = Decode(utf8, k);
            const std::string_view original = std::string_view(utf8).substr(start, k - start);
            std::string upper;
            AppendUtf8(static_cast<char32_t>(std::towupper(static_cast<std::wint_t>(c))), upper);
            const std::string written = page.FromUtf8(upper);
            out += page.ToUtf8(written) == upper ? written : page.FromUtf8(original);
        }
    }
    return out;
}

}  // namespace platform
