// The real-number and short-date writers and readers under every common form: what is written
// reads back as the value shown, and what is read, written and read again stays the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"
#include "platform/RealNumbers.h"
#include "platform/ShortDates.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The first bytes as a double, any bit pattern.
double DoubleOf(const std::uint8_t* data, std::size_t size) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, std::min(size, sizeof bits));
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void Reals(double v, std::string_view text, const platform::FormatSettings& fs) {
    if (std::isfinite(v)) {
        const std::string written = platform::FormatReal(v, fs);
        const auto back = platform::ParseReal(written, fs);
        Check(back.has_value());
        Check(*back == platform::RoundToShown(v));
        Check(platform::FormatReal(*back, fs) == written);
    }
    if (const auto read = platform::ParseReal(text, fs)) {
        Check(std::isfinite(*read));
        const std::string written = platform::FormatReal(*read, fs);
        const auto again = platform::ParseReal(written, fs);
        Check(again.has_value());
        Check(*again == platform::RoundToShown(*read));
        Check(platform::FormatReal(*again, fs) == written);
    }
}

void Dates(double v, std::string_view text, const platform::FormatSettings& fs) {
    int y = 0, m = 0, d = 0;
    // Within the years a four-digit field holds, a date reads back as its day.
    if (platform::DecodeDate(v, y, m, d) && y >= 1 && y <= 9999) {
        const auto back = platform::ParseShortDate(platform::FormatShortDate(v, fs), fs);
        Check(back.has_value());
        Check(*back == platform::EncodeDate(y, m, d));
    }
    if (const auto read = platform::ParseShortDate(text, fs)) {
        Check(*read == std::trunc(*read));
        const std::string written = platform::FormatShortDate(*read, fs);
        const auto again = platform::ParseShortDate(written, fs);
        Check(again == read);
        Check(platform::FormatShortDate(*again, fs) == written);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const double v = DoubleOf(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const platform::FormatSettings& fs : platform::FormatSettings::Posix().ReadingForms()) {
        Reals(v, text, fs);
        Dates(v, text, fs);
    }
    return 0;
}
