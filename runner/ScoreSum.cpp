#include "runner/ScoreSum.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// A non-negative integer in base 10^9, least significant limb first.
using TBig = std::vector<std::uint32_t>;
constexpr std::uint32_t kBase = 1000000000u;

void Normalize(TBig& a) {
    while (!a.empty() && a.back() == 0) a.pop_back();
}

void MultiplySmall(TBig& a, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : a) {
        const std::uint64_t v = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(v % kBase);
        carry = v / kBase;
    }
    while (carry != 0) {
        a.push_back(static_cast<std::uint32_t>(carry % kBase));
        carry /= kBase;
    }
}

TBig Scaled(std::uint64_t digits, int power) {
    TBig a;
    while (digits != 0) {
        a.push_back(static_cast<std::uint32_t>(digits % kBase));
        digits /= kBase;
    }
    for (; power >= 9; power -= 9) a.insert(a.begin(), 0u);
    static constexpr std::uint32_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    if (power > 0) MultiplySmall(a, kPowers[power]);
    Normalize(a);
    return a;
}

void AddTo(TBig& a, const TBig& b) {
    if (a.size() < b.size()) a.resize(b.size(), 0u);
    std::uint32_t carry = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::uint32_t v = a[i] + carry + (i < b.size() ? b[i] : 0u);
        carry = v >= kBase ? 1u : 0u;
        if (carry) v -= kBase;
        a[i] = v;
    }
    if (carry) a.push_back(carry);
}

int Compare(const TBig& a, const TBig& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

// a - b where a >= b.
TBig Subtract(const TBig& a, const TBig& b) {
    TBig r(a);
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        std::int64_t v = std::int64_t{r[i]} - borrow - (i < b.size() ? std::int64_t{b[i]} : 0);
        borrow = v < 0 ? 1 : 0;
        if (borrow) v += kBase;
        r[i] = static_cast<std::uint32_t>(v);
    }
    Normalize(r);
    return r;
}

std::string Decimal(const TBig& a) {
    if (a.empty()) return "0";
    std::string s = std::to_string(a.back());
    for (std::size_t i = a.size() - 1; i-- > 0;) {
        const std::string limb = std::to_string(a[i]);
        s += std::string(9 - limb.size(), '0') + limb;
    }
    return s;
}

}  // namespace

void TScoreSum::Add(double weight) {
    plain_ += weight;
    if (weight == 0 || !std::isfinite(weight)) return;
    // The shortest scientific form that reads back as the weight: "-d.ddde-XX".
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, weight, std::chars_format::scientific);
    const std::string text(buf, res.ptr);
    TTerm t;
    std::size_t i = 0;
    if (text[i] == '-') {
        t.Negative = true;
        ++i;
    }
    int fraction = 0;
    bool afterPoint = false;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] == '.') {
            afterPoint = true;
            continue;
        }
        t.Digits = t.Digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (afterPoint) ++fraction;
    }
    int exponent = 0;
    if (i < text.size()) std::from_chars(text.data() + i + 1 + (text[i + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    t.Exponent = exponent - fraction;
    terms_.push_back(t);
}

double TScoreSum::Value() const {
    if (terms_.empty()) return 0;
    int lowest = terms_.front().Exponent;
    for (const TTerm& t : terms_) lowest = std::min(lowest, t.Exponent);
    TBig positive, negative;
    for (const TTerm& t : terms_) AddTo(t.Negative ? negative : positive, Scaled(t.Digits, t.Exponent - lowest));
    Normalize(positive);
    Normalize(negative);
    const int order = Compare(positive, negative);
    if (order == 0) return 0;
    const bool negativeTotal = order < 0;
    std::string digits = Decimal(negativeTotal ? Subtract(negative, positive) : Subtract(positive, negative));
    int exponent = lowest;
    // Once to 15 significant digits, half away from zero, as the score is shown.
    constexpr std::size_t kShown = 15;
    if (digits.size() > kShown) {
        const bool up = digits[kShown] >= '5';
        exponent += static_cast<int>(digits.size() - kShown);
        digits.resize(kShown);
        if (up) {
            std::size_t k = kShown;
            while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
            if (k == 0) {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                ++exponent;
            } else {
                ++digits[k - 1];
            }
        }
    }
    const std::string text = (negativeTotal ? "-" : "") + digits + "e" + std::to_string(exponent);
    double value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || !std::isfinite(value)) return plain_;
    return value;
}
