#pragma once
#include <string>
#include <vector>

#include "platform/FormatSettings.h"

// The number and date settings of the locales a project meets: the POSIX ones of a bare machine
// or a container, and the common forms of other countries, as the program reads them from each.
struct LocaleCase {
    std::string Name;
    platform::FormatSettings Settings;
};

inline std::vector<LocaleCase> CommonLocales() {
    using platform::FormatSettings;
    return {
        {"C", FormatSettings::Posix()},
        {"C_UTF_8", FormatSettings::Posix()},
        {"en_US_UTF_8", FormatSettings::FromLocaleStrings(".", "%m/%d/%Y")},
        {"de_DE_UTF_8", FormatSettings::FromLocaleStrings(",", "%d.%m.%Y")},
        {"sv_SE_UTF_8", FormatSettings::FromLocaleStrings(",", "%Y-%m-%d")},
        {"en_GB_UTF_8", FormatSettings::FromLocaleStrings(".", "%d/%m/%y")},
    };
}
