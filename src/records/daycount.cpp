#include "daycount.h"

#include <cmath>

namespace ks318 {

namespace {
// Days from 1970-01-01 of a proleptic Gregorian date (after H. Hinnant).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kUnixEpochDayNumber = 25569;  // 1970-01-01 counted from 1899-12-30
} // namespace

std::int64_t dayNumber(int year, int month, int day)
{
    const unsigned m = static_cast<unsigned>(month < 1 ? 1 : (month > 12 ? 12 : month));
    return daysFromCivil(year, m, 1) + (day - 1) + kUnixEpochDayNumber;
}

CivilDate civilFromDayNumber(std::int64_t days)
{
    std::int64_t z = days - kUnixEpochDayNumber + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    CivilDate out;
    out.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    out.month = static_cast<int>(m);
    out.day = static_cast<int>(d);
    return out;
}

double encodeDate(int year, int month, int day)
{
    return static_cast<double>(dayNumber(year, month, day));
}

double encodeTime(int hour, int minute, int second)
{
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0) / 86400000.0;
}

std::int64_t minutesFromDayCount(double dayCount)
{
    if (!std::isfinite(dayCount) || std::fabs(dayCount) > 1e9)
        return 0;
    return static_cast<std::int64_t>(std::llround(dayCount * 1440.0));
}

} // namespace ks318
