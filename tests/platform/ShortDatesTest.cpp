#include "platform/ShortDates.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ShortDates, DayNumbersCountFrom30December1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2024, 3, 15), 45366);
    int y, m, d;
    ASSERT_TRUE(DecodeDate(45366.6041, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240315);
}

TEST(ShortDates, FormatAndParseInEachOrder) {
    const double date = EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 0);
    struct Case {
        FormatSettings fs;
        const char* text;
    };
    const Case cases[] = {
        {{'.', DateOrder::YMD, '-'}, "2024-03-05"},
        {{',', DateOrder::DMY, '.'}, "05.03.2024"},
        {{'.', DateOrder::MDY, '/'}, "03/05/2024"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatShortDate(date, c.fs), c.text);
        EXPECT_EQ(ParseShortDate(c.text, c.fs), EncodeDate(2024, 3, 5)) << c.text;   // time 00:00
    }
}

TEST(ShortDates, TwoDigitYearLocaleStillWritesAndReadsTheCentury) {
    // en_US writes "%m/%d/%y"; ours keeps four digits so 2024 stays 2024.
    const FormatSettings us = FormatSettings::FromLocaleStrings(".", "%m/%d/%y");
    const double date = EncodeDate(2024, 7, 1);
    EXPECT_EQ(FormatShortDate(date, us), "07/01/2024");
    EXPECT_EQ(ParseShortDate(FormatShortDate(date, us), us), date);
    EXPECT_EQ(ParseShortDate("07/01/24", us), date);   // an old two-digit file still reads
}

TEST(ShortDates, ParseRefusesBadDates) {
    const FormatSettings fs{'.', DateOrder::YMD, '-'};
    for (const char* bad : {"", "2024-02-30", "2024-13-01", "2024-00-10", "2024/03/05", "2024-03", "2024-03-05x",
                            "abcd-ef-gh", "2024--03-05", "12345-01-01"}) {
        EXPECT_FALSE(ParseShortDate(bad, fs).has_value()) << bad;
    }
    EXPECT_TRUE(ParseShortDate("2024-02-29", fs).has_value());
    EXPECT_FALSE(ParseShortDate("2023-02-29", fs).has_value());
}
