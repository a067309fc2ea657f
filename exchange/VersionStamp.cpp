#include "exchange/VersionStamp.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <random>

#include "platform/CodePage.h"
#include "platform/ShortDates.h"

namespace {

constexpr std::uint32_t kRandomMax = 99'999'999;

std::string TwoDigits(long long v) { return (v < 10 ? "0" : "") + std::to_string(v); }

}  // namespace

TVersionStampSource TVersionStampSource::Defaults() {
    // Seeded from the system's entropy and the clock once; re-seeding from the clock on every
    // stamp would give the same number to every stamp of one clock tick.
    auto generator = std::make_shared<std::mt19937>();
    std::random_device device;
    const auto ticks = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), ticks};
    generator->seed(seed);
    return {
        [] { return platform::NowDateTime(); },
        [generator] { return std::uniform_int_distribution<std::uint32_t>(0, kRandomMax)(*generator); },
    };
}

TVersionStampSource& VersionStampSource() {
    static TVersionStampSource source = TVersionStampSource::Defaults();
    return source;
}

std::string FormatLongTime(double dateTime) {
    if (!std::isfinite(dateTime)) return "00:00:00";
    const double fraction = std::fabs(dateTime - std::trunc(dateTime));
    // The second the time is in, as a clock shows it: the fraction is read to the millisecond
    // (a time stored as a fraction of a day is not exact) and the milliseconds are dropped.
    long long milliseconds = std::llround(fraction * 86'400'000.0);
    if (milliseconds >= 86'400'000) milliseconds = 86'399'999;
    const long long seconds = milliseconds / 1000;
    return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" + TwoDigits(seconds % 60);
}

std::string MakeVersionStamp(const platform::FormatSettings& fs) {
    TVersionStampSource& source = VersionStampSource();
    const double now = source.Now();
    const std::uint32_t random = source.Random() % (kRandomMax + 1);
    return platform::CutShortText(platform::FormatShortDate(now, fs) + FormatLongTime(now) + std::to_string(random));
}
