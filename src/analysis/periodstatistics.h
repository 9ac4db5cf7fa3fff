#pragma once
// Summary statistics of a recording over the four analysis periods: the whole
// interval (analysis window 1), the partial interval (window 2), and the awake
// (daytime) and asleep (night-time) readings of window 1. The table is
// rewritten from a freshly filled SessionData each time a view needs numbers;
// nothing is updated incrementally.
#include "records/sessiondata.h"

#include <cstdint>

namespace ks318 {


// Analysis periods, numbered as the tables index them (0 is not used).
enum AnalysisPeriod : int { WholePeriod = 1, PartialPeriod = 2, AwakePeriod = 3, AsleepPeriod = 4 };
constexpr int kFirstPeriod = 1;
constexpr int kLastPeriod = 4;

enum BpParameter : int { ParamSys = 0, ParamDia = 1, ParamMap = 2, ParamPulse = 3, ParamDp = 4 };
constexpr int kParameterCount = 5;

// Column order of every summary table: "MIN  MEAN  MAX    SD     SE   CV(%)".
enum StatKind : int { StatMin = 0, StatMean = 1, StatMax = 2, StatSd = 3, StatSe = 4, StatCv = 5 };
constexpr int kStatCount = 6;

// The four extreme times kept per period, in this order.
enum ExtremeKind : int { LowestSys = 0, HighestSys = 1, LowestDia = 2, HighestDia = 3 };
constexpr int kExtremeCount = 4;

// The two regressions of periods 1 and 2; y is always SYS.
enum RegressionPair : int { SysOnDia = 0, SysOnPulse = 1 };
constexpr int kRegressionPairCount = 2;

// MIN starts here, so a period without counted readings shows MIN 300, MAX 0.
constexpr double kStatMinStart = 300.0;

// The four BP thresholds (mmHg). The awake pair judges daytime readings, the
// asleep pair night-time ones. Within each pair SYS is above DIA.
struct BpThresholds {
    int awakeSys = 140;
    int awakeDia = 90;
    int asleepSys = 120;
    int asleepDia = 70;
};

struct AnalysisSettings;
// The four thresholds of the settings as the statistics take them.
BpThresholds thresholdsOf(const AnalysisSettings& analysis);

struct ExtremeTime {
    std::int16_t year = 0;
    std::int16_t month = 0;
    std::int16_t day = 0;
    std::int16_t hour = 0;
    std::int16_t minute = 0;
};

struct Regression {
    double r = 0;          // correlation coefficient
    double slope = 0;
    double intercept = 0;
};

// The statistics table. Period-indexed arrays are indexed by the period
// number 1..4 directly; index 0 is never written.
struct PeriodStatistics {
    double stat[kLastPeriod + 1][kParameterCount][kStatCount] = {};
    std::int16_t sysAboveCount[kLastPeriod + 1] = {};
    std::int16_t diaAboveCount[kLastPeriod + 1] = {};
    // Times of the readings holding the extremes. Not reset by a computation:
    // a period without counted readings keeps the times of an earlier one, and
    // the displays do not show them then.
    ExtremeTime extremes[kLastPeriod + 1][kExtremeCount] = {};
    // Periods 1 and 2 only.
    Regression regression[PartialPeriod + 1][kRegressionPairCount] = {};

    double value(int period, int parameter, int kind) const { return stat[period][parameter][kind]; }
};

// Rewrites `stats` from `data` (null: no block) with the given thresholds.
// Allocates nothing; four passes over the readings.
void computePeriodStatistics(PeriodStatistics& stats, const SessionData* data, const BpThresholds& thresholds);

// n of a period: the number of its counted (valid) readings, from the
// counters the reader filled.
std::uint32_t periodCount(const PeriodCounters& counters, int period);
// All readings of a period, counted or not.
std::uint32_t periodTotal(const PeriodCounters& counters, int period);

// Whether a reading counts in a period: it belongs to the period, lies inside
// analysis window 1 and is valid (no error, not excluded by the user).
bool countsInPeriod(const BpReading& reading, int period);

// The (SYS, DIA) pair that judges a reading of a period: the asleep pair in
// period 4 and for night-time readings of periods 1 and 2, else the awake pair.
struct ThresholdPair {
    int sys = 0;
    int dia = 0;
};
ThresholdPair thresholdPairFor(const BpThresholds& thresholds, int period, int periodClass);
// The pair a period's page shows: the asleep pair for period 4, else the awake pair.
ThresholdPair thresholdPairOfPeriod(const BpThresholds& thresholds, int period);

// Percentage of n counted readings that are above a threshold: count × 100 / n,
// 0 when n is 0.
double aboveThresholdPercent(int aboveCount, std::uint32_t n);

// Readings of a period that are not counted (error readings and readings
// excluded by the user): total − n.
int notCountedCount(std::uint32_t total, std::uint32_t n);
// Their percentage of the period's total. A period without any reading has
// nothing left out, so its percentage is 0 (the summary leaves the line out
// then; the summary window shows "0 (0.0%)").
double notCountedPercent(std::uint32_t total, std::uint32_t n);

} // namespace ks318
