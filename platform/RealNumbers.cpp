#include "platform/RealNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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

}  // namespace

std::string FormatReal(double value, const FormatSettings& fs) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    if (value == 0) return "0";

    // Digits and exponent of the value rounded to 15 significant digits: "d.ddddddddddddddde+XX".
    std::string sci = ShownScientific(value);
    bool negative = false;
    if (sci[0] == '-') {
        negative = true;
        sci.erase(0, 1);
    }
    const std::size_t e = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, e - 2);
    const int exponent = std::atoi(sci.c_str() + e + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= kDigits || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += fs.DecimalSeparator;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += '0';
        out += fs.DecimalSeparator;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            out += digits;
            out.append(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen);
            out += fs.DecimalSeparator;
            out += digits.substr(intLen);
        }
    }
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
