#include "platform/FormatSettings.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace platform {

FormatSettings FormatSettings::FromLocaleStrings(std::string_view radix, std::string_view dateFormat) {
    FormatSettings fs;
    if (radix.size() == 1 && radix[0] != '\0') fs.DecimalSeparator = radix[0];

    std::string pattern(dateFormat);
    if (pattern == "%D") pattern = "%m/%d/%y";
    if (pattern == "%F") pattern = "%Y-%m-%d";

    // Order of the day, month and year fields, and the first separator between them.
    std::string order;
    char separator = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            char f = pattern[++i];
            if ((f == 'E' || f == 'O' || f == '-' || f == '_' || f == '0') && i + 1 < pattern.size()) f = pattern[++i];
            if (f == 'd' || f == 'e') order += 'd';
            else if (f == 'm' || f == 'b' || f == 'h' || f == 'B') order += 'm';
            else if (f == 'y' || f == 'Y' || f == 'C') order += 'y';
        } else if (!order.empty() && order.size() < 3 && separator == 0 && c != ' ' &&
                   static_cast<unsigned char>(c) < 0x80) {
            separator = c;
        }
    }
    if (order.rfind("dm", 0) == 0) fs.ShortDateOrder = DateOrder::DMY;
    else if (order.rfind("md", 0) == 0) fs.ShortDateOrder = DateOrder::MDY;
    else fs.ShortDateOrder = DateOrder::YMD;
    if (order.size() >= 3 && separator != 0) fs.DateSeparator = separator;
    else fs = FormatSettings{fs.DecimalSeparator};
    return fs;
}

FormatSettings FormatSettings::FromLocale() {
    const char* name = std::setlocale(LC_TIME, nullptr);
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    const auto isPosix = [](const char* n) { return !n || !std::strcmp(n, "C") || !std::strcmp(n, "POSIX"); };
    FormatSettings fs;
    if (!isPosix(name)) fs = FromLocaleStrings("", nl_langinfo(D_FMT));
    if (!isPosix(numeric)) {
        const char* radix = nl_langinfo(RADIXCHAR);
        if (radix && std::strlen(radix) == 1) fs.DecimalSeparator = radix[0];
    }
    return fs;
}

}  // namespace platform
