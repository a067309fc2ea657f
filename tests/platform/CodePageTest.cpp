#include "platform/CodePage.h"

#include <iconv.h>

#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

using platform::CodePage;

TEST(CodePage, Utf8PassesValidTextAndReplacesBadBytes) {
    const CodePage utf8("UTF-8");
    EXPECT_TRUE(utf8.IsUtf8());
    EXPECT_EQ(utf8.ToUtf8("Gr\xC3\xBC\xC3\x9F" "e"), "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(utf8.ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(utf8.ToUtf8("\xC3"), "\xEF\xBF\xBD");          // cut sequence
    EXPECT_EQ(utf8.ToUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
    for (const char* text : {"plain", "Gr\xC3\xBC\xC3\x9F" "e", "a\xFF" "b", "\xC3", "\xED\xA0\x80", ""})
        EXPECT_EQ(utf8.IsUtf8Already(text), utf8.ToUtf8(text) == text) << text;
}

TEST(CodePage, SingleByteCodePageConvertsBothWays) {
    const CodePage latin("ISO-8859-1");
    EXPECT_FALSE(latin.IsUtf8());
    EXPECT_EQ(latin.ToUtf8("\xFC"), "\xC3\xBC");
    EXPECT_EQ(latin.FromUtf8("\xC3\xBC"), "\xFC");
    // Every byte decodes to something: the conversion never fails.
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(latin.FromUtf8(latin.ToUtf8(all)), all);
}

// Plain ASCII skips the converter; it must come out as the converter writes it, in every code
// page, including those that write some ASCII bytes as other characters.
TEST(CodePage, AsciiTextComesOutAsTheConverterWritesIt) {
    const auto converted = [](const std::string& codeset, const std::string& in) {
        iconv_t cd = iconv_open("UTF-8", codeset.c_str());
        EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << codeset;
        std::string out(in.size() * 4 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        char* dst = out.data();
        std::size_t left = in.size(), room = out.size();
        EXPECT_NE(iconv(cd, &src, &left, &dst, &room), static_cast<std::size_t>(-1)) << codeset;
        iconv_close(cd);
        out.resize(out.size() - room);
        return out;
    };
    std::mt19937 rng(3);
    for (const std::string codeset : {"ANSI_X3.4-1968", "ISO-8859-1", "CP1251", "KOI8-R", "SHIFT_JIS"}) {
        const CodePage page(codeset);
        for (int round = 0; round < 200; ++round) {
            std::string text(rng() % 100, 'a');
            for (char& c : text) c = static_cast<char>(1 + rng() % 127);
            ASSERT_EQ(page.ToUtf8(text), converted(codeset, text)) << codeset << " round " << round;
            // Written as it stands only when that is what the converter writes; in the code pages
            // that write ASCII as ASCII, always.
            if (page.IsUtf8Already(text)) {
                ASSERT_EQ(converted(codeset, text), text) << codeset << " round " << round;
            }
            if (codeset != "SHIFT_JIS") {
                ASSERT_TRUE(page.IsUtf8Already(text)) << codeset << " round " << round;
            }
        }
    }
}

TEST(CodePage, CutNeverSplitsAUtf8Character) {
    const CodePage utf8("utf8");
    const std::string s = std::string(254, 'a') + "\xC3\xBC" "z";   // the u-umlaut spans bytes 254-255
    EXPECT_EQ(utf8.Cut(s, 255), std::string(254, 'a'));
    EXPECT_EQ(utf8.Cut(s, 256), std::string(254, 'a') + "\xC3\xBC");
    EXPECT_EQ(utf8.Cut("short", 255), "short");
    const CodePage latin("ISO-8859-1");
    EXPECT_EQ(latin.Cut(s, 255).size(), 255u);
}

namespace {

// The length of the well-formed UTF-8 sequence at i by the table of well-formed byte sequences,
// 0 when there is none; and the cleanup written out sequence by sequence.
std::size_t WellFormedLength(const std::string& s, std::size_t i) {
    const auto at = [&](std::size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0x100u; };
    const auto in = [](unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
    const unsigned a = at(i), b = at(i + 1), c = at(i + 2), d = at(i + 3);
    if (a <= 0x7F) return 1;
    if (in(a, 0xC2, 0xDF)) return in(b, 0x80, 0xBF) ? 2 : 0;
    const bool tail2 = in(c, 0x80, 0xBF);
    if (a == 0xE0) return in(b, 0xA0, 0xBF) && tail2 ? 3 : 0;
    if (in(a, 0xE1, 0xEC) || in(a, 0xEE, 0xEF)) return in(b, 0x80, 0xBF) && tail2 ? 3 : 0;
    if (a == 0xED) return in(b, 0x80, 0x9F) && tail2 ? 3 : 0;
    const bool tail3 = tail2 && in(d, 0x80, 0xBF);
    if (a == 0xF0) return in(b, 0x90, 0xBF) && tail3 ? 4 : 0;
    if (in(a, 0xF1, 0xF3)) return in(b, 0x80, 0xBF) && tail3 ? 4 : 0;
    if (a == 0xF4) return in(b, 0x80, 0x8F) && tail3 ? 4 : 0;
    return 0;
}

std::string PlainSanitize(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = WellFormedLength(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out += s.substr(i, n);
            i += n;
        }
    }
    return out;
}

}  // namespace

// Texts of ASCII, well-formed sequences, cut ones, surrogates and stray bytes in random order.
TEST(CodePage, Utf8CleanupReplacesExactlyWhatIsNotWellFormed) {
    std::mt19937 rng(5);
    const char* const pieces[] = {"a", "Ab c", "\xC3\xBC", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xED\xA0\x80",
                                  "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\xF8", "\x80", "\xC3", "\xE2\x82"};
    const CodePage utf8("UTF-8");
    const CodePage latin("ISO-8859-1");
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 40);
        for (int k = 0; k < n; ++k) {
            if (rng() % 4 == 0) text += static_cast<char>(rng() % 256);
            else text += pieces[rng() % std::size(pieces)];
        }
        ASSERT_EQ(platform::SanitizeUtf8(text), PlainSanitize(text)) << round;
        EXPECT_EQ(utf8.ToUtf8(text), PlainSanitize(text)) << round;
        // What a single-byte code page converts is well-formed as it comes.
        const std::string converted = latin.ToUtf8(text);
        EXPECT_EQ(PlainSanitize(converted), converted) << round;
    }
}
