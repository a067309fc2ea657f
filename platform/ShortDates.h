#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"

namespace platform {

// Dates and times are Doubles counting days since 30 December 1899; the fraction is the time of day.
double EncodeDate(int year, int month, int day);   // day number (whole)
bool DecodeDate(double dateTime, int& year, int& month, int& day);
double EncodeTime(int hour, int minute, int second);
double NowDateTime();   // local time

// The date part in the settings' field order and separator, always with a four-digit year.
std::string FormatShortDate(double dateTime, const FormatSettings& fs);
// A date in the settings' form; the result has time 00:00. Years of one or two digits are
// read as 1950 to 2049.
std::optional<double> ParseShortDate(std::string_view text, const FormatSettings& fs);

}  // namespace platform
