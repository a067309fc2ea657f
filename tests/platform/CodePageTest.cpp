#include "platform/CodePage.h"

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
