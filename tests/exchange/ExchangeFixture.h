#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "exchange/VersionStamp.h"
#include "platform/FormatSettings.h"
#include "store/FileAccess.h"

// The project of the hand-written exchange files in tests/data (exchange_dot, exchange_comma).
// Group 3 holds test 7 "Attention test" (Order 2, a two-line description, created 2024-03-15 at
// 14:30): scales 4 "Speed" (interpretations 6 [0, 4.5] and 7 [4.5, 10]) and 5 "Care"
// (interpretation 8 [-2.5, 1.25], a two-line description); questions 10, 11 and 12 with answers
// 20 and 21, 22, and 23; weights 30 (answer 20 on scale 4), 31 (answer 20 on scale 5), 32 (answer
// 21, bound to no scale), 33 and 34. Group 1 holds test 2 "Other test" with scale 1, question 1,
// answer 1 and weight 1 on scale 1, and the private test 9 "Hidden test".
void FillExchangeFixture(TFileAccess& store);
std::unique_ptr<TFileAccess> MakeExchangeProject(const platform::FormatSettings& settings);

constexpr std::int32_t kFixtureTest = 7;
constexpr std::int32_t kFixtureGroup = 3;
constexpr std::int32_t kOtherGroup = 1;
constexpr std::int32_t kPrivateTest = 9;

// The values the export dialog would hand to the export of the fixture.
inline const char* const kAuthor = "A. Author";
inline const char* const kEmail = "a@example.org";
inline const char* const kCopyright = "(c) 2026 A";

// The clock stands at 2026-12-10 09:05:03 and the random source gives 4242, for the length of
// one test.
class ScopedVersionStamp {
public:
    ScopedVersionStamp();
    ~ScopedVersionStamp();
    ScopedVersionStamp(const ScopedVersionStamp&) = delete;
    ScopedVersionStamp& operator=(const ScopedVersionStamp&) = delete;

private:
    TVersionStampSource saved_;
};
