#include "store/XorCoding.h"

#include <gtest/gtest.h>

TEST(XorCoding, EveryByteSurvives) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string coded = EncodeText(all);
    EXPECT_EQ(coded.size(), 512u);
    EXPECT_EQ(coded.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(DecodeText(coded), all);
}

TEST(XorCoding, KnownCodes) {
    EXPECT_EQ(EncodeText("abc"), "C6C5C4");
    EXPECT_EQ(DecodeText("C6C5C4"), "abc");
    EXPECT_EQ(EncodeText(""), "");
    EXPECT_EQ(DecodeText("C6C5C4F"), "abc");      // an odd last character is dropped
    EXPECT_EQ(DecodeText("c6c5c4"), "abc");       // lower-case digits read as upper-case
    EXPECT_EQ(DecodeText("ZZ").size(), 1u);       // not hex: no failure
    EXPECT_EQ(XorText("abc", 0), "abc");
    EXPECT_EQ(XorText(XorText("abc", 0x5A), 0x5A), "abc");
}

TEST(XorCoding, HexDigits) {
    EXPECT_EQ(ByteToHex(0x0A), "0A");
    EXPECT_EQ(ByteToHex(0xFF), "FF");
    EXPECT_EQ(HexToByte("0A"), 10);
    EXPECT_EQ(HexToByte("F"), 15);
    EXPECT_EQ(HexToByte(""), 0);
    EXPECT_EQ(HexToByte("ABC"), 0);
}
