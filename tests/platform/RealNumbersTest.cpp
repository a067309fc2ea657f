#include "platform/RealNumbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
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

namespace {

// The formatter written out the plain way: round to 15 significant digits in scientific form,
// drop trailing zeros, then place the digits. The program's formatter takes a shorter way for
// most values and must write exactly this.
std::string PlainFormatReal(double value, const FormatSettings& fs) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string sci = buf;
    // Past the largest double only the largest 15-digit value below it is shown.
    if (!ParseReal(sci, kDot) && std::fabs(value) > 1) sci = value > 0 ? "1.79769313486231e+308" : "-1.79769313486231e+308";
    const bool negative = sci[0] == '-';
    if (negative) sci.erase(0, 1);
    const std::size_t e = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, e - 2);
    const int exponent = std::atoi(sci.c_str() + e + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += fs.DecimalSeparator + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0" + std::string(1, fs.DecimalSeparator) + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intLen) out += digits + std::string(intLen - digits.size(), '0');
        else out += digits.substr(0, intLen) + fs.DecimalSeparator + digits.substr(intLen);
    }
    return out;
}

}  // namespace

// Random bit patterns (every exponent, subnormals, 17-digit values), the short decimals that
// projects hold, whole numbers and the neighbours of powers of ten.
TEST(RealNumbers, FormatWritesWhatThePlainRoundingWrites) {
    std::mt19937_64 rng(11);
    std::vector<double> values;
    for (int i = 0; i < 30000; ++i) {
        double v;
        const std::uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
    }
    for (int i = 0; i < 30000; ++i) {
        const auto k = static_cast<std::int64_t>(rng() % 2000001) - 1000000;
        values.push_back(static_cast<double>(k) / 8);
        values.push_back(static_cast<double>(k) / 100);
        values.push_back(static_cast<double>(k) * 1e9);
        values.push_back(static_cast<double>(k) / 3);
        values.push_back(std::ldexp(static_cast<double>(k), -static_cast<int>(rng() % 40)));   // short and long exact forms
        values.push_back(static_cast<double>(rng() % (std::uint64_t{1} << 53)));
    }
    for (int e = -320; e <= 308; ++e) {
        const double p = std::pow(10.0, e);
        for (const double v : {p, std::nextafter(p, 0.0), std::nextafter(p, std::numeric_limits<double>::infinity()), 9.5 * p, 0.5 * p})
            values.push_back(v);
    }
    for (const double v : values) {
        for (const auto& fs : {kDot, kComma}) {
            ASSERT_EQ(FormatReal(v, fs), PlainFormatReal(v, fs)) << std::hexfloat << v;
            ASSERT_EQ(FormatReal(-v, fs), PlainFormatReal(-v, fs)) << std::hexfloat << -v;
        }
    }
    std::string appended = "x";
    platform::AppendReal(appended, -2.5, kComma);
    EXPECT_EQ(appended, "x-2,5");
}
