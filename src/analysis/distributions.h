#pragma once
// The numbers behind the distribution pages: histogram classes and their
// scale, the WHO-ISH 1999 grade of a reading and the grade page's axis range,
// and the ends of the regression lines on the correlation page. Pure
// functions; the drawing calls them.
#include "records/sessiondata.h"

#include <array>
#include <cstdint>

namespace ks318 {

// ---- Histograms -----------------------------------------------------------

constexpr int kHistogramClasses = 60;

// The five counted quantities; only SYS, DIA and pulse are drawn, but all
// five decide the scale.
enum HistogramQuantity : int { HistSys = 0, HistDia = 1, HistMap = 2, HistPulse = 3, HistDp = 4 };
constexpr int kHistogramQuantities = 5;

// Class width: 5 for the pressures and the pulse (classes span 0-300), 12
// for the double product.
int histogramClassWidth(int quantity);

// Class of a value: value / width, values beyond the last class in the last.
int histogramClass(int value, int width);

// Integer percentage of a class count: count × 100 / n (truncated); 0 when n
// is 0, which is never divided by.
int histogramPercent(int count, std::uint32_t n);

struct Histograms {
    std::uint32_t n = 0;   // readings used: the valid readings of window 1
    std::array<std::array<int, kHistogramClasses>, kHistogramQuantities> counts{};
    std::array<std::array<int, kHistogramClasses>, kHistogramQuantities> percents{};
    bool hundredPercentScale = false;  // some percentage above 50: 0-100 % axis
};

// Counts the valid readings inside analysis window 1 (n is the block's
// validInWindow1 counter) and turns the counts into percentages.
Histograms computeHistograms(const SessionData& data);

// The 0-100 % scale is used when any percentage of any quantity exceeds 50.
bool needsHundredPercentScale(const Histograms& h);

// Bar length in pixels of a class of `percent` on an axis unit of `u` pixels
// (the percentage axis is 9u long): (p·9u + 50) / 100 on the 0-100 % scale,
// (p·18u + 50) / 100 on the 0-50 % scale. A class that holds readings gets at
// least one pixel.
int histogramBarLength(int percent, int u, bool hundredPercentScale, int count);

// ---- WHO-ISH 1999 grades --------------------------------------------------

enum class WhoGrade : int { Optimal = 0, Normal, HighNormal, Mild, Moderate, Severe };
constexpr int kWhoGradeCount = 6;

struct WhoGradeInfo {
    WhoGrade grade;
    int sysLimit;       // lower SYS limit of the grade (0 for optimal)
    int diaLimit;       // lower DIA limit
    std::uint32_t colour;  // zone colour, 0x00BBGGRR
    int nameId;         // string ids of the legend
    int sysRangeId;
    int diaRangeId;
};

// The grade of a reading: the highest grade whose SYS or DIA lower limit it
// reaches.
WhoGrade whoIshGrade(int sys, int dia);
const WhoGradeInfo& whoGradeInfo(WhoGrade grade);

// A value printed with "%4.1f" and read back as a whole number stopping at
// the decimal point: 199.94 gives 199, 199.96 gives 200.
int oneDecimalWhole(double value);

// Axis range R (mmHg) of the grade page from the maximum SYS and DIA of the
// whole period: 200, 250 or 300.
int gradeAxisRange(double maxSys, double maxDia);
// Ticks of an axis of range R labelled every 50 mmHg (5, 6 or 7).
inline int gradeAxisTicks(int range) { return range / 50 + 1; }

// ---- Regression line ------------------------------------------------------

struct LineEnd {
    int x = 0;
    int y = 0;
};
struct LineEnds {
    LineEnd first;
    LineEnd second;
};

// Ends of y = slope·x + intercept in value units (mmHg or beats per minute)
// at x = 1 and x = 300, truncated; an end above 300 is moved down to the line's
// crossing of y = 300 and an end below 0 up to its crossing of y = 0. A
// horizontal line outside the box has no crossing: it is laid on the edge it
// passes, over its full width.
LineEnds regressionLineEnds(double slope, double intercept);

} // namespace ks318
