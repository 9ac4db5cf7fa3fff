#include "distributionpages.h"

#include "analysis/distributions.h"
#include "session/session.h"
#include "records/stringtable.h"

#include <algorithm>
#include <vector>
#include <QCoreApplication>

namespace ks318 {

namespace {

constexpr int kDayId = 24;
constexpr int kNightId = 25;
constexpr int kMmHgId = 28;
constexpr int kBpmId = 29;
constexpr int kSysId = 38;
constexpr int kDiaId = 39;
constexpr int kPulseId = 40;
constexpr int kCorrelationId = 61;
constexpr int kSystolicId = 63;
constexpr int kDiastolicId = 64;
constexpr int kPulseTitleId = 67;
constexpr int kFullAnalysisId = 193;
constexpr int kLegendTitleId = 272;
constexpr int kSysHeadId = 273;
constexpr int kDiaHeadId = 274;

QString str(int id) { return StringTable::text(id); }

bool used(const BpReading& r) { return r.windowMembership != OutsideWindows && r.valid(); }

int readingCount(const SessionData& d) { return int(std::min<std::uint32_t>(d.readingCount(), kMaxReadings)); }

void clearPage(PlotJob& job, const QRect& page)
{
    if (!job.printing())
        job.u.DrawBox(page.left(), page.top(), page.left() + page.width(), page.top() + page.height(), kPlotBackground,
                      1, true, false, false);
}

// The BpMode name at the bottom right and, on the screen or a page exported
// on its own, the window title at the bottom left.
void drawFooter(PlotJob& job, const QRect& page, const SessionData& data)
{
    UtilityService& u = job.u;
    const int bottom = page.top() + page.height();
    u.SetFontKind(-1);
    u.DrawText(page.left() + page.width() - page.width() / 200, bottom, bpModeNameOf(data), kDataColour, AlignRight,
               AlignBottom);
    if (job.layout.showsTitleLine())
        u.DrawText(page.left() + page.width() / 200, bottom, job.session.state.windowTitleText, kDataColour,
                   AlignLeft, AlignBottom);
}

void labelsOf(const char* const* texts, int count, AxisLabel* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = axisLabel(texts[i]);
}

} // namespace

void drawCorrelationPage(PlotJob& job, const QRect& page, const SessionData* given)
{
    UtilityService& u = job.u;
    clearPage(job, page);
    BlockAtHand block(job.session, given);
    if (!block.get())
        return;
    const SessionData& data = *block.get();
    PeriodStatistics& st = job.session.stats;
    computePeriodStatistics(st, &data, job.thresholds);
    const int n = int(data.counters.validInWindow1);
    const bool home = job.session.state.recorderType == RecorderType::Ks318;
    const bool printing = job.printing();
    const BpThresholds& t = job.thresholds;
    const int h = job.layout.h;
    const int m = job.layout.m;

    u.SetFontKind(-1);
    const int w = u.TextWidthOf(QStringLiteral(" SYS 300")) + 2;
    const int gg = u.TextHeightOf(QStringLiteral("Gg"));
    const int width = page.width();
    const int lefts[2] = {page.left() + w + 5, page.left() + w + 5 + width / 2 - w / 4};
    // The second plot's "SYS" stands centred 4w/5 left of its axis; the
    // first plot ends a margin short of it, which the plain half-width
    // rule misses by a few pixels.
    u.SetFontKind(-4);
    const int sysLeft = lefts[1] - 4 * w / 5 - (u.TextWidthOf(str(kSysId)) + 1) / 2;
    u.SetFontKind(-1);
    const int s = std::max(1, std::min({width / 2 - w - w / 6, sysLeft - m - 1 - lefts[0], page.height() - 12 * h}));
    const int top = page.top() + h + h / 2;
    const int y0 = top + s;
    auto row = [&](int r) { return y0 + 2 * m + r * gg; };

    static const char* const kAxisTexts[7] = {"0", "", "100", "", "200", "", "300"};
    AxisLabel labels[7];
    labelsOf(kAxisTexts, 7, labels);

    for (int p = 0; p < 2; ++p) {
        const int left = lefts[p];
        auto px = [&](int v) { return left + v * s / 300; };
        auto py = [&](int v) { return y0 - v * s / 300; };
        u.DrawValueAxis(left, y0, left + s, y0, kAxisLineColour, kAxisLabelColour, -m, 7, labels, 1, true, 1);
        u.DrawValueAxis(left, y0, left, y0 - s, kAxisLineColour, kAxisLabelColour, -m, 7, labels, 1, true, 1);

        if (home && p == 0) {
            if (!printing) {
                u.DrawBox(left, y0 - s, left + s, y0, 0x4545E4, 1, true, false, false);
                u.DrawBox(left, py(t.awakeSys), px(t.awakeDia), y0, 0x45E4E4, 1, true, false, false);
                u.DrawBox(left, py(t.asleepSys), px(t.asleepDia), y0, 0x45E495, 1, true, false, false);
                u.DrawBox(left, py(std::min(t.awakeSys, t.asleepSys)), px(std::min(t.awakeDia, t.asleepDia)), y0,
                          0xE49545, 1, true, false, false);
            } else {
                for (const auto& [sys, dia] : {std::pair(t.awakeSys, t.awakeDia), std::pair(t.asleepSys, t.asleepDia)}) {
                    u.DrawLine(left, py(sys), px(dia), py(sys), kDataColour, 1, false);
                    u.DrawLine(px(dia), py(sys), px(dia), y0, kDataColour, 1, false);
                }
            }
        }

        const int radius = printing ? 7 : 4;
        for (int i = 0; i < readingCount(data); ++i) {
            const BpReading& r = data.readings[std::size_t(i)];
            if (!used(r))
                continue;
            Colour fill = kDataColour;
            if (home) {
                if (r.periodClass == PeriodAsleep)
                    fill = kPeriodBarColour;
                else
                    fill = printing ? 0xFFFFFF : 0xFF0000;
            }
            u.DrawMarker(px(p == 0 ? r.dia : r.pulse), py(int(r.sys)), radius, fill, kAxisLineColour, false);
        }

        const Regression& g = st.regression[WholePeriod][p == 0 ? SysOnDia : SysOnPulse];
        const LineEnds ends = regressionLineEnds(g.slope, g.intercept);
        u.DrawLine(px(ends.first.x), py(ends.first.y), px(ends.second.x), py(ends.second.y),
                   printing ? kAxisLineColour : kDataColour, 1, false);
        u.DrawValueAxis(left, y0, left, y0 - s, kAxisLineColour, kAxisLabelColour, -m, 7, labels, 1, true, 1);

        u.SetFontKind(-4);
        u.DrawText(left + s / 2, row(1), str(p == 0 ? kDiaId : kPulseId), kCaptionColour, AlignCentre, AlignTop);
        u.DrawText(left - 4 * w / 5, y0 - s / 2, str(kSysId), kCaptionColour, AlignCentre, AlignMiddle);
        u.SetFontKind(-1);
        u.DrawText(left + s, row(1), str(p == 0 ? kMmHgId : kBpmId), kCaptionColour, AlignCentre, AlignTop);
        u.DrawText(left - h / 2, top - h / 2, str(kMmHgId), kCaptionColour, AlignRight, AlignBottom);
        const QString pad = QStringLiteral("   ");
        const QString nText = pad + QString::asprintf("n = %4d ", n);
        const int nx = left + u.TextWidthOf(pad);
        u.DrawText(nx, top, nText, kDataColour, AlignLeft, AlignBottom);

        if (home) {
            const int end = nx + u.TextWidthOf(nText);
            // On the screen the sample sits 4 pixels left of the text end,
            // inside the text's two closing blanks. The printer's larger
            // circle keeps a gap of 3 pixels to the ":", the text moving
            // left when the blanks are too narrow for it.
            const int blanks = u.TextWidthOf(QStringLiteral("  "));
            const int sampleX = printing ? end - radius - 1 : end - 4;
            const int textEnd = printing ? end - std::max(0, 2 * radius + 4 - blanks) : end;
            const struct {
                int textId;
                Colour fill;
            } legend[2] = {{kDayId, printing ? 0xFFFFFFu : 0xFF0000u}, {kNightId, kPeriodBarColour}};
            for (int k = 0; k < 2; ++k) {
                const int y = top + (k + 1) * h;
                u.DrawText(textEnd, y, str(legend[k].textId) + QStringLiteral(" :  "), kCaptionColour, AlignRight,
                           AlignTop);
                u.DrawMarker(sampleX, y + h / 2, radius, legend[k].fill, kAxisLineColour, false);
            }
        }

        u.DrawText(left + s / 2, row(4),
                   QString::asprintf(p == 0 ? "SYS =%5.2f * DIA + %5.2f" : "SYS =%5.2f * PULSE + %5.2f", g.slope,
                                     g.intercept),
                   kDataColour, AlignCentre, AlignTop);
        u.DrawText(left + s / 2, row(5), str(kCorrelationId) + QString::asprintf(": r =%5.2f", g.r), kDataColour,
                   AlignCentre, AlignTop);

        if (home && p == 0) {
            const struct {
                const char* caption;
                int sys;
                int dia;
            } limits[2] = {{QT_TRANSLATE_NOOP("DistributionPages", "閾値1 : "), t.awakeSys, t.awakeDia},
                            {QT_TRANSLATE_NOOP("DistributionPages", "閾値2 : "), t.asleepSys, t.asleepDia}};
            for (int k = 0; k < 2; ++k) {
                int x = left;
                const QString caption = QCoreApplication::translate("DistributionPages", limits[k].caption);
                u.DrawText(x, row(7 + k), caption, kCaptionColour, AlignLeft, AlignTop);
                x += u.TextWidthOf(caption);
                const QString sysText = str(kSysId) + QString::asprintf(" = %d ", limits[k].sys);
                u.DrawText(x, row(7 + k), sysText, kDataColour, AlignLeft, AlignTop);
                x += u.TextWidthOf(sysText);
                u.DrawText(x, row(7 + k), str(kDiaId) + QString::asprintf(" = %d ", limits[k].dia), kDataColour,
                           AlignLeft, AlignTop);
            }
        }
    }

    // Means and standard deviations between the plots.
    const int c = ((lefts[0] + s / 2) + (lefts[1] + s / 2)) / 2 + 5;
    u.SetFontKind(-1);
    const int sw = u.TextWidthOf(str(kSysId));
    const int columns[3] = {c - 2 * sw - sw / 2, c - sw / 2, c + sw + sw / 2};
    const int parameters[3] = {ParamSys, ParamDia, ParamPulse};
    const int heads[3] = {kSysId, kDiaId, kPulseId};
    u.SetFontKind(-4);
    for (int k = 0; k < 3; ++k)
        u.DrawText(columns[k], row(6), str(heads[k]), kCaptionColour, AlignLeft, AlignTop);
    const struct {
        const char* label;
        int kind;
    } rows[2] = {{QT_TRANSLATE_NOOP("DistributionPages", "平均"), StatMean}, {"SD", StatSd}};
    for (int k = 0; k < 2; ++k) {
        u.SetFontKind(-4);
        u.DrawText(columns[0] - 10, row(7 + k), QCoreApplication::translate("DistributionPages", rows[k].label), kCaptionColour, AlignRight, AlignTop);
        u.SetFontKind(-1);
        for (int q = 0; q < 3; ++q)
            u.DrawText(columns[q], row(7 + k), QString::asprintf("%4.1f", st.value(WholePeriod, parameters[q], rows[k].kind)),
                       kDataColour, AlignLeft, AlignTop);
    }
    drawFooter(job, page, data);
}

void drawHistogramPage(PlotJob& job, const QRect& page, const SessionData* given)
{
    UtilityService& u = job.u;
    clearPage(job, page);
    BlockAtHand block(job.session, given);
    if (!block.get())
        return;
    const SessionData& data = *block.get();
    PeriodStatistics& st = job.session.stats;
    computePeriodStatistics(st, &data, job.thresholds);
    const Histograms hist = computeHistograms(data);
    const int h = job.layout.h;
    const int m = job.layout.m;
    const int unit = page.width() / 32;
    const int height = page.height();
    const int bottom = page.top() + 2 * (height / 6) + height / 2;
    const int top = page.top() + height / 6;

    u.SetFontKind(-1);
    const int gg = u.TextHeightOf(QStringLiteral("Gg"));
    static const char* const kValueTexts[7] = {"   0", "  50", " 100", " 150", " 200", " 250", " 300"};
    static const char* const kWideScale[3] = {" 0%", "50%", "100%"};
    static const char* const kNarrowScale[3] = {" 0%", "25%", "50%"};
    AxisLabel valueLabels[7];
    AxisLabel scaleLabels[3];
    labelsOf(kValueTexts, 7, valueLabels);
    labelsOf(hist.hundredPercentScale ? kWideScale : kNarrowScale, 3, scaleLabels);

    const struct {
        int quantity;
        int parameter;
        int titleId;
        int unitId;
    } histograms[3] = {{HistSys, ParamSys, kSystolicId, kMmHgId},
                       {HistDia, ParamDia, kDiastolicId, kMmHgId},
                       {HistPulse, ParamPulse, kPulseTitleId, kBpmId}};
    for (int i = 0; i < 3; ++i) {
        const int axis = page.left() + 2 * unit + 10 * unit * i;
        const auto& counts = hist.counts[std::size_t(histograms[i].quantity)];
        const auto& percents = hist.percents[std::size_t(histograms[i].quantity)];
        int upper = bottom;
        for (int k = 0; k < kHistogramClasses; ++k) {
            const int y = bottom - (k + 1) * (bottom - top) / kHistogramClasses;
            const int length = histogramBarLength(percents[std::size_t(k)], unit, hist.hundredPercentScale,
                                                  counts[std::size_t(k)]);
            if (length > 0)
                u.DrawBox(axis + 1, y, axis + 1 + length, upper - 1, kDataColour, 1, true, false, false);
            upper = y;
        }
        u.DrawValueAxis(axis, bottom, axis + 9 * unit, bottom, kAxisLineColour, kAxisLabelColour, -m, 3, scaleLabels,
                        1, true, 1);
        u.DrawValueAxis(axis, bottom, axis, top, kAxisLineColour, kAxisLabelColour, -m, 7, valueLabels, 1, true, 1);
        u.SetFontKind(-1);
        u.DrawText(axis - h / 2, top - h / 2 - h, str(histograms[i].unitId), kCaptionColour, AlignRight, AlignBottom);

        const int centre = axis + 9 * unit / 2;
        u.SetFontKind(-4);
        u.DrawText(centre, top - 3 * gg, str(histograms[i].titleId), kCaptionColour, AlignCentre, AlignTop);
        u.SetFontKind(-1);
        const QString line = QCoreApplication::translate("DistributionPages", "平均=") + QString::asprintf("%4.1f", st.value(WholePeriod, histograms[i].parameter, StatMean))
                             + QStringLiteral(" SD=") + QString::asprintf("%4.1f", st.value(WholePeriod, histograms[i].parameter, StatSd));
        u.DrawText(centre, top - 2 * gg, line, kDataColour, AlignCentre, AlignTop);
    }
    drawFooter(job, page, data);
}

namespace {

// The grade legend's measures in its font (kind -5): row height, column
// width (that of the longest grade name), the gap between columns and the
// whole width (swatch and three columns, or the title when it is wider).
struct Legend {
    int row = 0;
    int column = 0;
    int gap = 0;
    int width = 0;
};

Legend gradeLegend(UtilityService& u)
{
    Canvas* canvas = u.canvas();
    Legend l;
    if (!canvas)
        return l;
    const FontSpec saved = canvas->font();
    u.SetFontKind(-5);
    l.row = u.TextHeightOf(QStringLiteral("Gg"));
    l.column = u.TextWidthOf(str(276));
    l.gap = u.TextWidthOf(QStringLiteral("　")) / 2;
    int widest = 0;
    for (int id : {kSysHeadId, kDiaHeadId, kMmHgId, 281, 282, 283, 284, 285, 286, 287, 288, 289, 290, 291, 292})
        widest = std::max(widest, u.TextWidthOf(str(id)));
    const int table = l.row + l.gap + 2 * (l.column + l.gap) + std::max(l.column, widest);
    l.width = std::max(table, u.TextWidthOf(str(kLegendTitleId)));
    canvas->setFont(saved);
    return l;
}

} // namespace

void drawGradePage(PlotJob& job, const QRect& page, const SessionData* given)
{
    UtilityService& u = job.u;
    clearPage(job, page);
    BlockAtHand block(job.session, given);
    if (!block.get())
        return;
    const SessionData& data = *block.get();
    PeriodStatistics& st = job.session.stats;
    computePeriodStatistics(st, &data, job.thresholds);
    const int n = int(data.counters.validInWindow1);
    const bool printing = job.printing();
    const int h = job.layout.h;
    const int m = job.layout.m;

    u.SetFontKind(-1);
    const int w = u.TextWidthOf(QStringLiteral(" SYS 300")) + 2;
    const int gg = u.TextHeightOf(QStringLiteral("Gg"));
    const int left = page.left() + w + 5;
    // The legend's size in its own font decides how wide the plot may be.
    const Legend legend = gradeLegend(u);
    const int s = std::max(1, std::min(page.height() - 5 * h, page.left() + page.width() - legend.width - w - w / 2 - left));
    const int top = page.top() + h + h / 2;
    const int y0 = top + s;
    const int range = gradeAxisRange(st.value(WholePeriod, ParamSys, StatMax), st.value(WholePeriod, ParamDia, StatMax));
    auto px = [&](int v) { return left + v * s / range; };
    auto py = [&](int v) { return y0 - v * s / range; };

    if (!printing) {
        u.DrawBox(left, y0 - s, left + s, y0, whoGradeInfo(WhoGrade::Severe).colour, 1, true, false, false);
        for (int g = int(WhoGrade::Moderate); g >= int(WhoGrade::Optimal); --g) {
            const WhoGradeInfo& upper = whoGradeInfo(WhoGrade(g + 1));
            u.DrawBox(left, py(upper.sysLimit), px(upper.diaLimit), y0, whoGradeInfo(WhoGrade(g)).colour, 1, true,
                      false, false);
        }
    }

    const int ticks = gradeAxisTicks(range);
    std::vector<AxisLabel> labels(static_cast<std::size_t>(ticks));
    for (int i = 0; i < ticks; ++i)
        labels[std::size_t(i)] = axisLabel(QByteArray::number(i * 50).constData());
    u.DrawValueAxis(left, y0, left + s, y0, kAxisLineColour, kAxisLabelColour, -m, ticks, labels.data(), 1, true, 1);
    u.DrawValueAxis(left, y0, left, y0 - s, kAxisLineColour, kAxisLabelColour, -m, ticks, labels.data(), 1, true, 1);

    for (int i = 0; i < readingCount(data); ++i) {
        const BpReading& r = data.readings[std::size_t(i)];
        if (!used(r))
            continue;
        const bool asleep = r.periodClass == PeriodAsleep;
        u.DrawMarker(px(r.dia), py(int(r.sys)), 5, asleep ? kMarkerDark : kMarkerLight,
                     asleep ? kMarkerLight : kMarkerDark, false);
    }

    u.SetFontKind(-4);
    u.DrawText(left + s / 2, y0 + 2 * m + gg, str(kDiaId), kCaptionColour, AlignCentre, AlignTop);
    u.DrawText(left - 4 * w / 5, y0 - s / 2, str(kSysId), kCaptionColour, AlignCentre, AlignMiddle);
    // The title row above the plot, where the axis unit stands too.
    // Centred over the plot, or further right where a small plot would put
    // it over the count at the plot's left.
    const QString nText = QString::asprintf("  (n = %d)", n);
    const int titleWidth = u.TextWidthOf(str(kFullAnalysisId));
    u.SetFontKind(-1);
    const int nRight = left + 2 + u.TextWidthOf(nText);
    u.SetFontKind(-4);
    const int titleCentre = std::max(left + s / 2, nRight + m + titleWidth / 2 + 1);
    u.DrawText(titleCentre, top - h / 2, str(kFullAnalysisId), kCaptionColour, AlignCentre, AlignBottom);
    u.SetFontKind(-1);
    u.DrawText(left + s, y0 + 2 * m + gg, str(kMmHgId), kCaptionColour, AlignCentre, AlignTop);
    u.DrawText(left - h / 2, top - h / 2, str(kMmHgId), kCaptionColour, AlignRight, AlignBottom);
    u.DrawText(left + 2, top - h / 2, nText, kCaptionColour, AlignLeft, AlignBottom);

    // The legend, in the legend font; the canvas font is put back after it.
    Canvas* canvas = u.canvas();
    const FontSpec saved = canvas->font();
    u.SetFontKind(-5);
    const int lh = legend.row;
    const int gap = legend.gap;
    const int lx = left + s + w;
    const int swatch = lh;
    const int nameX = lx + swatch + gap;
    const int sysX = nameX + legend.column + gap;
    const int diaX = sysX + legend.column + gap;
    int y = top;
    u.DrawText(lx, y, str(kLegendTitleId), kCaptionColour, AlignLeft, AlignTop);
    y += 2 * lh;
    u.DrawText(sysX, y, str(kSysHeadId), kCaptionColour, AlignLeft, AlignTop);
    u.DrawText(diaX, y, str(kDiaHeadId), kCaptionColour, AlignLeft, AlignTop);
    y += lh;
    u.DrawText(sysX, y, str(kMmHgId), kCaptionColour, AlignLeft, AlignTop);
    u.DrawText(diaX, y, str(kMmHgId), kCaptionColour, AlignLeft, AlignTop);
    y += lh + lh / 2;
    for (int g = int(WhoGrade::Severe); g >= int(WhoGrade::Optimal); --g) {
        const WhoGradeInfo& info = whoGradeInfo(WhoGrade(g));
        u.DrawBox(lx, y, lx + swatch, y + lh, info.colour, 1, true, false, false);
        u.DrawBox(lx, y, lx + swatch, y + lh, kAxisLineColour, 1, false, false, false);
        u.DrawText(nameX, y, str(info.nameId), kCaptionColour, AlignLeft, AlignTop);
        u.DrawText(sysX, y, str(info.sysRangeId), kCaptionColour, AlignLeft, AlignTop);
        u.DrawText(diaX, y, str(info.diaRangeId), kCaptionColour, AlignLeft, AlignTop);
        y += lh + lh / 2;
    }
    canvas->setFont(saved);
    drawFooter(job, page, data);
}

} // namespace ks318
