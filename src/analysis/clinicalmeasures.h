#pragma once
// The clinical measures a physician reads off a home or ambulatory recording
// today, beside the summary statistics: day and night means, nocturnal
// dipping, morning and evening pressure, the morning surge, variability,
// arterial stiffness, the guideline thresholds reached and whether the
// recording is adequate to judge. One computation over a filled block gives
// one value; the summary window, the command line and the report only format
// it.
//
// The readings used are those the statistics count in the whole period:
// valid (no error, not excluded) and inside analysis window 1, with the
// values of the block's BpMode. Day and night are the reader's awake and
// asleep classes. Windows of the time of day (morning, evening, the surge)
// use the sleep and wake times, applied to every day and pooled over all
// days. Standard deviations divide by n - 1. A measure whose inputs are
// missing is empty (std::nullopt); nothing divides by zero.
#include "records/sessiondata.h"

#include <array>
#include <optional>

namespace ks318 {

using Measure = std::optional<double>;

// Fixed thresholds of the out-of-office guidelines (mmHg), independent of the
// report thresholds of the settings: the 24-hour, daytime, night-time and
// morning means (ESH 2023, ISH 2020, JSH 2019).
struct GuidelineThreshold {
    int sys;
    int dia;
};
constexpr GuidelineThreshold kWholeThreshold{130, 80};
constexpr GuidelineThreshold kDayThreshold{135, 85};
constexpr GuidelineThreshold kNightThreshold{120, 70};
constexpr GuidelineThreshold kMorningThreshold{135, 85};

// Adequacy: at least this share of valid readings and this many valid day
// and night readings.
constexpr double kAdequateValidPercent = 70.0;
constexpr int kAdequateDayReadings = 20;
constexpr int kAdequateNightReadings = 7;

// Widths of the time-of-day windows, in minutes.
constexpr int kMorningEveningMinutes = 60;
constexpr int kSurgeMinutes = 120;

enum class DippingClass { ExtremeDipper, Dipper, NonDipper, ReverseDipper };
// "extreme-dipper", "dipper", "non-dipper", "reverse-dipper".
const char* dippingClassName(DippingClass c);

struct ClinicalMeans {
    Measure sys;
    Measure dia;
    Measure pulse;
    Measure pp;     // pulse pressure, SYS - DIA
};

struct ClinicalMeasures {
    ClinicalMeans whole;
    ClinicalMeans day;
    ClinicalMeans night;

    Measure dipSysPercent;   // (1 - night / day) x 100
    Measure dipDiaPercent;
    std::optional<DippingClass> dipping;   // by the SYS dip

    // [wake, wake + 60 min] and [sleep - 60 min, sleep); counts are empty
    // when the sleep and wake times are not set.
    Measure morningSys;
    Measure morningDia;
    std::optional<int> morningCount;
    Measure eveningSys;
    Measure eveningDia;
    std::optional<int> eveningCount;
    Measure meAverage;       // SYS: (morning + evening) / 2
    Measure meDifference;    // SYS: morning - evening

    Measure prewakingSurge;  // SYS [wake, wake + 2 h] - SYS [wake - 2 h, wake)
    Measure sleepTroughSurge;   // SYS [wake, wake + 2 h] - mean of the night's lowest and its neighbours

    Measure arvSys;          // time-weighted average real variability
    Measure arvDia;
    Measure weightedSdSys;   // day and night SDs weighted by their hours
    Measure weightedSdDia;
    Measure cvSys;           // whole-window SD / mean x 100
    Measure aasi;            // 1 - slope of DIA on SYS

    // Guideline thresholds reached (SYS or DIA at or above); empty when the
    // mean is missing.
    std::optional<bool> highWhole;
    std::optional<bool> highDay;
    std::optional<bool> highNight;
    std::optional<bool> highMorning;
    std::optional<bool> isolatedNocturnal;   // night high, day not

    Measure validPercent;    // valid / all readings of window 1
    int dayCount = 0;        // valid day readings
    int nightCount = 0;      // valid night readings
    int days = 0;            // calendar days with a valid reading
    bool enough = false;

    // The 24-hour profile: hourly means by clock hour 0..23.
    std::array<Measure, 24> hourSys{};
    std::array<Measure, 24> hourDia{};
    std::array<int, 24> hourCount{};

    // The sleep and wake times as minutes after midnight; -1 when not set.
    int sleepMinute = -1;
    int wakeMinute = -1;
    bool timesSet() const { return sleepMinute >= 0 && wakeMinute >= 0; }
};

// The measures of `data` (null: no block, every measure empty) with the
// sleep and wake times (hours and minutes, -1 when not set).
ClinicalMeasures computeClinicalMeasures(const SessionData* data, int sleepHour, int sleepMinute, int wakeHour,
                                         int wakeMinute);

// Whether minute-of-day `m` lies `from` minutes onward for `length` minutes,
// across midnight; the end is included when `closed`.
bool inDayWindow(int m, int from, int length, bool closed);

} // namespace ks318
