#include "platform/ShortDates.h"

#include <cmath>
#include <ctime>

namespace platform {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

constexpr long long kEpochShift = 25569;  // 1970-01-01 is day 25569 after 1899-12-30

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

std::string Pad(int v, int width) {
    std::string s = std::to_string(v < 0 ? -v : v);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
    return v < 0 ? "-" + s : s;
}

}  // namespace

double EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kEpochShift);
}

bool DecodeDate(double dateTime, int& year, int& month, int& day) {
    if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6) return false;
    long long y;
    unsigned m, d;
    CivilFromDays(static_cast<long long>(std::trunc(dateTime)) - kEpochShift, y, m, d);
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    return true;
}

double EncodeTime(int hour, int minute, int second) { return (hour * 3600.0 + minute * 60.0 + second) / 86400.0; }

double NowDateTime() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) + EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec);
}

std::string FormatShortDate(double dateTime, const FormatSettings& fs) {
    int y = 1899, m = 12, d = 30;
    DecodeDate(dateTime, y, m, d);
    const std::string sep(1, fs.DateSeparator);
    switch (fs.ShortDateOrder) {
        case DateOrder::DMY: return Pad(d, 2) + sep + Pad(m, 2) + sep + Pad(y, 4);
        case DateOrder::MDY: return Pad(m, 2) + sep + Pad(d, 2) + sep + Pad(y, 4);
        case DateOrder::YMD: break;
    }
    return Pad(y, 4) + sep + Pad(m, 2) + sep + Pad(d, 2);
}

std::optional<double> ParseShortDate(std::string_view text, const FormatSettings& fs) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    const std::string_view t = text.substr(b, e - b);

    int fields[3];
    int widths[3];
    std::size_t i = 0;
    for (int f = 0; f < 3; ++f) {
        if (f > 0) {
            if (i >= t.size() || t[i] != fs.DateSeparator) return std::nullopt;
            ++i;
        }
        int v = 0, w = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9' && w < 4) v = v * 10 + (t[i++] - '0'), ++w;
        if (w == 0) return std::nullopt;
        fields[f] = v;
        widths[f] = w;
    }
    if (i != t.size()) return std::nullopt;

    int y, m, d, yw;
    switch (fs.ShortDateOrder) {
        case DateOrder::DMY: d = fields[0]; m = fields[1]; y = fields[2]; yw = widths[2]; break;
        case DateOrder::MDY: m = fields[0]; d = fields[1]; y = fields[2]; yw = widths[2]; break;
        default: y = fields[0]; m = fields[1]; d = fields[2]; yw = widths[0]; break;
    }
    if (yw <= 2) y += y < 50 ? 2000 : 1900;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
    return EncodeDate(y, m, d);
}

}  // namespace platform
