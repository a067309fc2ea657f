#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/FormatSettings.h"

// The version stamp of the XML and CSV exports: today's short date, the time of day and a random
// number, with nothing between them. Tests replace the clock and the random source.
struct TVersionStampSource {
    std::function<double()> Now;               // days since 30 December 1899, local time
    std::function<std::uint32_t()> Random;     // 0 to 99,999,999

    // The clock, and one generator seeded once: two stamps of the same second still differ.
    static TVersionStampSource Defaults();
};

TVersionStampSource& VersionStampSource();

// The time of day of a date-time as "hh:mm:ss" (24 hours).
std::string FormatLongTime(double dateTime);

// At most 255 bytes.
std::string MakeVersionStamp(const platform::FormatSettings& fs);
