#include "trendpage.h"

#include "axistable.h"

#include "records/daycount.h"
#include "session/session.h"
#include "records/stringtable.h"

#include <algorithm>

namespace ks318 {

namespace {

constexpr int kBpTitleId = 51;
constexpr int kDoubleProductTitleId = 52;
constexpr int kPulseTitleId = 55;
constexpr int kNightId = 25;
constexpr int kSleepId = 27;
constexpr int kMmHgId = 28;
constexpr int kBpmId = 29;

QString str(int id) { return StringTable::text(id); }

// Pixel of a minute of the trend's frame, not clipped.
int xOfMinute(const TrendView& v, std::int64_t t, int left, int right)
{
    return left + int((t - v.startMinute) * std::int64_t(right - left) / std::max(1, v.span));
}

int clampX(int x, int left, int right) { return std::clamp(x, left, right); }

// The common frame of the BP and double-product panels: title, axes and grid.
struct PanelFrame {
    int y0;   // plot bottom
    int y1;   // plot top
    int d;    // plot height
};

PanelFrame panelFrame(const PlotJob& job, int top, int bottom)
{
    PanelFrame f;
    f.y0 = bottom - job.layout.m;
    f.y1 = top + job.layout.h;
    f.d = f.y0 - f.y1;
    return f;
}

void drawModeName(PlotJob& job, const SessionData& data, int right, int top)
{
    job.u.DrawText(right - 5, top, QStringLiteral("(") + bpModeNameOf(data) + QStringLiteral(")"), kCaptionColour,
                   AlignRight, AlignTop);
}

void drawGrid(PlotJob& job, const TrendView& view, int left, int right, const PanelFrame& f, int lines)
{
    UtilityService& u = job.u;
    if (u.timeUnit == UnitHours)
        u.DrawTimeGrid(left, f.y0, right, f.y1, kGridColour, u.tickCount, lines, 1);
    else
        u.DrawCalendarGrid(left, f.y0, right, f.y1, view.startDateTime, kGridColour, u.tickCount, lines, 1);
}

void drawThresholdLines(PlotJob& job, const TrendView& view, int left, int right, const PanelFrame& f)
{
    UtilityService& u = job.u;
    const BpThresholds& t = job.thresholds;
    const int m = job.layout.m;
    auto y = [&f](int v) { return f.y0 - f.d * v / 280; };

    const auto periods = sleepPeriods(job, view);
    if (!periods.empty()) {
        const std::int64_t viewEnd = view.startMinute + view.span;
        auto segment = [&](std::int64_t from, std::int64_t to, int sys, int dia) {
            from = std::max(from, view.startMinute);
            to = std::min(to, viewEnd);
            if (to <= from)
                return;
            const int x1 = clampX(xOfMinute(view, from, left, right), left, right);
            const int x2 = clampX(xOfMinute(view, to, left, right), left, right);
            u.DrawLine(x1, y(sys), x2, y(sys), kCaptionColour, 1, false);
            u.DrawLine(x1, y(dia), x2, y(dia), kCaptionColour, 1, false);
        };
        std::int64_t awakeFrom = view.startMinute;
        for (const auto& [s, w] : periods) {
            segment(awakeFrom, s, t.awakeSys, t.awakeDia);
            segment(s, w, t.asleepSys, t.asleepDia);
            awakeFrom = std::max(awakeFrom, w);
        }
        segment(awakeFrom, viewEnd, t.awakeSys, t.awakeDia);
    }

    // The four values on stubs to the right of the plot.
    u.SetFontKind(-1);
    const int asleepX = right + 4 * m + u.TextWidthOf(QStringLiteral("000 "));
    const std::pair<int, int> stubs[] = {
        {t.awakeSys, right + 4 * m}, {t.awakeDia, right + 4 * m}, {t.asleepSys, asleepX}, {t.asleepDia, asleepX}};
    for (const auto& [value, textX] : stubs) {
        u.DrawLine(right, y(value), right + 3 * m, y(value), kCaptionColour, 1, false);
        u.DrawText(textX, y(value), QString::number(value), kCaptionColour, AlignLeft, AlignMiddle);
    }
}

} // namespace

int TrendPage::panelCount() const
{
    return int(std::count_if(panels.begin(), panels.end(), [](const TrendPanel& p) { return p.type != PanelEmpty; }));
}

TrendPage TrendPage::builtIn()
{
    TrendPage page;
    page.panels[0].type = PanelBp;
    page.panels[0].params = {1, 1, 1, 0};
    return page;
}

std::int64_t trendMinuteOf(const SessionData& data, int index)
{
    const BpReading& first = data.readings[0];
    const BpReading& r = data.readings[std::size_t(index)];
    return (dayNumber(int(r.year), r.month, r.day) - dayNumber(int(first.year), first.month, first.day)) * 1440
           + r.hour * 60 + r.minute;
}

TrendView trendViewOf(const PlotJob& job, const SessionData* data)
{
    const SessionState& st = job.session.state;
    const SessionState::Window& w = st.window1;
    TrendView v;
    v.span = std::max(1, job.spanMinutes);
    v.windowHours = std::max(0, int(job.session.intervals.interval1Hours));
    v.dayOffset = std::max(0, w.dayOffset);
    const int startHour = std::max(0, w.hour) + job.scrollHours;
    v.startMinute = std::int64_t(v.dayOffset) * 1440 + std::int64_t(startHour) * 60;
    std::int64_t day = 0;
    if (w.year > 0 && w.month > 0 && w.day > 0)
        day = dayNumber(w.year, w.month, w.day);
    else if (data && data->readingCount() > 0)
        day = dayNumber(int(data->readings[0].year), data->readings[0].month, data->readings[0].day) + v.dayOffset;
    v.startDateTime = double(day * 1440 + std::int64_t(startHour) * 60) / 1440.0;
    return v;
}

std::vector<std::pair<std::int64_t, std::int64_t>> sleepPeriods(const PlotJob& job, const TrendView& view)
{
    std::vector<std::pair<std::int64_t, std::int64_t>> periods;
    const SessionState& st = job.session.state;
    if (!st.sleepTimesSet())
        return periods;
    const int sleep = st.sleepHour * 60 + st.sleepMinute;
    const int wake = st.wakeHour * 60 + st.wakeMinute;
    // A period crossing midnight: when day 0's wake time lies before the
    // view, each night runs into the next day; otherwise it starts the day
    // before, so the morning of day 0 is covered.
    const bool wakeNextDay = sleep > wake && wake < view.startMinute;
    // The days of the window, but only those that can reach into the view
    // (a day either side of it): a day offset read from a damaged companion
    // file may lie millions of days out. The last day of the window stays
    // when none reaches the view, so the callers still see a period.
    const std::int64_t lastDay = std::min<std::int64_t>(std::int64_t(view.dayOffset) + view.windowHours / 24 + 1,
                                                        (view.startMinute + view.span) / 1440 + 1);
    const std::int64_t firstDay = std::min(std::max<std::int64_t>(0, view.startMinute / 1440 - 1), lastDay);
    for (std::int64_t d = firstDay; d <= lastDay; ++d) {
        std::int64_t s = d * 1440 + sleep;
        std::int64_t w = d * 1440 + wake;
        if (s > w) {
            if (wakeNextDay)
                w += 1440;
            else
                s -= 1440;
        }
        periods.emplace_back(s, w);
    }
    return periods;
}

void drawSleepBar(PlotJob& job, const TrendView& view, int left, int right, int top, int plotTop)
{
    UtilityService& u = job.u;
    const int h = job.layout.h;
    const int bottom = top + h;
    u.DrawBox(left, top, right + 1, bottom, kPlotBackground, 1, true, false, false);
    u.DrawBox(left, top, right + 1, bottom, kAxisLineColour, 1, false, false, false);
    const std::int64_t viewEnd = view.startMinute + view.span;
    u.SetFontKind(-1);
    const QString label = str(job.session.state.recorderType == RecorderType::Ks318 ? kNightId : kSleepId);
    const int labelWidth = u.TextWidthOf(label);
    for (const auto& [s, w] : sleepPeriods(job, view)) {
        if (w < view.startMinute || s > viewEnd || w <= s)
            continue;
        const bool startShown = s >= view.startMinute;
        const bool endShown = w <= viewEnd;
        const int xs = startShown ? xOfMinute(view, s, left, right) : left;
        const int xe = endShown ? xOfMinute(view, w, left, right) : right;
        if (startShown)
            u.DrawDottedLine(xs, top, xs, plotTop, kPeriodBarColour, 1, false, 3);
        if (endShown)
            u.DrawDottedLine(xe, top, xe, plotTop, kPeriodBarColour, 1, false, 3);
        const bool labelled = labelWidth < xe - xs;
        const int mid = (xs + xe) / 2;
        if (labelled && job.printing()) {
            const int gap = (labelWidth + 6) / 2;
            u.DrawBox(xs, top, mid - gap, bottom, kPeriodBarColour, 1, true, false, false);
            u.DrawBox(mid + gap, top, xe, bottom, kPeriodBarColour, 1, true, false, false);
        } else {
            u.DrawBox(xs, top, xe, bottom, kPeriodBarColour, 1, true, false, false);
        }
        if (labelled)
            u.DrawText(mid, bottom, label, kPeriodBarColour, AlignCentre, AlignBottom);
    }
}

void drawBpPanel(PlotJob& job, const SessionData& data, const TrendView& view, const TrendPanel& panel, int left,
                 int top, int right, int bottom)
{
    UtilityService& u = job.u;
    const int h = job.layout.h;
    const int m = job.layout.m;
    const bool bars = panel.params[0] != 0;
    const bool pulse = panel.params[2] != 0;
    const PanelFrame f = panelFrame(job, top, bottom);
    auto y = [&f](int v) { return f.y0 - f.d * v / 280; };

    u.SetFontKind(-1);
    QString title = bars ? str(kBpTitleId) : QString();
    if (pulse)
        title += QStringLiteral("  ") + str(kPulseTitleId);
    u.DrawText((left + right) / 2, top, title, kCaptionColour, AlignCentre, AlignTop);
    drawModeName(job, data, right, top);

    static const char* const kLabels[8] = {"  0", " 40", " 80", "120", "160", "200", "240", "280"};
    AxisLabel labels[8];
    const bool every = f.d / 10 > h;
    for (int i = 0; i < 8; ++i)
        labels[i] = axisLabel(every || i % 2 == 0 ? kLabels[i] : "");
    u.DrawValueAxis(left, f.y0, left, f.y1, kAxisLineColour, kAxisLabelColour, -m, 8, labels, 1, true, 1);
    u.DrawValueAxis(right, f.y0, right, f.y1, kAxisLineColour, kAxisLabelColour, m, 8, nullptr, 1, true, 1);
    u.DrawLine(left, f.y0, right, f.y0, kAxisLineColour, 1, false);

    u.SetFontKind(-1);
    const int unitRight = left - 2 * m - u.TextWidthOf(QStringLiteral(" 000"));
    u.DrawText(unitRight, f.y1, str(kMmHgId), kCaptionColour, AlignRight, AlignMiddle);
    if (pulse)
        u.DrawText(unitRight, f.y1 + h, str(kBpmId), kCaptionColour, AlignRight, AlignMiddle);

    drawGrid(job, view, left, right, f, 8);
    if (bars)
        drawThresholdLines(job, view, left, right, f);

    // The bars first, then the pulse markers over them.
    const int width = right - left;
    const int count = int(std::min<std::uint32_t>(data.readingCount(), kMaxReadings));
    const std::int64_t viewEnd = view.startMinute + view.span;
    const int radius = job.printing() ? 5 : 2;
    for (int pass = 0; pass < 2; ++pass) {
        if ((pass == 0 && !bars) || (pass == 1 && !pulse))
            continue;
        for (int i = 0; i < count; ++i) {
            const BpReading& r = data.readings[std::size_t(i)];
            if (r.windowMembership == OutsideWindows || !r.valid())
                continue;
            const std::int64_t t = trendMinuteOf(data, i);
            if (t < view.startMinute || t > viewEnd)
                continue;
            const int x = left + int((t - view.startMinute) * width / view.span);
            if (pass == 1)
                u.DrawMarker(x, y(r.pulse), radius, kSecondDataColour, kAxisLineColour, false);
            else if (r.methodText.view().substr(0, 1) == "*")
                u.DrawDottedLine(x, y(int(r.sys)), x, y(r.dia), kDataColour, 1, false, 2);
            else
                u.DrawLine(x, y(int(r.sys)), x, y(r.dia), job.printing() ? kAxisLineColour : kDataColour, 2, false);
        }
    }
}

void drawDoubleProductPanel(PlotJob& job, const SessionData& data, const TrendView& view, int left, int top,
                            int right, int bottom)
{
    UtilityService& u = job.u;
    const int m = job.layout.m;
    const PanelFrame f = panelFrame(job, top, bottom);
    auto y = [&f](int v) { return f.y0 - v * f.d / 600; };

    u.SetFontKind(-1);
    u.DrawText((left + right) / 2, top, str(kDoubleProductTitleId), kCaptionColour, AlignCentre, AlignTop);
    drawModeName(job, data, right, top);
    u.DrawText(left + 2 * m, top,
               QStringLiteral("(") + str(kMmHgId) + QStringLiteral("*") + str(kBpmId) + QStringLiteral(")/100"),
               kCaptionColour, AlignLeft, AlignTop);

    static const char* const kLabels[7] = {"  0", "100", "200", "300", "400", "500", "600"};
    AxisLabel labels[7];
    for (int i = 0; i < 7; ++i)
        labels[i] = axisLabel(kLabels[i]);
    u.DrawValueAxis(left, f.y0, left, f.y1, kAxisLineColour, kAxisLabelColour, -m, 7, labels, 1, true, 1);
    u.DrawValueAxis(right, f.y0, right, f.y1, kAxisLineColour, kAxisLabelColour, m, 7, nullptr, 1, true, 1);
    u.DrawLine(left, f.y0, right, f.y0, kAxisLineColour, 1, false);
    drawGrid(job, view, left, right, f, 13);

    const int width = right - left;
    const int count = int(std::min<std::uint32_t>(data.readingCount(), kMaxReadings));
    const std::int64_t viewEnd = view.startMinute + view.span;
    bool first = true;
    int px = 0;
    int py = 0;
    for (int i = 0; i < count; ++i) {
        const BpReading& r = data.readings[std::size_t(i)];
        if (r.windowMembership == OutsideWindows || !r.valid())
            continue;
        const std::int64_t t = trendMinuteOf(data, i);
        if (t < view.startMinute || t > viewEnd)
            continue;
        const int x = left + int((t - view.startMinute) * width / view.span);
        const int yy = y(r.doubleProduct);
        if (first) {
            px = x;
            py = yy;
            first = false;
        }
        u.DrawLine(px, py, x, yy, kDataColour, 1, false);
        px = x;
        py = yy;
    }
}

void drawTrendPage(PlotJob& job, const TrendPage& page, const QRect& area, const SessionData* given)
{
    UtilityService& u = job.u;
    const int h = job.layout.h;
    const int m = job.layout.m;
    const int x0 = area.left();
    const int y0 = area.top();
    const int width = area.width();
    const int height = area.height();
    if (!job.printing())
        u.DrawBox(x0, y0, x0 + width, y0 + height, kPlotBackground, 1, true, false, false);
    BlockAtHand block(job.session, given);
    const int count = page.panelCount();
    if (!block.get() || count == 0)
        return;
    const SessionData& data = *block.get();
    applyAxisSettings(u, job.spanMinutes);
    const TrendView view = trendViewOf(job, &data);

    u.SetFontKind(-1);
    const int side = u.TextWidthOf(QStringLiteral("mmHg 200 "));
    const int left = x0 + 2 * m + side;
    const int right0 = x0 + width - side - 2 * m;
    const int right = left + ((right0 - left) / 12) * 12 + 1;
    // The title line and the time axis's title share the page's last row.
    // Where the title line is long enough to reach the axis title (a
    // narrow page, a long name), the panels give up a row so that the axis
    // and its title stand above it.
    const QString titleLine = job.layout.showsTitleLine() ? job.session.state.windowTitleText : QString();
    const int axisTitleLeft = (left + right) / 2 - u.TextWidthOf(u.timeAxisTitle()) / 2;
    const bool shareRow = titleLine.isEmpty() || x0 + 10 + u.TextWidthOf(titleLine) + 2 * m <= axisTitleLeft;
    const int p = (height - (shareRow ? 3 : 4) * h - m) / count;

    int slot = 0;
    int firstPlotTop = y0 + h;
    for (const TrendPanel& panel : page.panels) {
        if (panel.type == PanelEmpty)
            continue;
        const int top = y0 + p * slot;
        const int bottom = y0 + p * (slot + 1);
        if (slot == 0)
            firstPlotTop = top + h;
        if (panel.type == PanelBp)
            drawBpPanel(job, data, view, panel, left, top, right, bottom);
        else if (panel.type == PanelDoubleProduct)
            drawDoubleProductPanel(job, data, view, left, top, right, bottom);
        ++slot;
    }

    const bool shortSpan = view.span <= 10080;
    const int axisY = y0 + count * p - m + (shortSpan ? h : 0);
    u.BuildTimeAxis(left, axisY, right, view.startDateTime, view.span, m, 1);
    if (shortSpan)
        drawSleepBar(job, view, left, right, y0 + count * p - m, firstPlotTop);
    if (!titleLine.isEmpty()) {
        u.SetFontKind(-1);
        // In the page's last row, wholly: a row placed one pixel lower
        // loses its last line of pixels to the edge.
        u.DrawText(x0 + 10, y0 + height - h, titleLine, kDataColour, AlignLeft, AlignTop);
    }
}

} // namespace ks318
