#pragma once
// The drawing layer under every graph: a graph is written once against
// UtilityService and comes out on the window's picture (device 0) or on a
// printer page (device 1). The layer picks fonts, colours and pen modes per
// device, makes the small corrections the printer needs, and carries the
// state of the time axis of the trend graphs so that the axis, the grid and
// the data points agree.
#include "canvas.h"

#include "records/types.h"

#include <QString>
#include <array>
#include <vector>

namespace ks318 {

// Fixed plot colours, 0x00BBGGRR.
constexpr Colour kPlotBackground = 0xC0C0C0;
constexpr Colour kAxisLineColour = 0x000000;
constexpr Colour kAxisLabelColour = 0x000000;
constexpr Colour kCaptionColour = 0x000000;
constexpr Colour kGridColour = 0x000000;
constexpr Colour kPeriodBarColour = 0x000000;
constexpr Colour kDataColour = 0x800000;
constexpr Colour kSecondDataColour = 0x00FFFF;
constexpr Colour kMarkerLight = 0xFFFFFF;
constexpr Colour kMarkerDark = 0x000000;
constexpr Colour kZoneColours[6] = {0x4545E4, 0x4595E4, 0x45E4E4, 0x45E495, 0xE4E445, 0xE49545};
constexpr Colour kPrinterBackground = 0xFFFFFF;
constexpr Colour kPrinterText = 0x000000;

// Alignment codes of DrawText.
enum TextAlign : int { AlignLeft = 0, AlignCentre = 1, AlignRight = 2, AlignTop = 3, AlignMiddle = 4, AlignBottom = 5 };

enum Device : int { ScreenDevice = 0, PrinterDevice = 1 };
enum TimeUnit : int { UnitHours = 0, UnitDays = 1, UnitMonths = 2 };

// Font faces on this platform. The window face and the kind -5 face stand
// for the Japanese system faces; the printer's face is fixed pitch for Latin
// and Japanese alike, so printed columns line up.
inline const char* const kScreenFace = "IPAGothic";
constexpr int kScreenFacePixels = 13;
inline const char* const kLegendFace = "IPAPMincho";
inline const char* const kPrinterFace = "IPAGothic";

// One tick label: 8 bytes, zero-terminated; an empty cell draws no label.
using AxisLabel = std::array<char, 8>;
AxisLabel axisLabel(const char* text);

class UtilityService {
public:
    UtilityService(int device, Canvas* screenCanvas, Canvas* printerCanvas);

    // Fields, as the graphs and their creators read and set them.
    int device;
    Canvas* screenCanvas;
    Canvas* printerCanvas;
    int tickCount = 0;
    int timeUnit = UnitHours;
    int hoursInView = 0;
    double hoursPerTick = 1;
    double daysPerTick = 1;
    double monthsPerTick = 1;
    std::vector<int> tickMinutes;
    // The visible span of the trend in minutes (the graphics window's span,
    // as the plots read it) and the recorder type of the open file, which the
    // label-step rule of the axes looks at.
    int spanMinutes = 0;
    RecorderType recorderType = RecorderType::Ks318;

    // The canvas of the device; null for an unknown device.
    Canvas* canvas() const;
    bool printing() const { return device == PrinterDevice; }

    void SetFontKind(int kind);
    void DrawText(int x, int y, const QString& text, Colour colour, int horizontal, int vertical);
    void DrawDot(int x, int y, int penWidth, Colour colour, bool xorMode);
    void DrawMarker(int x, int y, int radius, Colour fill, Colour pen, bool xorMode);
    void DrawLine(int x1, int y1, int x2, int y2, Colour colour, int penWidth, bool xorMode);
    void DrawDottedLine(int x1, int y1, int x2, int y2, Colour colour, int penWidth, bool xorMode, int step);
    void DrawBox(int x1, int y1, int x2, int y2, Colour colour, int penWidth, bool filled, bool xorMode, bool hatched);
    void DrawValueAxis(int x1, int y1, int x2, int y2, Colour axisColour, Colour labelColour, int tickLength,
                       int ticks, const AxisLabel* labels, int penWidth, bool countIncludesEnd, int labelStep);
    void DrawTimeAxis(int x1, int y1, int x2, int y2, Colour axisColour, Colour labelColour, int tickLength,
                      int ticks, const AxisLabel* labels, int penWidth, bool countIncludesEnd, int labelStep);
    // `viewStart` is a date-time (days from 1899-12-30, time as fraction).
    void BuildTimeAxis(int x1, int y, int x2, double viewStart, int spanMinutes, int tickLength, int labelStep);
    // The title BuildTimeAxis puts under the axis for the current time unit.
    QString timeAxisTitle() const;
    void DrawTimeGrid(int left, int bottom, int right, int top, Colour colour, int verticalLines, int horizontalLines,
                      int penWidth);
    void DrawCalendarGrid(int left, int bottom, int right, int top, double viewStart, Colour colour,
                          int verticalLines, int horizontalLines, int penWidth);
    int TextHeightOf(const QString& text);
    int TextWidthOf(const QString& text);

    // The dot step of grids: 4 on the screen, 10 on the printer.
    int gridStep() const { return printing() ? 10 : 4; }

private:
    // Steps 1 to 5 shared by both axes: false when nothing beyond the axis
    // line is drawn. Sets the negated tick length, the adjusted step and n.
    bool axisPreamble(int x1, int y1, int x2, int y2, Colour axisColour, int& tickLength, int ticks, int penWidth,
                      bool countIncludesEnd, int& labelStep, int& n);
    void drawTick(bool horizontal, int x, int y, int tickLength, Colour axisColour, int penWidth,
                  const AxisLabel* label, Colour labelColour);
    void horizontalGridLines(int left, int bottom, int right, int top, Colour colour, int count, int penWidth);
    // Tick dates of a day or month axis from `viewStart`: tickMinutes and,
    // when `labels` is given, the day or month numbers.
    void calendarTicks(double viewStart, int count, std::vector<AxisLabel>* labels);
};

} // namespace ks318
