#pragma once
#include <string>
#include <string_view>
#include <vector>

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
    // From the names of the LC_TIME and LC_NUMERIC locales and what the locale says for them:
    // a POSIX locale gives the POSIX part, whatever its radix and D_FMT.
    static FormatSettings FromLocaleInfo(std::string_view timeLocale, std::string_view dateFormat,
                                         std::string_view numericLocale, std::string_view radix);
    // "C", "POSIX" and their spellings with a code set ("C.UTF-8", "C.utf8", "POSIX.UTF-8").
    static bool IsPosixLocaleName(std::string_view name);

    // The forms a file is tried under when it is read: these settings first, then the other
    // common ones (dates year-month-day, day.month.year, month/day/year, day/month/year; decimal
    // "." and ","), each once.
    std::vector<FormatSettings> ReadingForms() const;

    bool operator==(const FormatSettings&) const = default;
};

}  // namespace platform
