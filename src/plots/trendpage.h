#pragma once
// The BP trend: a page of up to four panels over one time axis, the BP
// panel (SYS-DIA bars, pulse markers, threshold lines), the double-product
// panel and the sleep-period bar. The graphics window draws the built-in
// page into its plot area; the printed report lays the same panels out on
// paper with its own row height and margins.
#include "plotjob.h"

#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace ks318 {

struct SessionData;

enum PanelType : int { PanelEmpty = 0, PanelBp = 1, PanelDoubleProduct = 2 };

struct TrendPanel {
    int type = PanelEmpty;
    QString title;
    // BP panel: [0] shows the SYS-DIA bars, [2] the pulse markers.
    std::array<int, 4> params{};
};

struct TrendPage {
    QString name;
    std::array<TrendPanel, 4> panels;

    int panelCount() const;
    // The page the program builds at start: no name, a BP panel with bars
    // and pulse in slot 1, the other slots empty.
    static TrendPage builtIn();
};

// Where the trend's view lies: in minutes from the midnight of the first
// reading's date (the frame the readings are placed in) and as a date-time
// for the axis labels.
struct TrendView {
    std::int64_t startMinute = 0;
    double startDateTime = 0;
    int span = 1;
    int windowHours = 0;
    int dayOffset = 0;
};
TrendView trendViewOf(const PlotJob& job, const SessionData* data);

// Minutes of a reading from the midnight of the first reading's date.
std::int64_t trendMinuteOf(const SessionData& data, int index);

// The sleep periods [start, end] of every day of the window in the same
// frame, a period that crosses midnight placed by the day-0 rule; empty when
// a sleep or wake time is unset.
std::vector<std::pair<std::int64_t, std::int64_t>> sleepPeriods(const PlotJob& job, const TrendView& view);

// The whole page in `area`; with no non-empty slot nothing is drawn.
// `data` null: a block is filled and freed here.
void drawTrendPage(PlotJob& job, const TrendPage& page, const QRect& area, const SessionData* data);

// One panel in the box (left, top)-(right, bottom).
void drawBpPanel(PlotJob& job, const SessionData& data, const TrendView& view, const TrendPanel& panel, int left,
                 int top, int right, int bottom);
void drawDoubleProductPanel(PlotJob& job, const SessionData& data, const TrendView& view, int left, int top,
                            int right, int bottom);
// The sleep-period bar: a row of height h from `top`, with dotted edge
// lines up to `plotTop`.
void drawSleepBar(PlotJob& job, const TrendView& view, int left, int right, int top, int plotTop);

} // namespace ks318
