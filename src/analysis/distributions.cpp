#include "distributions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ks318 {

// ---- Histograms -----------------------------------------------------------

int histogramClassWidth(int quantity)
{
    return quantity == HistDp ? 12 : 5;
}

int histogramClass(int value, int width)
{
    if (value < 0 || width <= 0)
        return 0;
    return std::min(value / width, kHistogramClasses - 1);
}

int histogramPercent(int count, std::uint32_t n)
{
    if (n == 0)
        return 0;
    return int(std::int64_t(count) * 100 / std::int64_t(n));
}

Histograms computeHistograms(const SessionData& data)
{
    Histograms h;
    h.n = data.counters.validInWindow1;
    const int count = int(std::min<std::uint32_t>(data.counters.readingCount, std::uint32_t(kMaxReadings)));
    for (int i = 0; i < count; ++i) {
        const BpReading& r = data.readings[std::size_t(i)];
        if (r.windowMembership == OutsideWindows || !r.valid())
            continue;
        const int values[kHistogramQuantities] = {int(r.sys), r.dia, r.map, r.pulse, r.doubleProduct};
        for (int q = 0; q < kHistogramQuantities; ++q)
            ++h.counts[std::size_t(q)][std::size_t(histogramClass(values[q], histogramClassWidth(q)))];
    }
    if (h.n > 0) {
        for (int q = 0; q < kHistogramQuantities; ++q)
            for (int k = 0; k < kHistogramClasses; ++k)
                h.percents[std::size_t(q)][std::size_t(k)] = histogramPercent(h.counts[std::size_t(q)][std::size_t(k)], h.n);
    }
    h.hundredPercentScale = needsHundredPercentScale(h);
    return h;
}

bool needsHundredPercentScale(const Histograms& h)
{
    for (const auto& quantity : h.percents)
        for (int p : quantity)
            if (p > 50)
                return true;
    return false;
}

int histogramBarLength(int percent, int u, bool hundredPercentScale, int count)
{
    const int axis = hundredPercentScale ? 9 * u : 18 * u;
    int length = (percent * axis + 50) / 100;
    if (count > 0 && length == 0)
        length = 1;
    return length;
}

// ---- WHO-ISH 1999 grades --------------------------------------------------

namespace {

// From the lowest grade up.
const WhoGradeInfo kGrades[kWhoGradeCount] = {
    {WhoGrade::Optimal, 0, 0, 0xE49545, 280, 286, 292},
    {WhoGrade::Normal, 120, 80, 0xE4E445, 279, 285, 291},
    {WhoGrade::HighNormal, 130, 85, 0x45E495, 278, 284, 290},
    {WhoGrade::Mild, 140, 90, 0x45E4E4, 277, 283, 289},
    {WhoGrade::Moderate, 160, 100, 0x4595E4, 276, 282, 288},
    {WhoGrade::Severe, 180, 110, 0x4545E4, 275, 281, 287},
};

} // namespace

WhoGrade whoIshGrade(int sys, int dia)
{
    for (int g = kWhoGradeCount - 1; g > 0; --g) {
        if (sys >= kGrades[g].sysLimit || dia >= kGrades[g].diaLimit)
            return kGrades[g].grade;
    }
    return WhoGrade::Optimal;
}

const WhoGradeInfo& whoGradeInfo(WhoGrade grade)
{
    const int g = std::clamp(int(grade), 0, kWhoGradeCount - 1);
    return kGrades[g];
}

int oneDecimalWhole(double value)
{
    if (!std::isfinite(value))
        return 0;
    // Values far outside any pressure are clamped first so the text always fits.
    value = std::clamp(value, -1.0e6, 1.0e6);
    char text[32];
    std::snprintf(text, sizeof text, "%4.1f", value);
    return int(std::strtol(text, nullptr, 10));
}

int gradeAxisRange(double maxSys, double maxDia)
{
    const int sys = oneDecimalWhole(maxSys);
    const int dia = oneDecimalWhole(maxDia);
    if (sys < 200)
        return dia < 150 ? 200 : 250;
    if (sys < 250)
        return dia < 200 ? 250 : 300;
    return 300;
}

// ---- Regression line ------------------------------------------------------

namespace {

constexpr double kBox = 300.0;

int truncated(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::trunc(std::clamp(v, -1.0e9, 1.0e9)));
}

LineEnd lineEnd(double x, double slope, double intercept)
{
    const double y = std::trunc(slope * x + intercept);
    if (y >= kBox + 1) {
        if (slope == 0)
            return {int(x), int(kBox)};
        return {truncated((kBox - intercept) / slope), int(kBox)};
    }
    if (y < 0) {
        if (slope == 0)
            return {int(x), 0};
        return {truncated(-intercept / slope), 0};
    }
    return {int(x), truncated(y)};
}

} // namespace

LineEnds regressionLineEnds(double slope, double intercept)
{
    return {lineEnd(1, slope, intercept), lineEnd(kBox, slope, intercept)};
}

} // namespace ks318
