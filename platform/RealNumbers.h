#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"

namespace platform {

// The one writer of real numbers: at most 15 significant digits, no trailing zeros, the
// settings' decimal separator, and an exponent ("1.5E-7", "2E20") only outside 1E-5 <= |x| < 1E15.
// Every finite value is written so that ParseReal reads back RoundToShown(value), and what it
// reads back is written the same again.
std::string FormatReal(double value, const FormatSettings& fs);
// The same, appended to out.
void AppendReal(std::string& out, double value, const FormatSettings& fs);
// The same, written at out, which holds kMaxRealChars bytes; returns the end of what was written.
constexpr std::size_t kMaxRealChars = 32;
char* WriteReal(char* out, double value, const FormatSettings& fs);

// The one reader: optional blanks, an optional sign, digits with at most one decimal separator,
// an optional exponent. NaN, infinities, group separators and trailing rubbish are refused.
std::optional<double> ParseReal(std::string_view text, const FormatSettings& fs);

// A value rounded to the 15 significant digits that FormatReal shows (cut, not rounded, where
// rounding would pass the largest double).
double RoundToShown(double value);

}  // namespace platform
