#include <gtest/gtest.h>

#include "exchange/VersionStamp.h"
#include "platform/ShortDates.h"
#include "tests/exchange/ExchangeFixture.h"

using platform::EncodeDate;
using platform::EncodeTime;

TEST(VersionStamp, IsTheShortDateTheTimeAndTheRandomNumberWithNothingBetween) {
    ScopedVersionStamp stamp;
    EXPECT_EQ(MakeVersionStamp(platform::FormatSettings::Posix()), "2026-12-1009:05:034242");
    EXPECT_EQ(MakeVersionStamp({',', platform::DateOrder::DMY, '.'}), "10.12.202609:05:034242");
    EXPECT_EQ(MakeVersionStamp({'.', platform::DateOrder::MDY, '/'}), "12/10/202609:05:034242");
}

TEST(VersionStamp, TimeOfDayKeepsToTheDay) {
    const std::pair<double, const char*> cases[] = {
        {EncodeDate(2026, 1, 2), "00:00:00"},
        {EncodeDate(2026, 1, 2) + EncodeTime(14, 30, 5), "14:30:05"},
        {EncodeDate(2026, 1, 2) + EncodeTime(23, 59, 59), "23:59:59"},
        // Half a second before midnight is still the same day.
        {EncodeDate(2026, 1, 2) + (86400 - 0.4) / 86400, "23:59:59"},
        {0.75, "18:00:00"},
        // The second the time is in, never the next one.
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 9) + 0.75 / 86400, "07:08:09"},
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 9) + 0.5 / 86400, "07:08:09"},
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 9) + 0.999 / 86400, "07:08:09"},
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 59) + 0.6 / 86400, "07:08:59"},
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 59, 59) + 0.9 / 86400, "07:59:59"},
        // A whole second that the fraction of a day holds only nearly is that second.
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 9), "07:08:09"},
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 9) - 1e-11, "07:08:09"},
        {EncodeDate(2026, 1, 2) + EncodeTime(7, 8, 10) - 0.2 / 86400, "07:08:09"},
    };
    for (const auto& [when, text] : cases) EXPECT_EQ(FormatLongTime(when), text) << when;
}

TEST(VersionStamp, WritesTheSecondTheClockIsIn) {
    ScopedVersionStamp stamp;
    VersionStampSource().Now = [] { return EncodeDate(2026, 12, 10) + EncodeTime(7, 8, 9) + 0.75 / 86400; };
    EXPECT_EQ(MakeVersionStamp(platform::FormatSettings::Posix()), "2026-12-1007:08:094242");
    EXPECT_EQ(MakeVersionStamp({',', platform::DateOrder::DMY, '.'}), "10.12.202607:08:094242");
    // The last moment of a day stays in that day.
    VersionStampSource().Now = [] { return EncodeDate(2026, 12, 10) + (86400 - 0.25) / 86400; };
    EXPECT_EQ(MakeVersionStamp(platform::FormatSettings::Posix()), "2026-12-1023:59:594242");
}

TEST(VersionStamp, TwoStampsOfTheSameSecondDifferInTheirRandomPart) {
    ScopedVersionStamp fixed;
    // The real random source with a clock that does not move.
    VersionStampSource().Random = TVersionStampSource::Defaults().Random;
    const std::string first = MakeVersionStamp(platform::FormatSettings::Posix());
    const std::string second = MakeVersionStamp(platform::FormatSettings::Posix());
    EXPECT_EQ(first.substr(0, 18), "2026-12-1009:05:03");
    EXPECT_NE(first, second);
    for (int i = 0; i < 200; ++i) {
        const std::string random = MakeVersionStamp(platform::FormatSettings::Posix()).substr(18);
        ASSERT_FALSE(random.empty());
        ASSERT_LE(std::stoll(random), 99'999'999);
    }
}
