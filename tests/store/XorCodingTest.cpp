#include "store/XorCoding.h"

#include <random>

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

// The coder takes many bytes at a time; it must write what coding each byte alone writes, at every
// length and alignment.
TEST(XorCoding, TheWideCoderCodesAsEachByteAlone) {
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        std::string text(rng() % 200, '\0');
        for (char& c : text) c = static_cast<char>(rng());
        const std::size_t skip = text.empty() ? 0 : rng() % text.size();
        const std::string_view part = std::string_view(text).substr(skip);
        std::string plain;
        for (const char c : part) plain += ByteToHex(static_cast<std::uint8_t>(c) ^ kCodingKey);
        ASSERT_EQ(EncodeText(part), plain) << round;
    }
}

// The decoder too reads many characters at a time: it must give what reading each pair alone gives,
// and notice a character that is not a digit wherever it stands.
TEST(XorCoding, TheWideDecoderDecodesAsEachPairAlone) {
    const std::string alphabet = "0123456789ABCDEFabcdef";
    const auto plainDecode = [&](std::string_view coded, bool& digits) {
        std::string out;
        digits = true;
        for (std::size_t i = 0; i + 1 < coded.size(); i += 2) {
            digits = digits && alphabet.find(coded[i]) != std::string::npos &&
                     alphabet.find(coded[i + 1]) != std::string::npos;
            out += static_cast<char>(HexToByte(coded.substr(i, 2)) ^ kCodingKey);
        }
        return out;
    };
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        std::string coded(rng() % 300, '0');
        for (char& c : coded) c = alphabet[rng() % alphabet.size()];
        // Now and then one character that is not a digit: near the edges of the 16-pair steps,
        // and among the bytes whose signed and unsigned order differ.
        if (!coded.empty() && round % 3 == 0) coded[rng() % coded.size()] = static_cast<char>(rng() % 256);
        const std::size_t skip = coded.empty() ? 0 : rng() % std::min<std::size_t>(coded.size(), 40);
        const std::string_view part = std::string_view(coded).substr(skip);
        bool digits = false;
        const std::string want = plainDecode(part, digits);
        std::string got = "kept";
        ASSERT_EQ(DecodeTextAppend(part, got), digits) << round;
        ASSERT_EQ(got, "kept" + want) << round;
    }
    // Every byte value as the bad character at every place of a 16-pair step.
    for (int bad = 0; bad < 256; ++bad) {
        if (alphabet.find(static_cast<char>(bad)) != std::string::npos) continue;
        for (std::size_t at = 0; at < 64; ++at) {
            std::string coded(64, 'A');
            coded[at] = static_cast<char>(bad);
            std::string out;
            ASSERT_FALSE(DecodeTextAppend(coded, out)) << bad << " at " << at;
        }
    }
}

TEST(XorCoding, TheGrowingTextCoderHandsOnEveryPartOnce) {
    std::string text;
    std::string coded;
    TEncoder coder(text, [&](std::string_view piece) { coded += piece; });
    std::mt19937 rng(9);
    while (text.size() < 3 * TEncoder::kPieceBytes) {
        text += std::string(rng() % 5000, static_cast<char>(rng()));
        coder.Feed();
        EXPECT_LE(coded.size(), 2 * text.size());
    }
    EXPECT_GT(coded.size(), 0u);
    coder.Finish();
    EXPECT_EQ(coded, EncodeText(text));
}
