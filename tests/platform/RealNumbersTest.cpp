#include "platform/RealNumbers.h"

#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

using platform::FormatReal;
using platform::FormatSettings;
using platform::ParseReal;

namespace {
const FormatSettings kDot{'.'};
const FormatSettings kComma{','};
}  // namespace

TEST(RealNumbers, FormatCases) {
    struct Case {
        double v;
        const char* dot;
        const char* comma;
    };
    const Case cases[] = {
        {0, "0", "0"},
        {-0.0, "0", "0"},
        {2.5, "2.5", "2,5"},
        {-2.25, "-2.25", "-2,25"},
        {10, "10", "10"},
        {0.1, "0.1", "0,1"},
        {1.0 / 3, "0.333333333333333", "0,333333333333333"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {1e15, "1E15", "1E15"},
        {2e20, "2E20", "2E20"},
        {0.00001, "0.00001", "0,00001"},
        {0.0000015, "1.5E-6", "1,5E-6"},
        {-99999, "-99999", "-99999"},
        {0.30000000000000004, "0.3", "0,3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatReal(c.v, kDot), c.dot);
        EXPECT_EQ(FormatReal(c.v, kComma), c.comma);
    }
}

TEST(RealNumbers, ParseAcceptsTheFormsWritten) {
    EXPECT_EQ(ParseReal("2.5", kDot), 2.5);
    EXPECT_EQ(ParseReal("2,5", kComma), 2.5);
    EXPECT_EQ(ParseReal(" -0.75 ", kDot), -0.75);
    EXPECT_EQ(ParseReal("+3", kDot), 3);
    EXPECT_EQ(ParseReal("1E15", kDot), 1e15);
    EXPECT_EQ(ParseReal("1,5E-6", kComma), 1.5e-6);
    EXPECT_EQ(ParseReal(".5", kDot), 0.5);
    EXPECT_EQ(ParseReal("5.", kDot), 5);
}

TEST(RealNumbers, ParseRefusesWhatIsNotANumber) {
    for (const char* bad : {"", " ", "nan", "NAN", "inf", "-inf", "INF", "infinity", "1,000.5", "2.5x", "2.5.1",
                            "e5", "1e", "1e+", "--1", "0x10", "1e400", ".", "-"}) {
        EXPECT_FALSE(ParseReal(bad, kDot).has_value()) << bad;
    }
    EXPECT_FALSE(ParseReal("2.5", kComma).has_value());   // the other locale's separator
    EXPECT_FALSE(ParseReal("1.000,5", kComma).has_value());
}

TEST(RealNumbers, WhatIsWrittenReadsBackAsTheValueShown) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(-1, 1);
    std::uniform_int_distribution<int> exp(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        const double v = std::ldexp(mant(rng), exp(rng) * 3);
        for (const auto& fs : {kDot, kComma}) {
            const std::string text = FormatReal(v, fs);
            const auto back = ParseReal(text, fs);
            ASSERT_TRUE(back.has_value()) << text;
            EXPECT_EQ(*back, platform::RoundToShown(v)) << text;
            EXPECT_EQ(FormatReal(*back, fs), text);
        }
    }
}
