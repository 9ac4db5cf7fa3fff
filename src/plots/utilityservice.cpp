#include "utilityservice.h"

#include "records/daycount.h"
#include "records/stringtable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace ks318 {

namespace {

constexpr int kTimeTitleId = 16;
constexpr int kDateTitleId = 17;
constexpr int kHourUnitId = 18;
constexpr int kMonthUnitId = 19;
constexpr int kDayUnitId = 20;

QString labelText(const AxisLabel& cell)
{
    return QString::fromLatin1(cell.data(), int(strnlen(cell.data(), cell.size())));
}

// Whole minutes of a date-time.
std::int64_t minutesOf(double dateTime)
{
    return std::llround(dateTime * 1440.0);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

AxisLabel axisLabel(const char* text)
{
    AxisLabel cell{};
    if (text)
        std::strncpy(cell.data(), text, cell.size() - 1);
    return cell;
}

UtilityService::UtilityService(int device_, Canvas* screen, Canvas* printer)
    : device(device_), screenCanvas(screen), printerCanvas(printer)
{
    // A window draws in the window's own face until a graph picks a kind.
    if (device == ScreenDevice && screenCanvas) {
        FontSpec f;
        f.family = QString::fromLatin1(kScreenFace);
        f.pixelSize = kScreenFacePixels;
        screenCanvas->setFont(f);
    }
}

Canvas* UtilityService::canvas() const
{
    if (device == ScreenDevice)
        return screenCanvas;
    if (device == PrinterDevice)
        return printerCanvas;
    return nullptr;
}

void UtilityService::SetFontKind(int kind)
{
    Canvas* c = canvas();
    if (!c)
        return;
    FontSpec f = c->font();
    if (device == ScreenDevice) {
        switch (kind) {
        case -5:
            f.family = QString::fromLatin1(kLegendFace);
            f.pointSize = 12;
            f.pixelSize = 0;
            f.bold = false;
            break;
        case -4:
            f.pointSize = 8;
            f.bold = true;
            break;
        case -1:
            f.pointSize = 8;
            f.bold = false;
            break;
        default:
            return;  // -3 and -2 leave the window's font as it is
        }
        c->setFont(f);
        return;
    }
    switch (kind) {
    case -4:
        f.pointSize = 8;
        f.bold = true;
        break;
    case -3:
        f.pointSize = 12;
        f.bold = false;
        break;
    case -2:
        f.pointSize = 10;
        f.bold = false;
        break;
    case -1:
        f.pointSize = 8;
        f.bold = false;
        break;
    default:
        break;  // -5: the face only
    }
    if (f.pointSize <= 0 && f.pixelSize <= 0)
        f.pointSize = 8;
    f.family = QString::fromLatin1(kPrinterFace);
    f.fixedPitch = true;
    c->setFont(f);
}

void UtilityService::DrawText(int x, int y, const QString& text, Colour colour, int horizontal, int vertical)
{
    Canvas* c = canvas();
    if (!c)
        return;
    if (horizontal == AlignCentre)
        x -= c->textWidth(text) / 2;
    else if (horizontal == AlignRight)
        x -= c->textWidth(text);
    if (vertical == AlignMiddle || vertical == AlignBottom) {
        const int probe = TextHeightOf(QStringLiteral("Gg"));
        y -= vertical == AlignMiddle ? probe / 2 : probe;
    }
    if (printing())
        c->textOut(x, y, text, kPrinterText, kPrinterBackground);
    else
        c->textOut(x, y, text, colour, kPlotBackground);
}

void UtilityService::DrawDot(int x, int y, int penWidth, Colour colour, bool xorMode)
{
    Canvas* c = canvas();
    if (!c)
        return;
    c->setPen(colour, penWidth, xorMode);
    const int d = printing() ? 2 : 1;
    c->line(x, y, x + d, y + d);
}

void UtilityService::DrawMarker(int x, int y, int radius, Colour fill, Colour pen, bool xorMode)
{
    Canvas* c = canvas();
    if (!c)
        return;
    c->setPen(pen, 1, xorMode);
    c->setBrush(printing() && fill == kPlotBackground ? kPrinterBackground : fill, BrushStyle::Solid);
    c->ellipse(x - radius, y - radius, x + radius, y + radius);
}

void UtilityService::DrawLine(int x1, int y1, int x2, int y2, Colour colour, int penWidth, bool xorMode)
{
    Canvas* c = canvas();
    if (!c)
        return;
    c->setPen(colour, penWidth, xorMode);
    c->line(x1, y1, x2, y2);
}

void UtilityService::DrawDottedLine(int x1, int y1, int x2, int y2, Colour colour, int penWidth, bool xorMode,
                                    int step)
{
    if (!canvas())
        return;
    step = std::max(1, step);
    if (y1 == y2) {
        for (int x = std::min(x1, x2); x < std::max(x1, x2); x += step)
            DrawDot(x, y1, penWidth, colour, xorMode);
    } else if (x1 == x2) {
        for (int y = std::min(y1, y2); y < std::max(y1, y2); y += step)
            DrawDot(x1, y, penWidth, colour, xorMode);
    } else {
        DrawLine(x1, y1, x2, y2, colour, penWidth, xorMode);
    }
}

void UtilityService::DrawBox(int x1, int y1, int x2, int y2, Colour colour, int penWidth, bool filled, bool xorMode,
                             bool hatched)
{
    Canvas* c = canvas();
    if (!c)
        return;
    c->setPen(colour, penWidth, xorMode);
    if (!printing()) {
        if (filled)
            c->setBrush(colour, hatched ? BrushStyle::DiagCross : BrushStyle::Solid);
        else
            c->setBrush(colour, BrushStyle::None);
        c->rectangle(x1, y1, x2, y2);
        return;
    }
    if (!filled) {
        c->setBrush(kPrinterBackground, BrushStyle::None);
        c->rectangle(x1, y1, x2 + 2, y2 + 1);
    } else if (hatched) {
        // A hatched fill prints as an outline on white.
        c->setBrush(kPrinterBackground, BrushStyle::Solid);
        c->rectangle(x1, y1, x2 + 2, y2 + 1);
    } else {
        c->setBrush(colour == kPlotBackground ? kPrinterBackground : colour, BrushStyle::Solid);
        c->rectangle(x1, y1, x2 + 1, y2 + 1);
    }
}

bool UtilityService::axisPreamble(int x1, int y1, int x2, int y2, Colour axisColour, int& tickLength, int ticks,
                                  int penWidth, bool countIncludesEnd, int& labelStep, int& n)
{
    const bool horizontal = y1 == y2;
    if (horizontal)
        tickLength = -tickLength;
    if (horizontal && !printing())
        DrawBox(x1, y1, x2, y1 + tickLength, kPlotBackground, 1, true, false, false);
    if (ticks <= 0) {
        DrawLine(x1, y1, x2, y2, axisColour, penWidth, false);
        return false;
    }
    labelStep = std::max(1, labelStep);
    if (recorderType != RecorderType::Ks318) {
        for (int rest = ticks - 1; rest > 30; rest -= 24)
            ++labelStep;
        if (labelStep == 5 || labelStep == 7)
            ++labelStep;
    }
    n = countIncludesEnd ? ticks : ticks - 1;
    if (n < 2) {
        DrawLine(x1, y1, x2, y2, axisColour, penWidth, false);
        return false;
    }
    return true;
}

void UtilityService::drawTick(bool horizontal, int x, int y, int tickLength, Colour axisColour, int penWidth,
                              const AxisLabel* label, Colour labelColour)
{
    if (label) {
        SetFontKind(-1);
        const QString text = labelText(*label);
        if (!text.isEmpty()) {
            if (horizontal)
                DrawText(x, y + 2 * tickLength, text, labelColour, AlignCentre, AlignTop);
            else
                DrawText(x + 2 * tickLength, y, text, labelColour, AlignRight, AlignMiddle);
        }
    }
    if (horizontal)
        DrawLine(x, y, x, y + tickLength, axisColour, penWidth, false);
    else
        DrawLine(x, y, x + tickLength, y, axisColour, penWidth, false);
}

void UtilityService::DrawValueAxis(int x1, int y1, int x2, int y2, Colour axisColour, Colour labelColour,
                                   int tickLength, int ticks, const AxisLabel* labels, int penWidth,
                                   bool countIncludesEnd, int labelStep)
{
    if (!canvas() || (x1 != x2 && y1 != y2))
        return;
    const bool horizontal = y1 == y2;
    int n = 0;
    if (!axisPreamble(x1, y1, x2, y2, axisColour, tickLength, ticks, penWidth, countIncludesEnd, labelStep, n))
        return;
    for (int i = 0; i < n; ++i) {
        if (i % labelStep != 0 && i != n - 1)
            continue;
        const AxisLabel* label = labels ? &labels[i] : nullptr;
        if (horizontal)
            drawTick(true, x1 + (x2 - x1) * i / (n - 1), y1, tickLength, axisColour, penWidth, label, labelColour);
        else
            drawTick(false, x1, y1 - (y1 - y2) * i / (n - 1), tickLength, axisColour, penWidth, label, labelColour);
    }
    DrawLine(x1, y1, x2, y2, axisColour, penWidth, false);
}

void UtilityService::DrawTimeAxis(int x1, int y1, int x2, int y2, Colour axisColour, Colour labelColour,
                                  int tickLength, int ticks, const AxisLabel* labels, int penWidth,
                                  bool countIncludesEnd, int labelStep)
{
    if (!canvas() || (x1 != x2 && y1 != y2))
        return;
    int n = 0;
    if (!axisPreamble(x1, y1, x2, y2, axisColour, tickLength, ticks, penWidth, countIncludesEnd, labelStep, n))
        return;
    hoursInView = spanMinutes / 60;
    if (hoursInView > 0 && hoursPerTick > 0) {
        const int last = int(hoursInView / hoursPerTick);
        for (int i = 0; i <= last; ++i) {
            if (i % labelStep != 0 && i != last)
                continue;
            int x = 0;
            if (timeUnit == UnitHours) {
                x = x1 + int(hoursPerTick * (x2 - x1) * i / hoursInView);
            } else {
                if (i >= int(tickMinutes.size()) || tickMinutes[std::size_t(i)] > spanMinutes)
                    continue;
                x = x1 + ((tickMinutes[std::size_t(i)] / 60) * (x2 - x1)) / hoursInView;
            }
            drawTick(true, x, y1, tickLength, axisColour, penWidth, labels ? &labels[i] : nullptr, labelColour);
        }
    }
    DrawLine(x1, y1, x2, y2, axisColour, penWidth, false);
}

void UtilityService::calendarTicks(double viewStart, int count, std::vector<AxisLabel>* labels)
{
    const std::int64_t start = minutesOf(viewStart);
    const std::int64_t startDay = floorDiv(start, 1440);
    tickMinutes.assign(std::size_t(std::max(0, count)), 0);
    if (labels)
        labels->assign(std::size_t(std::max(0, count)), AxisLabel{});
    char text[16];
    if (timeUnit == UnitDays) {
        const int step = std::max(1, int(daysPerTick));
        std::int64_t day = startDay + 1;  // the midnight after the start
        for (int i = 0; i < count; ++i, day += step) {
            tickMinutes[std::size_t(i)] = int(std::clamp<std::int64_t>(day * 1440 - start, INT32_MIN, INT32_MAX));
            if (labels) {
                std::snprintf(text, sizeof text, "%d", civilFromDayNumber(day).day);
                (*labels)[std::size_t(i)] = axisLabel(text);
            }
        }
    } else if (timeUnit == UnitMonths) {
        const int step = std::max(1, int(monthsPerTick));
        const CivilDate s = civilFromDayNumber(startDay);
        int year = s.year;
        int month = s.month + 1;  // the first of the next month
        if (month > 12) {
            month = 1;
            ++year;
        }
        for (int i = 0; i < count; ++i) {
            const std::int64_t m = dayNumber(year, month, 1) * 1440 - start;
            tickMinutes[std::size_t(i)] = int(std::clamp<std::int64_t>(m, INT32_MIN, INT32_MAX));
            if (labels) {
                std::snprintf(text, sizeof text, "%d", month);
                (*labels)[std::size_t(i)] = axisLabel(text);
            }
            month += step;
            while (month > 12) {
                month -= 12;
                ++year;
            }
        }
    }
}

void UtilityService::BuildTimeAxis(int x1, int y, int x2, double viewStart, int span, int tickLength, int labelStep)
{
    if (!canvas())
        return;
    spanMinutes = span;
    hoursInView = span / 60;
    // One label for every position the axis can draw.
    const int positions = hoursPerTick > 0 ? int(hoursInView / hoursPerTick) + 1 : 0;
    const int count = std::max(tickCount, positions);
    std::vector<AxisLabel> labels;
    if (timeUnit == UnitHours) {
        labels.assign(std::size_t(std::max(0, count)), AxisLabel{});
        const std::int64_t start = minutesOf(viewStart);
        char text[16];
        for (int i = 0; i < count; ++i) {
            const std::int64_t t = start + std::llround(i * hoursPerTick * 60.0);
            std::snprintf(text, sizeof text, "%d", int(((t / 60) % 24 + 24) % 24));
            labels[std::size_t(i)] = axisLabel(text);
        }
    } else {
        calendarTicks(viewStart, count, &labels);
    }
    DrawTimeAxis(x1, y, x2, y, kAxisLineColour, kAxisLabelColour, -tickLength, tickCount,
                 labels.empty() ? nullptr : labels.data(), 1, true, labelStep);

    SetFontKind(-1);
    const QString title = timeAxisTitle();
    DrawText((x1 + x2) / 2, y + 2 * tickLength + TextHeightOf(QStringLiteral("Gg")) - 1, title, kCaptionColour,
             AlignCentre, AlignTop);
}

QString UtilityService::timeAxisTitle() const
{
    if (timeUnit == UnitHours)
        return StringTable::text(kTimeTitleId) + QStringLiteral(" (") + StringTable::text(kHourUnitId) + QLatin1Char(')');
    if (timeUnit == UnitDays)
        return StringTable::text(kDateTitleId) + QStringLiteral(" (") + StringTable::text(kDayUnitId) + QLatin1Char(')');
    return StringTable::text(kDateTitleId) + QStringLiteral(" (") + StringTable::text(kMonthUnitId) + QLatin1Char(')');
}

void UtilityService::horizontalGridLines(int left, int bottom, int right, int top, Colour colour, int count,
                                         int penWidth)
{
    if (count == 1) {
        // A single line has no spacing to divide: it lies at the bottom.
        DrawDottedLine(left, bottom, right, bottom, colour, penWidth, false, gridStep());
        return;
    }
    for (int i = 0; i < count; ++i) {
        const int y = bottom - (bottom - top) * i / (count - 1);
        DrawDottedLine(left, y, right, y, colour, penWidth, false, gridStep());
    }
}

void UtilityService::DrawTimeGrid(int left, int bottom, int right, int top, Colour colour, int verticalLines,
                                  int horizontalLines, int penWidth)
{
    if (!canvas())
        return;
    horizontalGridLines(left, bottom, right, top, colour, horizontalLines, penWidth);
    if (verticalLines < 2)
        return;
    hoursInView = spanMinutes / 60;
    if (hoursInView <= 0)
        return;
    const int every = std::max(1, int(hoursPerTick));
    for (int hour = 0; hour <= hoursInView; ++hour) {
        if (hour % every != 0)
            continue;
        const int x = left + (right - left) * hour / hoursInView;
        DrawDottedLine(x, bottom, x, top, colour, penWidth, false, gridStep());
    }
}

void UtilityService::DrawCalendarGrid(int left, int bottom, int right, int top, double viewStart, Colour colour,
                                      int verticalLines, int horizontalLines, int penWidth)
{
    if (!canvas())
        return;
    if (timeUnit == UnitHours) {
        DrawTimeGrid(left, bottom, right, top, colour, verticalLines, horizontalLines, penWidth);
        return;
    }
    horizontalGridLines(left, bottom, right, top, colour, horizontalLines, penWidth);
    hoursInView = spanMinutes / 60;
    if (verticalLines < 2 || hoursInView <= 0)
        return;
    const int positions = hoursPerTick > 0 ? int(hoursInView / hoursPerTick) + 1 : 0;
    calendarTicks(viewStart, std::max(tickCount, positions), nullptr);
    for (int minutes : tickMinutes) {
        if (minutes < 0 || minutes > spanMinutes)
            continue;
        const int x = left + ((minutes / 60) * (right - left)) / hoursInView;
        DrawDottedLine(x, bottom, x, top, colour, penWidth, false, gridStep());
    }
}

int UtilityService::TextHeightOf(const QString& text)
{
    Canvas* c = canvas();
    if (!c)
        return 0;
    const int height = c->textHeight(text);
    if (!printing())
        return height;
    const int fontDpi = std::max(1, c->fontDpi());
    return height * (c->verticalDpi() / fontDpi);
}

int UtilityService::TextWidthOf(const QString& text)
{
    Canvas* c = canvas();
    return c ? c->textWidth(text) : 0;
}

} // namespace ks318
