#pragma once
// Blocks of readings written as short texts, for table-driven tests of the
// statistics and the distribution pages.
//
//   "08:00 120/80/70; 02:30 125/75/60 n; 09:00 0/0/0 e"
//
// Each reading: time, SYS/DIA/pulse, then flags: n = night-time (asleep)
// reading, o = outside analysis window 1, w1 = in window 1 but not window 2,
// e = error reading, x = excluded by the user. Readings default to daytime
// readings inside both windows on 2 November 2026 (d+N shifts the date by N
// days). MAP and the double product follow the decoder's rules; the counters
// are counted as the reader counts them.
#include "records/sessiondata.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <memory>

namespace ks318::test {

inline std::unique_ptr<SessionData> makeBlock(const QString& text)
{
    auto d = std::make_unique<SessionData>();
    d->loaded = 1;
    PeriodCounters& c = d->counters;
    const QStringList items = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const QStringList parts = item.simplified().split(QLatin1Char(' '));
        if (parts.size() < 2)
            continue;
        BpReading& r = d->readings[c.readingCount];
        const QStringList hm = parts[0].split(QLatin1Char(':'));
        const QStringList v = parts[1].split(QLatin1Char('/'));
        const QStringList flags = parts.mid(2);
        const int dayShift = flags.filter(QStringLiteral("d+")).value(0).mid(2).toInt();
        const CivilDate date = civilFromDayNumber(dayNumber(2026, 11, 2) + dayShift);
        r.year = std::uint32_t(date.year);
        r.month = std::uint8_t(date.month);
        r.day = std::uint8_t(date.day);
        r.hour = std::uint8_t(hm.value(0).toInt());
        r.minute = std::uint8_t(hm.value(1).toInt());
        const int sys = v.value(0).toInt();
        const int dia = v.value(1).toInt();
        const int pulse = v.value(2).toInt();
        if (flags.contains(QLatin1String("e"))) {
            r.errorCode = 2;
        } else {
            r.sys = std::uint32_t(sys);
            r.dia = std::uint8_t(dia);
            r.pulse = std::uint8_t(pulse);
            r.map = std::uint16_t((sys - dia) / 3 + dia);
            r.doubleProduct = std::uint16_t(std::min(sys * pulse / 100, 650));
        }
        r.excluded = flags.contains(QLatin1String("x")) ? 1 : 0;
        if (flags.contains(QLatin1String("o"))) {
            r.windowMembership = OutsideWindows;
            r.periodClass = PeriodNone;
        } else {
            r.windowMembership = flags.contains(QLatin1String("w1")) ? InWindow1 : InWindows1And2;
            r.periodClass = flags.contains(QLatin1String("n")) ? PeriodAsleep : PeriodAwake;
        }

        ++c.readingCount;
        const bool valid = r.valid();
        c.validTotal += valid;
        if (r.windowMembership == OutsideWindows)
            continue;
        const bool both = r.windowMembership == InWindows1And2;
        const bool asleep = r.periodClass == PeriodAsleep;
        ++c.inWindow1;
        c.validInWindow1 += valid;
        c.inWindow2 += both;
        c.validInWindow2 += both && valid;
        c.asleepInWindow1 += asleep;
        c.validAsleep += asleep && valid;
        c.awakeInWindow1 += !asleep;
        c.validAwake += !asleep && valid;
    }
    return d;
}

} // namespace ks318::test
