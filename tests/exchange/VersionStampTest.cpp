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
    };
    for (const auto& [when, text] : cases) EXPECT_EQ(FormatLongTime(when), text) << when;
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
