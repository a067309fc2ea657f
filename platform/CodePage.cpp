#include "platform/CodePage.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

namespace platform {
namespace {

bool IsUtf8Name(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    s.erase(std::remove(s.begin(), s.end(), '-'), s.end());
    return s == "UTF8";
}

// Length of the valid UTF-8 sequence at s[i], or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned min;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; min = 0x80; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; min = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; min = 0x10000; }
    else return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

std::string Iconv(std::string_view in, const char* to, const char* from, std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buf[4096];
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        const std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, dst - buf);
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or incomplete sequence: replace one byte and go on.
            out.append(replacement);
            ++src;
            --left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// True when no byte of s is above 0x7F; eight bytes at a time.
bool IsAscii(std::string_view s) {
    std::size_t i = 0;
    std::uint64_t high = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        high |= w;
    }
    for (; i < s.size(); ++i) high |= static_cast<unsigned char>(s[i]);
    return (high & 0x8080808080808080ULL) == 0;
}

std::string AsciiBytes() {
    std::string all;
    for (int c = 1; c < 0x80; ++c) all += static_cast<char>(c);
    return all;
}

std::mutex& CurrentMutex() {
    static std::mutex m;
    return m;
}
std::unique_ptr<CodePage>& CurrentSlot() {
    static std::unique_ptr<CodePage> slot;
    return slot;
}

}  // namespace

CodePage::CodePage(std::string codeset)
    : codeset_(std::move(codeset)),
      utf8_(IsUtf8Name(codeset_)),
      asciiSame_(utf8_ || Iconv(AsciiBytes(), "UTF-8", codeset_.c_str(), "\xEF\xBF\xBD") == AsciiBytes()) {}

const CodePage& CodePage::Current() {
    std::lock_guard lock(CurrentMutex());
    auto& slot = CurrentSlot();
    if (!slot) {
        const char* cs = nl_langinfo(CODESET);
        slot = std::make_unique<CodePage>(cs && *cs ? cs : "UTF-8");
    }
    return *slot;
}

void CodePage::SetCurrent(const CodePage& page) {
    std::lock_guard lock(CurrentMutex());
    CurrentSlot() = std::make_unique<CodePage>(page);
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string SanitizeUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    // Whole runs of valid text are copied at once; plain ASCII is stepped over a byte at a time.
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = Utf8SequenceLength(s, i);
        if (n == 0) {
            out.append(s.substr(run, i - run));
            out.append("\xEF\xBF\xBD");
            run = ++i;
        } else {
            i += n;
        }
    }
    out.append(s.substr(run));
    return out;
}

bool CodePage::IsUtf8Already(std::string_view local) const {
    // Most texts are plain ASCII, which the code page and UTF-8 write alike.
    if (asciiSame_ && IsAscii(local)) return true;
    if (!utf8_) return false;
    for (std::size_t i = 0; i < local.size();) {
        const std::size_t n = static_cast<unsigned char>(local[i]) < 0x80 ? 1 : Utf8SequenceLength(local, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string CodePage::ToUtf8(std::string_view local) const {
    if (IsUtf8Already(local)) return std::string(local);
    if (utf8_) return SanitizeUtf8(local);
    // What iconv writes in UTF-8 is valid UTF-8 (what it cannot convert becomes U+FFFD): no
    // second pass over the text.
    return Iconv(local, "UTF-8", codeset_.c_str(), "\xEF\xBF\xBD");
}

std::string CodePage::FromUtf8(std::string_view utf8) const {
    if (utf8_) return SanitizeUtf8(utf8);
    const std::string to = codeset_ + "//TRANSLIT";
    return Iconv(SanitizeUtf8(utf8), to.c_str(), "UTF-8", "?");
}

std::string CodePage::Cut(std::string_view s, std::size_t max) const {
    if (s.size() <= max) return std::string(s);
    std::size_t end = max;
    if (utf8_) {
        // Step back over continuation bytes so that the character at the cut is left out whole.
        while (end > 0 && max - end < 3 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    }
    return std::string(s.substr(0, end));
}

std::string CutShortText(std::string_view s) { return CodePage::Current().Cut(s, kShortTextMax); }

}  // namespace platform
