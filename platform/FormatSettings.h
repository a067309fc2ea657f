#pragma once
#include <string>
#include <string_view>

namespace platform {

enum class DateOrder { DMY, MDY, YMD };

// How numbers and short dates look in the data file and on screen. Read once from the user's
// locale and handed down; tests build their own.
struct FormatSettings {
    char DecimalSeparator = '.';
    DateOrder ShortDateOrder = DateOrder::YMD;
    char DateSeparator = '-';

    // The settings of the C/POSIX locale: ".", "yyyy-MM-dd".
    static FormatSettings Posix() { return {}; }
    // The current locale's (setlocale(LC_ALL, "") must have run).
    static FormatSettings FromLocale();
    // From a locale's radix character and its D_FMT pattern ("%d.%m.%Y", "%m/%d/%y", "%F" ...).
    static FormatSettings FromLocaleStrings(std::string_view radix, std::string_view dateFormat);

    bool operator==(const FormatSettings&) const = default;
};

}  // namespace platform
