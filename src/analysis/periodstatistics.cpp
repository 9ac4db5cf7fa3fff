#include "periodstatistics.h"

#include "records/settings.h"

#include <algorithm>
#include <cmath>

namespace ks318 {

namespace {

// Sums of one period, local to one computation.
struct Sums {
    double sum[kParameterCount] = {};
    double sumSquares[kParameterCount] = {};
    int minIndex[kParameterCount];
    int maxIndex[kParameterCount];
    double sysTimesDia = 0;
    double sysTimesPulse = 0;

    Sums()
    {
        std::fill(std::begin(minIndex), std::end(minIndex), -1);
        std::fill(std::begin(maxIndex), std::end(maxIndex), -1);
    }
};

bool belongsTo(const BpReading& r, int period)
{
    return period == WholePeriod || r.periodClass == period || r.windowMembership == period;
}

void setExtreme(ExtremeTime& t, const BpReading& r)
{
    t.year = std::int16_t(r.year);
    t.month = std::int16_t(r.month);
    t.day = std::int16_t(r.day);
    t.hour = std::int16_t(r.hour);
    t.minute = std::int16_t(r.minute);
}

Regression regress(std::uint32_t count, double sumX, double sumXX, double sumY, double sumYY, double sumXY,
                   double meanX, double meanY)
{
    const double n = count;
    const double sxx = n * sumXX - sumX * sumX;
    const double syy = n * sumYY - sumY * sumY;
    const double sxy = n * sumXY - sumX * sumY;
    Regression g;
    if (sxx * syy > 0)
        g.r = sxy / std::sqrt(sxx * syy);
    if (count > 0 && sxx != 0) {
        g.slope = sxy / sxx;
        g.intercept = meanY - g.slope * meanX;
    }
    return g;
}

} // namespace

std::uint32_t periodCount(const PeriodCounters& c, int period)
{
    switch (period) {
    case WholePeriod: return c.validInWindow1;
    case PartialPeriod: return c.validInWindow2;
    case AwakePeriod: return c.validAwake;
    case AsleepPeriod: return c.validAsleep;
    default: return 0;
    }
}

std::uint32_t periodTotal(const PeriodCounters& c, int period)
{
    switch (period) {
    case WholePeriod: return c.inWindow1;
    case PartialPeriod: return c.inWindow2;
    case AwakePeriod: return c.awakeInWindow1;
    case AsleepPeriod: return c.asleepInWindow1;
    default: return 0;
    }
}

bool countsInPeriod(const BpReading& r, int period)
{
    return belongsTo(r, period) && r.windowMembership != OutsideWindows && r.valid();
}

ThresholdPair thresholdPairFor(const BpThresholds& t, int period, int periodClass)
{
    if (period == AsleepPeriod || periodClass == PeriodAsleep)
        return {t.asleepSys, t.asleepDia};
    return {t.awakeSys, t.awakeDia};
}

ThresholdPair thresholdPairOfPeriod(const BpThresholds& t, int period)
{
    return thresholdPairFor(t, period, PeriodNone);
}

void computePeriodStatistics(PeriodStatistics& stats, const SessionData* data, const BpThresholds& thresholds)
{
    for (int p = kFirstPeriod; p <= kLastPeriod; ++p) {
        stats.sysAboveCount[p] = 0;
        stats.diaAboveCount[p] = 0;
        for (int k = 0; k < kParameterCount; ++k) {
            for (int s = 0; s < kStatCount; ++s)
                stats.stat[p][k][s] = 0;
            stats.stat[p][k][StatMin] = kStatMinStart;
        }
    }
    for (auto& period : stats.regression)
        for (Regression& g : period)
            g = Regression();
    if (!data)
        return;

    // A block filled by the reader never holds more than the capacity; a
    // block made by hand is read no further than that either.
    const int count = int(std::min<std::uint32_t>(data->counters.readingCount, std::uint32_t(kMaxReadings)));
    Sums periodSums[PartialPeriod + 1];

    for (int p = kFirstPeriod; p <= kLastPeriod; ++p) {
        Sums local;
        Sums& sums = p <= PartialPeriod ? periodSums[p] : local;
        double (&row)[kParameterCount][kStatCount] = stats.stat[p];

        for (int i = 0; i < count; ++i) {
            const BpReading& r = data->readings[std::size_t(i)];
            if (!countsInPeriod(r, p))
                continue;
            const ThresholdPair pair = thresholdPairFor(thresholds, p, r.periodClass);
            const std::int32_t sys = std::int32_t(r.sys);
            const std::int32_t dia = r.dia;
            const std::int32_t pulse = r.pulse;
            if (sys > pair.sys)
                ++stats.sysAboveCount[p];
            if (dia > pair.dia)
                ++stats.diaAboveCount[p];

            const std::int32_t v[kParameterCount] = {sys, dia, std::int32_t(r.map), pulse,
                                                     std::int32_t(r.doubleProduct)};
            for (int k = 0; k < kParameterCount; ++k) {
                sums.sum[k] += v[k];
                sums.sumSquares[k] += std::int32_t(v[k] * v[k]);
                if (v[k] < row[k][StatMin]) {
                    row[k][StatMin] = v[k];
                    sums.minIndex[k] = i;
                }
                if (v[k] > row[k][StatMax]) {
                    row[k][StatMax] = v[k];
                    sums.maxIndex[k] = i;
                }
            }
            if (p <= PartialPeriod) {
                sums.sysTimesDia += std::int32_t(sys * dia);
                sums.sysTimesPulse += std::int32_t(sys * pulse);
            }
        }

        ExtremeTime (&times)[kExtremeCount] = stats.extremes[p];
        const auto keep = [&](int index, ExtremeKind kind) {
            if (index != -1)
                setExtreme(times[kind], data->readings[std::size_t(index)]);
        };
        keep(sums.minIndex[ParamSys], LowestSys);
        keep(sums.maxIndex[ParamSys], HighestSys);
        keep(sums.minIndex[ParamDia], LowestDia);
        keep(sums.maxIndex[ParamDia], HighestDia);

        const std::uint32_t n = periodCount(data->counters, p);
        if (n >= 2) {
            const double dn = n;
            for (int k = 0; k < kParameterCount; ++k) {
                const double mean = sums.sum[k] / dn;
                const double variance =
                    (sums.sumSquares[k] - 2 * mean * sums.sum[k] + dn * mean * mean) / (dn - 1);
                const double sd = variance > 0 ? std::sqrt(variance) : 0.0;
                row[k][StatMean] = mean;
                row[k][StatSd] = sd;
                row[k][StatSe] = sd / std::sqrt(dn);
                row[k][StatCv] = mean != 0 ? sd / mean * 100 : 0.0;
            }
        }
    }

    for (int p = kFirstPeriod; p <= PartialPeriod; ++p) {
        const Sums& s = periodSums[p];
        const std::uint32_t n = periodCount(data->counters, p);
        const double meanSys = stats.stat[p][ParamSys][StatMean];
        stats.regression[p][SysOnDia] =
            regress(n, s.sum[ParamDia], s.sumSquares[ParamDia], s.sum[ParamSys], s.sumSquares[ParamSys],
                    s.sysTimesDia, stats.stat[p][ParamDia][StatMean], meanSys);
        stats.regression[p][SysOnPulse] =
            regress(n, s.sum[ParamPulse], s.sumSquares[ParamPulse], s.sum[ParamSys], s.sumSquares[ParamSys],
                    s.sysTimesPulse, stats.stat[p][ParamPulse][StatMean], meanSys);
    }
}

BpThresholds thresholdsOf(const AnalysisSettings& analysis)
{
    BpThresholds t;
    t.awakeSys = analysis.sysThreshold1;
    t.awakeDia = analysis.diaThreshold1;
    t.asleepSys = analysis.sysThreshold2;
    t.asleepDia = analysis.diaThreshold2;
    return t;
}

double aboveThresholdPercent(int aboveCount, std::uint32_t n)
{
    if (n == 0)
        return 0.0;
    return double(std::int64_t(aboveCount) * 100) / double(n);
}

int notCountedCount(std::uint32_t total, std::uint32_t n)
{
    return int(std::int64_t(total) - std::int64_t(n));
}

double notCountedPercent(std::uint32_t total, std::uint32_t n)
{
    if (total == 0)
        return 0.0;
    return double((std::int64_t(total) - std::int64_t(n)) * 100) / double(total);
}

} // namespace ks318
