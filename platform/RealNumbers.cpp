#include "platform/RealNumbers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace platform {
namespace {

constexpr int kDigits = 15;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The value rounded to 15 significant digits, as "[-]d.ddddddddddddddde[+-]XX". Near the largest
// double the rounding can go past it ("1.79769313486232e+308"), which no parser reads back: there
// the digits are cut instead, to the largest shown value that is a double.
std::string ShownScientific(double value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, kDigits - 1);
    std::string sci(buf, res.ptr);
    double back = 0;
    if (std::from_chars(sci.data(), sci.data() + sci.size(), back).ec == std::errc::result_out_of_range &&
        std::fabs(value) > 1) {
        // One unit less in the last digit, borrowing through the nines.
        for (std::size_t i = sci.find('e') - 1;; --i) {
            if (sci[i] == '.') continue;
            if (sci[i] != '0') {
                --sci[i];
                break;
            }
            sci[i] = '9';
        }
    }
    return sci;
}

// The digits (without trailing zeros) and the decimal exponent of the value rounded to 15
// significant digits. When the shortest digits that read back as the value number 15 or fewer,
// they are those digits: the value lies within half a unit of its last binary place of them, far
// less than half a unit of the 15th decimal place. Only values that need 16 or 17 digits take the
// slower rounding.
struct ShownDigits {
    char digits[24];
    int count = 0;
    int exponent = 0;
    bool negative = false;
};

void TakeScientific(const char* begin, const char* end, ShownDigits& d) {
    const char* p = begin;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') d.digits[d.count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    d.exponent = exponent;
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
}

// A value whose exact decimal form has at most 15 significant digits is shown as that form: no
// other text of 15 digits or fewer reads back as the same double (normal doubles keep every
// 15-digit decimal apart), so that form is also the shortest that reads back. Whole numbers and
// the binary fractions that projects mostly hold (halves, eighths) take this way, in integer
// arithmetic.
bool ExactDigits(double value, ShownDigits& d) {
    constexpr std::uint64_t kLimit = 1000000000000000;   // 10^15
    const double a = std::fabs(value);
    if (!(a >= std::numeric_limits<double>::min()) || a >= 1e15) return false;
    const auto bits = std::bit_cast<std::uint64_t>(a);
    std::uint64_t n = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    int binaryExponent = static_cast<int>(bits >> 52) - 1075;
    const int zeros = std::countr_zero(n);
    n >>= zeros;
    binaryExponent += zeros;
    int decimals = 0;
    if (binaryExponent >= 0) {
        n <<= binaryExponent;   // below 10^15: no bits are lost
    } else {
        // n * 2^-k = n * 5^k / 10^k
        decimals = -binaryExponent;
        if (decimals > 21) return false;   // 5^22 alone passes 10^15
        for (int k = 0; k < decimals; ++k) {
            if (n > (kLimit - 1) / 5) return false;
            n *= 5;
        }
    }
    if (n >= kLimit) return false;
    d.count = static_cast<int>(std::to_chars(d.digits, d.digits + sizeof d.digits, n).ptr - d.digits);
    d.exponent = d.count - 1 - decimals;
    d.negative = value < 0;
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
    return true;
}

ShownDigits DigitsOf(double value) {
    ShownDigits d;
    if (ExactDigits(value, d)) return d;
    char buf[64];
    // Below the normal range a binary place is no longer small against the 15th decimal one.
    if (std::fabs(value) < std::numeric_limits<double>::min()) {
        const std::string sci = ShownScientific(value);
        TakeScientific(sci.data(), sci.data() + sci.size(), d);
        return d;
    }
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    int significant = 0;
    for (const char* p = buf; p < res.ptr && *p != 'e'; ++p) significant += *p >= '0' && *p <= '9';
    if (significant <= kDigits) {
        TakeScientific(buf, res.ptr, d);
        return d;
    }
    const std::string sci = ShownScientific(value);
    TakeScientific(sci.data(), sci.data() + sci.size(), d);
    return d;
}

char* Put(char* o, std::string_view s) { return std::copy(s.begin(), s.end(), o); }
char* PutZeros(char* o, std::size_t n) { return std::fill_n(o, n, '0'); }

}  // namespace

char* WriteReal(char* o, double value, const FormatSettings& fs) {
    if (!std::isfinite(value)) return Put(o, std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF"));
    if (value == 0) return Put(o, "0");
    const ShownDigits d = DigitsOf(value);
    const std::string_view digits(d.digits, static_cast<std::size_t>(d.count));
    const int exponent = d.exponent;
    if (d.negative) *o++ = '-';
    if (exponent >= kDigits || exponent < -5) {
        *o++ = digits[0];
        if (digits.size() > 1) {
            *o++ = fs.DecimalSeparator;
            o = Put(o, digits.substr(1));
        }
        *o++ = 'E';
        return std::to_chars(o, o + 8, exponent).ptr;
    }
    if (exponent < 0) {
        *o++ = '0';
        *o++ = fs.DecimalSeparator;
        o = PutZeros(o, static_cast<std::size_t>(-exponent - 1));
        return Put(o, digits);
    }
    const std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intLen) return PutZeros(Put(o, digits), intLen - digits.size());
    o = Put(o, digits.substr(0, intLen));
    *o++ = fs.DecimalSeparator;
    return Put(o, digits.substr(intLen));
}

void AppendReal(std::string& out, double value, const FormatSettings& fs) {
    char buf[kMaxRealChars];
    out.append(buf, WriteReal(buf, value, fs));
}

std::string FormatReal(double value, const FormatSettings& fs) {
    std::string out;
    AppendReal(out, value, fs);
    return out;
}

std::optional<double> ParseReal(std::string_view text, const FormatSettings& fs) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    const std::string_view t = text.substr(b, e - b);

    // Check the form ourselves, then hand a plain "C" form to from_chars.
    std::string plain;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') plain += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') { plain += t[i++]; ++mantissaDigits; }
    if (i < t.size() && t[i] == fs.DecimalSeparator) {
        plain += '.';
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') { plain += t[i++]; ++mantissaDigits; }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
        std::size_t expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') { plain += t[i++]; ++expDigits; }
        if (expDigits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;

    double value = 0;
    auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (res.ec != std::errc() || res.ptr != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

double RoundToShown(double value) {
    if (!std::isfinite(value) || value == 0) return value;
    const std::string sci = ShownScientific(value);
    double rounded = value;
    std::from_chars(sci.data(), sci.data() + sci.size(), rounded);
    return rounded;
}

}  // namespace platform
