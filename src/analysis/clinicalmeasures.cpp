#include "clinicalmeasures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace ks318 {

namespace {

constexpr int kDayMinutes = 1440;

int minuteOfDay(const BpReading& r) { return int(r.hour) * 60 + int(r.minute); }

// Sums of one group of readings.
struct Sums {
    int n = 0;
    double sys = 0, dia = 0, pulse = 0, sysSq = 0, diaSq = 0;

    void add(const BpReading& r)
    {
        ++n;
        sys += r.sys;
        dia += r.dia;
        pulse += r.pulse;
        sysSq += double(r.sys) * r.sys;
        diaSq += double(r.dia) * r.dia;
    }
    Measure mean(double sum) const { return n > 0 ? Measure(sum / n) : std::nullopt; }
    // Sample SD (divisor n - 1); empty below two readings.
    static Measure sd(int n, double sum, double sumSq)
    {
        if (n < 2)
            return std::nullopt;
        const double m = sum / n;
        const double variance = (sumSq - n * m * m) / (n - 1);
        return variance > 0 ? std::sqrt(variance) : 0.0;
    }
    Measure sdSys() const { return sd(n, sys, sysSq); }
    Measure sdDia() const { return sd(n, dia, diaSq); }
    ClinicalMeans means() const
    {
        ClinicalMeans m;
        m.sys = mean(sys);
        m.dia = mean(dia);
        m.pulse = mean(pulse);
        if (m.sys && m.dia)
            m.pp = *m.sys - *m.dia;
        return m;
    }
};

Measure difference(const Measure& a, const Measure& b)
{
    return a && b ? Measure(*a - *b) : std::nullopt;
}

Measure dipPercent(const Measure& day, const Measure& night)
{
    if (!day || !night || *day == 0)
        return std::nullopt;
    return (1.0 - *night / *day) * 100.0;
}

std::optional<bool> reaches(const ClinicalMeans& m, const GuidelineThreshold& t)
{
    if (!m.sys || !m.dia)
        return std::nullopt;
    return *m.sys >= t.sys || *m.dia >= t.dia;
}

std::optional<bool> reaches(const Measure& sys, const Measure& dia, const GuidelineThreshold& t)
{
    ClinicalMeans m;
    m.sys = sys;
    m.dia = dia;
    return reaches(m, t);
}

// Time-weighted average real variability over readings in time order.
Measure averageRealVariability(const SessionData& d, const std::uint16_t* order, int count, bool sys)
{
    double weighted = 0, weights = 0;
    for (int k = 0; k + 1 < count; ++k) {
        const BpReading& a = d.readings[order[k]];
        const BpReading& b = d.readings[order[k + 1]];
        const double w = double(b.minuteNumber() - a.minuteNumber());
        const double x0 = sys ? double(a.sys) : double(a.dia);
        const double x1 = sys ? double(b.sys) : double(b.dia);
        weighted += w * std::fabs(x1 - x0);
        weights += w;
    }
    return weights > 0 ? Measure(weighted / weights) : std::nullopt;
}

Measure weightedSd(const Measure& daySd, const Measure& nightSd, double dayHours, double nightHours)
{
    if (!daySd || !nightSd || dayHours + nightHours <= 0)
        return std::nullopt;
    return (*daySd * dayHours + *nightSd * nightHours) / (dayHours + nightHours);
}

} // namespace

const char* dippingClassName(DippingClass c)
{
    switch (c) {
    case DippingClass::ExtremeDipper: return "extreme-dipper";
    case DippingClass::Dipper: return "dipper";
    case DippingClass::NonDipper: return "non-dipper";
    case DippingClass::ReverseDipper: return "reverse-dipper";
    }
    return "";
}

bool inDayWindow(int m, int from, int length, bool closed)
{
    const int offset = ((m - from) % kDayMinutes + kDayMinutes) % kDayMinutes;
    return closed ? offset <= length : offset < length;
}

