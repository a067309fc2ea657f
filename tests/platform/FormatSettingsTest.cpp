#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

using platform::DateOrder;
using platform::FormatSettings;

TEST(FormatSettings, FromLocalePatterns) {
    struct Case {
        const char* radix;
        const char* dfmt;
        char decimal;
        DateOrder order;
        char sep;
    };
    const Case cases[] = {
        {".", "%m/%d/%y", '.', DateOrder::MDY, '/'},     // en_US: two-digit year in the locale
        {",", "%d.%m.%Y", ',', DateOrder::DMY, '.'},     // de_DE
        {",", "%d/%m/%Y", ',', DateOrder::DMY, '/'},     // fr_FR
        {".", "%Y-%m-%d", '.', DateOrder::YMD, '-'},
        {".", "%F", '.', DateOrder::YMD, '-'},
        {".", "%D", '.', DateOrder::MDY, '/'},
        {",", "%d.%m.%y", ',', DateOrder::DMY, '.'},
        {".", "", '.', DateOrder::YMD, '-'},             // nothing usable: the POSIX form
    };
    for (const auto& c : cases) {
        const FormatSettings fs = FormatSettings::FromLocaleStrings(c.radix, c.dfmt);
        EXPECT_EQ(fs.DecimalSeparator, c.decimal) << c.dfmt;
        EXPECT_EQ(fs.ShortDateOrder, c.order) << c.dfmt;
        EXPECT_EQ(fs.DateSeparator, c.sep) << c.dfmt;
    }
}

TEST(FormatSettings, PosixLocaleGivesDotAndIsoDates) {
    EXPECT_EQ(FormatSettings::Posix(), (FormatSettings{'.', DateOrder::YMD, '-'}));
}
