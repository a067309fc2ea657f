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

// The values at the ends of the range of doubles that a field without bounds can hold.
TEST(RealNumbers, EdgeValuesReadBackAsTheValueShown) {
    using limits = std::numeric_limits<double>;
    const double edges[] = {limits::max(),
                            std::nextafter(limits::max(), 0.0),
                            1.797693134862315e308,   // the smallest value that rounds past the largest double
                            1.797693134862314e308,
                            1.79769313486231e308,
                            9.99999999999999e307,
                            9.999999999999999e307,   // rounds up to 1E308
                            limits::min(),
                            limits::denorm_min(),
                            2 * limits::denorm_min(),
                            3 * limits::denorm_min(),
                            std::nextafter(limits::min(), 0.0),
                            1e-5,
                            std::nextafter(1e-5, 0.0),
                            999999999999999.4,
                            999999999999999.6,
                            1e15};
    for (const double edge : edges) {
        for (const double v : {edge, -edge}) {
            for (const auto& fs : {kDot, kComma}) {
                const std::string text = FormatReal(v, fs);
                const auto back = ParseReal(text, fs);
                ASSERT_TRUE(back.has_value()) << text;
                EXPECT_TRUE(std::isfinite(platform::RoundToShown(v))) << text;
                EXPECT_EQ(*back, platform::RoundToShown(v)) << text;
                EXPECT_EQ(FormatReal(*back, fs), text);
            }
        }
    }
    EXPECT_EQ(FormatReal(limits::max(), kDot), "1.79769313486231E308");
    EXPECT_EQ(FormatReal(-limits::max(), kComma), "-1,79769313486231E308");
    EXPECT_EQ(FormatReal(9.999999999999999e307, kDot), "1E308");
}
