#include "axistable.h"

#include <QCoreApplication>

#include "utilityservice.h"

namespace ks318 {

const std::array<ZoomEntry, kZoomEntryCount> kZoomEntries = {{
    {"ZoomAlldata1", QT_TRANSLATE_NOOP("ZoomMenu", "全データ"), 0, -1},
    {"Zoom4year1", QT_TRANSLATE_NOOP("ZoomMenu", "4 年"), 2102400, 35040},
    {"Zoom3year1", QT_TRANSLATE_NOOP("ZoomMenu", "3 年"), 1576800, 26280},
    {"Zoom2year1", QT_TRANSLATE_NOOP("ZoomMenu", "2 年"), 1051200, 17520},
    {"Zoom1year1", QT_TRANSLATE_NOOP("ZoomMenu", "1 年"), 525600, 8760},
    {"Zoom180day1", QT_TRANSLATE_NOOP("ZoomMenu", "180 日"), 259200, 4320},
    {"Zoom90day1", QT_TRANSLATE_NOOP("ZoomMenu", "90 日"), 129600, 2160},
    {"Zoom60day1", QT_TRANSLATE_NOOP("ZoomMenu", "60 日"), 86400, 1440},
    {"Zoom30day1", QT_TRANSLATE_NOOP("ZoomMenu", "30 日"), 43200, 720},
    {"Zoom15day1", QT_TRANSLATE_NOOP("ZoomMenu", "15 日"), 21600, 360},
    {"Zoom7day1", QT_TRANSLATE_NOOP("ZoomMenu", "7 日"), 10080, 168},
    {"Zoom6day1", QT_TRANSLATE_NOOP("ZoomMenu", "6 日"), 8640, 144},
    {"Zoom5day1", QT_TRANSLATE_NOOP("ZoomMenu", "5 日"), 7200, 120},
    {"Zoom4day1", QT_TRANSLATE_NOOP("ZoomMenu", "4 日"), 5760, 96},
    {"Zoom3day1", QT_TRANSLATE_NOOP("ZoomMenu", "3 日"), 4320, 72},
    {"Zoom2day1", QT_TRANSLATE_NOOP("ZoomMenu", "2 日"), 2880, 48},
    {"Zoom1day1", QT_TRANSLATE_NOOP("ZoomMenu", "1 日"), 1440, 24},
}};

AxisSettings axisSettingsForSpan(int span)
{
    auto hours = [](int ticks, int perTick) {
        AxisSettings a;
        a.ticks = ticks;
        a.unit = UnitHours;
        a.hoursPerTick = perTick;
        return a;
    };
    switch (span) {
    case 60: return hours(2, 1);
    case 180: return hours(4, 1);
    case 360: return hours(7, 1);
    case 720: return hours(13, 1);
    case 1440: return hours(25, 1);
    case 2880: return hours(25, 2);
    case 4320: return hours(25, 3);
    case 5760: return hours(25, 4);
    case 7200: return hours(31, 4);
    case 8640: return hours(25, 6);
    case 10080: return hours(22, 8);
    default: break;
    }
    if (span <= 11520) {
        const int h = span / 60;
        if (h < 25) return hours(h + 1, 1);
        if (h < 49) return hours(span / 120, 2);
        if (h < 73) return hours(span / 180, 3);
        if (h < 121) return hours(span / 240, 4);
        if (h < 145) return hours(span / 360, 6);
        return hours(span / 480, 8);
    }
    AxisSettings a;
    a.ticks = 31;
    if (span <= 43200) {
        a.unit = UnitDays;
        a.hoursPerTick = 24;
        a.daysPerTick = 1;
    } else if (span <= 259200) {
        a.unit = UnitDays;
        a.hoursPerTick = 168;
        a.daysPerTick = 7;
    } else if (span <= 525600) {
        a.unit = UnitMonths;
        a.hoursPerTick = 720;
        a.monthsPerTick = 1;
    } else {
        a.unit = UnitMonths;
        a.hoursPerTick = 2160;
        a.monthsPerTick = 3;
    }
    return a;
}

void applyAxisSettings(UtilityService& u, int spanMinutes)
{
    const AxisSettings a = axisSettingsForSpan(spanMinutes);
    u.tickCount = a.ticks;
    u.timeUnit = a.unit;
    u.hoursPerTick = a.hoursPerTick;
    u.daysPerTick = a.daysPerTick;
    u.monthsPerTick = a.monthsPerTick;
    u.spanMinutes = spanMinutes;
    u.hoursInView = spanMinutes / 60;
}

int scrollSmallStep(int span)
{
    if (span <= 11520)
        return 1;
    if (span <= 43200)
        return 24;
    if (span <= 259200)
        return 168;
    if (span <= 525600)
        return 720;
    return 2160;
}

} // namespace ks318
