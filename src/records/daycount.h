#pragma once
// Dates as the records store them: days counted from 30 December 1899, the
// time of day as the fraction. Arithmetic on readings works in whole minutes
// counted from the same origin, which compares exactly.
#include <cstdint>

namespace ks318 {

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
};

// Day count of a calendar date (1899-12-30 is 0). Months outside 1..12 are
// clamped; days count on linearly, so any byte values give a defined result.
std::int64_t dayNumber(int year, int month, int day);
CivilDate civilFromDayNumber(std::int64_t days);

// The double forms stored in the records.
double encodeDate(int year, int month, int day);
// Fraction of a day, computed in milliseconds as the stored values were.
double encodeTime(int hour, int minute, int second = 0);

// Minutes from the origin of a date-time given by fields.
inline std::int64_t minuteNumber(int year, int month, int day, int hour, int minute)
{
    return dayNumber(year, month, day) * 1440 + hour * 60 + minute;
}
// Whole minutes of a stored day count (date plus fraction), rounded to the nearest.
std::int64_t minutesFromDayCount(double dayCount);

} // namespace ks318
