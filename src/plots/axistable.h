#pragma once
// The zoom entries of the trend and the time-axis settings for a visible
// span: how many ticks, in which unit, how far apart.
#include <array>

namespace ks318 {

class UtilityService;

struct AxisSettings {
    int ticks = 0;
    int unit = 0;             // TimeUnit
    double hoursPerTick = 1;
    double daysPerTick = 1;
    double monthsPerTick = 1;
};

// The axis of a span in minutes (integer arithmetic throughout).
AxisSettings axisSettingsForSpan(int spanMinutes);

// Copies the axis of `spanMinutes` into the tick fields of `u`.
void applyAxisSettings(UtilityService& u, int spanMinutes);

// Small step of the trend's scroll bar, in hours, for a span.
int scrollSmallStep(int spanMinutes);

struct ZoomEntry {
    const char* name;       // object name of the menu item
    const char* caption;
    int spanMinutes;        // 0: the whole analysis window
    int shownAboveHours;    // shown when the window is longer than this; -1 always
};

constexpr int kZoomEntryCount = 17;
extern const std::array<ZoomEntry, kZoomEntryCount> kZoomEntries;

// The span an entry selects for a window of `windowHours`.
inline int zoomSpan(const ZoomEntry& e, int windowHours) { return e.spanMinutes ? e.spanMinutes : windowHours * 60; }
inline bool zoomEntryShown(const ZoomEntry& e, int windowHours)
{
    return e.shownAboveHours < 0 || windowHours > e.shownAboveHours;
}

} // namespace ks318
