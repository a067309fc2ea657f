#pragma once
#include <string>
#include <string_view>

namespace platform {

// The program's 8-bit code page (the user's locale codeset). Stored texts stay in it as bytes;
// this is the one place that converts them to and from UTF-8.
class CodePage {
public:
    explicit CodePage(std::string codeset);

    // The code page of the current locale; setlocale(LC_ALL, "") must have run first.
    static const CodePage& Current();
    static void SetCurrent(const CodePage& page);   // tests and start-up

    const std::string& Codeset() const { return codeset_; }
    bool IsUtf8() const { return utf8_; }

    // Never fails: a sequence that does not decode becomes U+FFFD.
    std::string ToUtf8(std::string_view local) const;
    // True when ToUtf8 would give local back unchanged, so that it can be written as it stands.
    bool IsUtf8Already(std::string_view local) const;
    // A character the code page cannot hold becomes '?'.
    std::string FromUtf8(std::string_view utf8) const;

    // The first max bytes of s, never splitting a multi-byte character of this code page.
    std::string Cut(std::string_view s, std::size_t max) const;

private:
    std::string codeset_;
    bool utf8_;
    bool asciiSame_;   // the code page writes ASCII as UTF-8 does, byte for byte
};

// Appends the UTF-8 form of the code point c.
void AppendUtf8(char32_t c, std::string& out);

// Makes bad UTF-8 valid: each byte that starts no valid sequence becomes U+FFFD.
std::string SanitizeUtf8(std::string_view s);

// The cut of a short text (names, author fields) to 255 bytes in the current code page.
constexpr std::size_t kShortTextMax = 255;
std::string CutShortText(std::string_view s);

}  // namespace platform