ClinicalMeasures computeClinicalMeasures(const SessionData* data, int sleepHour, int sleepMinute, int wakeHour,
                                         int wakeMinute)
{
    ClinicalMeasures m;
    if (sleepHour >= 0 && sleepMinute >= 0 && wakeHour >= 0 && wakeMinute >= 0) {
        m.sleepMinute = sleepHour * 60 + sleepMinute;
        m.wakeMinute = wakeHour * 60 + wakeMinute;
    }
    if (!data)
        return m;
    const SessionData& d = *data;

    // The readings used, in time order (the file is in time order; a stable
    // insertion keeps equal times in file order and costs one pass then).
    std::array<std::uint16_t, kMaxReadings> order;
    int used = 0;
    const int count = int(std::min<std::uint32_t>(d.readingCount(), kMaxReadings));
    for (int i = 0; i < count; ++i) {
        const BpReading& r = d.readings[i];
        if (r.windowMembership == OutsideWindows || !r.valid())
            continue;
        int at = used++;
        while (at > 0 && d.readings[order[at - 1]].minuteNumber() > r.minuteNumber()) {
            order[at] = order[at - 1];
            --at;
        }
        order[at] = std::uint16_t(i);
    }

    Sums whole, day, night, morning, evening, afterWake, beforeWake;
    std::array<Sums, 24> hours;
    double sysDia = 0;
    int lowestNight = -1;   // position in `order`
    std::int64_t lastDay = -1;
    const bool times = m.timesSet();
    for (int k = 0; k < used; ++k) {
        const BpReading& r = d.readings[order[k]];
        whole.add(r);
        sysDia += double(r.sys) * r.dia;
        hours[r.hour % 24].add(r);
        if (r.periodClass == PeriodAsleep) {
            night.add(r);
            if (lowestNight < 0 || r.sys < d.readings[order[lowestNight]].sys)
                lowestNight = k;
        } else {
            day.add(r);
        }
        const std::int64_t dayNumber = r.minuteNumber() / kDayMinutes;
        if (dayNumber != lastDay) {
            ++m.days;
            lastDay = dayNumber;
        }
        if (times) {
            const int t = minuteOfDay(r);
            if (inDayWindow(t, m.wakeMinute, kMorningEveningMinutes, true))
                morning.add(r);
            if (inDayWindow(t, m.sleepMinute - kMorningEveningMinutes, kMorningEveningMinutes, false))
                evening.add(r);
            if (inDayWindow(t, m.wakeMinute, kSurgeMinutes, true))
                afterWake.add(r);
            if (inDayWindow(t, m.wakeMinute - kSurgeMinutes, kSurgeMinutes, false))
                beforeWake.add(r);
        }
    }

    m.whole = whole.means();
    m.day = day.means();
    m.night = night.means();
    m.dipSysPercent = dipPercent(m.day.sys, m.night.sys);
    m.dipDiaPercent = dipPercent(m.day.dia, m.night.dia);
    if (m.dipSysPercent) {
        const double dip = *m.dipSysPercent;
        m.dipping = dip >= 20 ? DippingClass::ExtremeDipper
                    : dip >= 10 ? DippingClass::Dipper
                    : dip >= 0 ? DippingClass::NonDipper
                    : DippingClass::ReverseDipper;
    }

    if (times) {
        m.morningSys = morning.mean(morning.sys);
        m.morningDia = morning.mean(morning.dia);
        m.morningCount = morning.n;
        m.eveningSys = evening.mean(evening.sys);
        m.eveningDia = evening.mean(evening.dia);
        m.eveningCount = evening.n;
        if (m.morningSys && m.eveningSys) {
            m.meAverage = (*m.morningSys + *m.eveningSys) / 2;
            m.meDifference = *m.morningSys - *m.eveningSys;
        }
        const Measure afterWakeSys = afterWake.mean(afterWake.sys);
        m.prewakingSurge = difference(afterWakeSys, beforeWake.mean(beforeWake.sys));
        if (lowestNight >= 0) {
            // The lowest night reading and the readings just before and after it.
            double sum = 0;
            int n = 0;
            for (int k = std::max(0, lowestNight - 1); k <= std::min(used - 1, lowestNight + 1); ++k) {
                sum += d.readings[order[k]].sys;
                ++n;
            }
            m.sleepTroughSurge = difference(afterWakeSys, sum / n);
        }
        const int nightMinutes = ((m.wakeMinute - m.sleepMinute) % kDayMinutes + kDayMinutes) % kDayMinutes;
        const double nightHours = nightMinutes / 60.0;
        const double dayHours = 24.0 - nightHours;
        m.weightedSdSys = weightedSd(day.sdSys(), night.sdSys(), dayHours, nightHours);
        m.weightedSdDia = weightedSd(day.sdDia(), night.sdDia(), dayHours, nightHours);
        m.highMorning = reaches(m.morningSys, m.morningDia, kMorningThreshold);
    }

    m.arvSys = averageRealVariability(d, order.data(), used, true);
    m.arvDia = averageRealVariability(d, order.data(), used, false);
    const Measure sdSys = whole.sdSys();
    if (sdSys && m.whole.sys && *m.whole.sys != 0)
        m.cvSys = *sdSys / *m.whole.sys * 100.0;
    if (whole.n >= 2) {
        // Least squares of DIA (y) on SYS (x).
        const double n = whole.n;
        const double sxx = n * whole.sysSq - whole.sys * whole.sys;
        const double sxy = n * sysDia - whole.sys * whole.dia;
        if (sxx > 0)
            m.aasi = 1.0 - sxy / sxx;
    }

    m.highWhole = reaches(m.whole, kWholeThreshold);
    m.highDay = reaches(m.day, kDayThreshold);
    m.highNight = reaches(m.night, kNightThreshold);
    if (m.highNight && m.highDay)
        m.isolatedNocturnal = *m.highNight && !*m.highDay;

    const PeriodCounters& c = d.counters;
    if (c.inWindow1 > 0)
        m.validPercent = double(c.validInWindow1) * 100.0 / c.inWindow1;
    m.dayCount = day.n;
    m.nightCount = night.n;
    m.enough = m.validPercent && *m.validPercent >= kAdequateValidPercent && m.dayCount >= kAdequateDayReadings
               && m.nightCount >= kAdequateNightReadings;

    for (int h = 0; h < 24; ++h) {
        m.hourSys[h] = hours[h].mean(hours[h].sys);
        m.hourDia[h] = hours[h].mean(hours[h].dia);
        m.hourCount[h] = hours[h].n;
    }
    return m;
}

} // namespace ks318
