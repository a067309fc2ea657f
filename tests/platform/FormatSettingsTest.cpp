#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

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

// What glibc gives for the locales that users and containers run under: the names as setlocale
// reports them, D_FMT and the radix character.
TEST(FormatSettings, LocalesAsTheSystemDescribesThem) {
    struct Case {
        const char* name;
        const char* dfmt;
        const char* radix;
        FormatSettings expected;
    };
    const Case cases[] = {
        {"C", "%m/%d/%y", ".", FormatSettings::Posix()},
        {"POSIX", "%m/%d/%y", ".", FormatSettings::Posix()},
        {"C.UTF-8", "%m/%d/%y", ".", FormatSettings::Posix()},   // the default of a fresh Debian machine
        {"C.utf8", "%m/%d/%y", ".", FormatSettings::Posix()},
        {"C.UTF8", "%m/%d/%y", ".", FormatSettings::Posix()},
        {"POSIX.UTF-8", "%m/%d/%y", ".", FormatSettings::Posix()},
        {"", "%m/%d/%y", ".", FormatSettings::Posix()},
        {"en_US.UTF-8", "%m/%d/%Y", ".", {'.', DateOrder::MDY, '/'}},
        {"de_DE.UTF-8", "%d.%m.%Y", ",", {',', DateOrder::DMY, '.'}},
        {"sv_SE.UTF-8", "%Y-%m-%d", ",", {',', DateOrder::YMD, '-'}},
        {"en_GB.UTF-8", "%d/%m/%y", ".", {'.', DateOrder::DMY, '/'}},
        {"Ca_ES.UTF-8", "%d/%m/%y", ",", {',', DateOrder::DMY, '/'}},   // a name that only starts with C
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSettings::FromLocaleInfo(c.name, c.dfmt, c.name, c.radix), c.expected) << c.name;
        EXPECT_EQ(FormatSettings::IsPosixLocaleName(c.name), c.expected == FormatSettings::Posix()) << c.name;
    }
    // Dates and numbers follow their own categories.
    EXPECT_EQ(FormatSettings::FromLocaleInfo("C.UTF-8", "%m/%d/%y", "de_DE.UTF-8", ","),
              (FormatSettings{',', DateOrder::YMD, '-'}));
    EXPECT_EQ(FormatSettings::FromLocaleInfo("de_DE.UTF-8", "%d.%m.%Y", "C.UTF-8", "."),
              (FormatSettings{'.', DateOrder::DMY, '.'}));
}

// C.UTF-8 is part of every Debian system, so the machine's own locale can be used here.
TEST(FormatSettings, TheCUtf8LocaleIsThePosixOne) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    const FormatSettings fs = FormatSettings::FromLocale();
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(fs, FormatSettings::Posix());
}

TEST(FormatSettings, ReadingFormsStartWithTheUsersOwnAndHoldEachCommonFormOnce) {
    const FormatSettings own{',', DateOrder::DMY, '.'};
    const std::vector<FormatSettings> forms = own.ReadingForms();
    ASSERT_FALSE(forms.empty());
    EXPECT_EQ(forms[0], own);
    for (const char decimal : {'.', ','})
        for (const FormatSettings date : {FormatSettings{'.', DateOrder::YMD, '-'}, FormatSettings{'.', DateOrder::DMY, '.'},
                                          FormatSettings{'.', DateOrder::MDY, '/'}, FormatSettings{'.', DateOrder::DMY, '/'}}) {
            const FormatSettings f{decimal, date.ShortDateOrder, date.DateSeparator};
            EXPECT_EQ(std::count(forms.begin(), forms.end(), f), 1) << decimal << static_cast<int>(date.ShortDateOrder);
        }
    EXPECT_EQ(forms.size(), 8u);
    // A form of the user's own that is not among the common ones comes first all the same.
    const FormatSettings odd{'.', DateOrder::YMD, '/'};
    EXPECT_EQ(odd.ReadingForms().front(), odd);
    EXPECT_EQ(odd.ReadingForms().size(), 10u);
}
