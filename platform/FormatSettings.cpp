#include "platform/FormatSettings.h"

#include <clocale>
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

bool FormatSettings::IsPosixLocaleName(std::string_view name) {
    // The code set after the dot changes the characters, not the number and date forms.
    const std::string_view base = name.substr(0, name.find_first_of(".@"));
    return base.empty() || base == "C" || base == "POSIX";
}

FormatSettings FormatSettings::FromLocaleInfo(std::string_view timeLocale, std::string_view dateFormat,
                                              std::string_view numericLocale, std::string_view radix) {
    FormatSettings fs;
    if (!IsPosixLocaleName(timeLocale)) fs = FromLocaleStrings("", dateFormat);
    if (!IsPosixLocaleName(numericLocale) && radix.size() == 1) fs.DecimalSeparator = radix[0];
    return fs;
}

FormatSettings FormatSettings::FromLocale() {
    const auto text = [](const char* s) { return s ? std::string_view(s) : std::string_view(); };
    const std::string timeLocale(text(std::setlocale(LC_TIME, nullptr)));
    const std::string numericLocale(text(std::setlocale(LC_NUMERIC, nullptr)));
    const std::string dateFormat(text(nl_langinfo(D_FMT)));
    return FromLocaleInfo(timeLocale, dateFormat, numericLocale, text(nl_langinfo(RADIXCHAR)));
}

std::vector<FormatSettings> FormatSettings::ReadingForms() const {
    const FormatSettings dates[] = {*this,
                                    {DecimalSeparator, DateOrder::YMD, '-'},
                                    {DecimalSeparator, DateOrder::DMY, '.'},
                                    {DecimalSeparator, DateOrder::MDY, '/'},
                                    {DecimalSeparator, DateOrder::DMY, '/'}};
    std::vector<FormatSettings> forms;
    const auto add = [&forms](const FormatSettings& fs) {
        for (const FormatSettings& f : forms)
            if (f == fs) return;
        forms.push_back(fs);
    };
    for (const FormatSettings& d : dates)
        for (const char decimal : {DecimalSeparator, '.', ','}) add({decimal, d.ShortDateOrder, d.DateSeparator});
    return forms;
}

}  // namespace platform
