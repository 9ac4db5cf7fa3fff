#include "summarylines.h"

#include "analysis/periodstatistics.h"
#include "records/daycount.h"
#include "session.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "records/textformat.h"

#include <cstdio>

namespace ks318 {

namespace {

constexpr int kWholeTitleId = 129;
constexpr int kPartialTitleId = 130;
constexpr int kAwakeTitleId = 131;
constexpr int kAsleepTitleId = 132;
constexpr int kDayTitleId = 133;
constexpr int kNightTitleId = 134;
constexpr int kValidId = 135;
constexpr int kNotCountedId = 136;
constexpr int kIntervalId = 137;
constexpr int kExcludedIntervalId = 138;
constexpr int kHeadingId = 139;
constexpr int kFirstRowId = 140;        // 140..143: SYS, DIA, MAP, pulse
constexpr int kThresholdsId = 144;
constexpr int kAwakeId = 145;
constexpr int kAsleepId = 146;
constexpr int kDayId = 147;
constexpr int kNightId = 148;
constexpr int kSysAboveId = 149;
constexpr int kDiaAboveId = 150;
constexpr int kSysAbovePeriodId = 151;
constexpr int kDiaAbovePeriodId = 152;
constexpr int kModeLineId = 159;
constexpr int kHoursId = 194;
constexpr int kMmHgId = 28;

QString str(int id) { return StringTable::text(id); }

QString shortDate(int year, int month, int day) { return formatShortDate(QDate(year, month, day)); }

// "hh:nn date" of a minute number.
QString timeAndDate(std::int64_t minutes)
{
    const CivilDate d = civilFromDayNumber(minutes / 1440);
    const int tod = int(minutes % 1440);
    return clockText(tod / 60, tod % 60) + QLatin1Char(' ') + shortDate(d.year, d.month, d.day);
}

} // namespace

QString summaryPeriodTitle(int period, bool ks318)
{
    switch (period) {
    case WholePeriod: return str(kWholeTitleId);
    case PartialPeriod: return str(kPartialTitleId);
    case AwakePeriod: return str(ks318 ? kDayTitleId : kAwakeTitleId);
    default: return str(ks318 ? kNightTitleId : kAsleepTitleId);
    }
}

QString summaryModeLine(int bpMode)
{
    return str(kModeLineId) + str(kFirstBpModeStringId + bpMode);
}

QString summaryClosingLine()
{
    return QString(68, QLatin1Char('-'));
}

QStringList summaryBlockLines(const Session& session, const BpThresholds& thresholds, int period)
{
    QStringList lines;
    const SessionData* data = session.data();
    if (!data)
        return lines;
    const SessionState& s = session.state;
    const PeriodStatistics& st = session.stats;
    const std::uint32_t n = periodCount(data->counters, period);
    const std::uint32_t total = periodTotal(data->counters, period);
    const bool home = s.recorderType == RecorderType::Ks318;

    lines << summaryPeriodTitle(period, home) + QStringLiteral("-------------------------");

    const QString sleepWake = clockText(s.sleepHour, s.sleepMinute) + QStringLiteral(" --> ") + clockText(s.wakeHour, s.wakeMinute);
    if (period == WholePeriod || period == PartialPeriod) {
        const AnalysisIntervals& iv = session.intervals;
        if (iv.valid) {
            const std::int64_t start = minutesFromDayCount(iv.interval1StartDate) + minutesFromDayCount(iv.interval1StartTime);
            const std::int64_t end = start + std::int64_t(iv.interval1Hours) * 60;
            lines << str(kIntervalId) + QString::number(iv.interval1Hours) + QLatin1Char(' ') + str(kHoursId)
                         + QStringLiteral(", ") + timeAndDate(start) + QStringLiteral(" --> ") + timeAndDate(end);
        } else {
            lines << str(kIntervalId) + QStringLiteral("0 ") + str(kHoursId);
        }
    } else if (period == AwakePeriod) {
        lines << str(kExcludedIntervalId) + sleepWake;
    } else {
        lines << str(kIntervalId) + sleepWake;
    }

    lines << str(kValidId) + formatText(" %u", n);
    if (total != 0)
        lines << str(kNotCountedId) + formatText(" %d (%3.1f%%)", notCountedCount(total, n), notCountedPercent(total, n));
    if (n == 0)
        return lines;

    // The heading stands over the values: the row labels are 16 columns wide.
    lines << QString(18, QLatin1Char(' ')) + str(kHeadingId);
    for (int k = ParamSys; k <= ParamPulse; ++k) {
        const double* v = st.stat[period][k];
        lines << str(kFirstRowId + k) + QStringLiteral("  ")
                     + formatText("%3.0f   %3.0f  %3.0f  %5.2f  %5.2f  %5.2f", v[StatMin], v[StatMean], v[StatMax],
                              v[StatSd], v[StatSe], v[StatCv]);
    }

    // The stored formats end in a bare "%"; the sign is printed literally.
    const double sysPct = aboveThresholdPercent(st.sysAboveCount[period], n);
    const double diaPct = aboveThresholdPercent(st.diaAboveCount[period], n);
    if (period == WholePeriod || period == PartialPeriod) {
        lines << str(kThresholdsId);
        lines << QLatin1Char(' ') + str(home ? kDayId : kAwakeId)
                     + formatText(" %3d/%3d ", thresholds.awakeSys, thresholds.awakeDia) + str(kMmHgId);
        lines << QLatin1Char(' ') + str(home ? kNightId : kAsleepId)
                     + formatText(" %3d/%3d ", thresholds.asleepSys, thresholds.asleepDia) + str(kMmHgId);
        lines << str(kSysAboveId) + formatText("  %5.1f%%", sysPct);
        lines << str(kDiaAboveId) + formatText("  %5.1f%%", diaPct);
    } else {
        const ThresholdPair pair = thresholdPairOfPeriod(thresholds, period);
        lines << str(kSysAbovePeriodId) + formatText(" %3d mmHg:  %5.1f%%", pair.sys, sysPct);
        lines << str(kDiaAbovePeriodId) + formatText(" %3d mmHg:  %5.1f%%", pair.dia, diaPct);
    }

    struct Extreme {
        int textId;
        ExtremeKind kind;
        double value;
    };
    const Extreme extremes[] = {
        {153, HighestSys, st.stat[period][ParamSys][StatMax]},
        {154, HighestDia, st.stat[period][ParamDia][StatMax]},
        {155, LowestSys, st.stat[period][ParamSys][StatMin]},
        {156, LowestDia, st.stat[period][ParamDia][StatMin]},
    };
    for (const Extreme& e : extremes) {
        const ExtremeTime& t = st.extremes[period][e.kind];
        lines << str(e.textId) + formatText(" %3.0f mmHg  %2d:%02d  ", e.value, t.hour, t.minute)
                     + shortDate(t.year, t.month, t.day);
    }
    return lines;
}

} // namespace ks318
