#include "platform/CodePage.h"

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
