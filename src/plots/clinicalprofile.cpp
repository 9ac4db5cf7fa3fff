#include "clinicalprofile.h"

#include <QCoreApplication>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace ks318 {

namespace {

constexpr int kStep = 20;          // mmHg between value ticks
constexpr int kLowest = 40;        // the value axis covers at least 40..200
constexpr int kHighest = 200;
constexpr Colour kNightScreen = 0xA0A0A0;
constexpr Colour kNightPrinter = 0xE0E0E0;
constexpr int kDotsPerMeter96 = 3780;

// The value range: 40..200 widened in steps of 20 to the data.
std::pair<int, int> valueRange(const ClinicalMeasures& m)
{
    int lo = kLowest, hi = kHighest;
    for (int h = 0; h < 24; ++h) {
        for (const Measure& v : {m.hourSys[h], m.hourDia[h]}) {
            if (!v)
                continue;
            lo = std::min(lo, int(std::floor(*v / kStep)) * kStep);
            hi = std::max(hi, int(std::ceil(*v / kStep)) * kStep);
        }
    }
    return {std::max(0, lo), std::min(320, hi)};
}

} // namespace

void drawClinicalProfile(UtilityService& u, const QRect& area, const ClinicalMeasures& m)
{
    if (!u.canvas() || area.width() < 8 || area.height() < 8)
        return;
    const bool printing = u.printing();
    if (!printing)
        u.DrawBox(area.left(), area.top(), area.left() + area.width(), area.top() + area.height(), kPlotBackground, 1,
                  true, false, false);
    u.SetFontKind(-1);
    const int gg = std::max(1, u.TextHeightOf(QStringLiteral("Gg")));
    const int gap = std::max(1, gg / 4);
    const int tick = std::max(2, gg / 3);

    // Title and legend on the top line.
    const int titleTop = area.top() + gap;
    u.SetFontKind(-4);
    u.DrawText(area.left() + gap, titleTop, QCoreApplication::translate("ks318::ClinicalProfile", "24時間プロファイル（時刻別平均）"), kCaptionColour, AlignLeft,
               AlignTop);
    u.SetFontKind(-1);
    const int radius = printing ? 7 : 3;
    const int legendY = titleTop + gg / 2;
    int x = area.left() + area.width() - gap;
    const QString dia = QStringLiteral("DIA"), sys = QStringLiteral("SYS");
    x -= u.TextWidthOf(dia);
    u.DrawText(x, titleTop, dia, kCaptionColour, AlignLeft, AlignTop);
    x -= 2 * radius + gap;
    u.DrawMarker(x + radius, legendY, radius, kMarkerLight, kDataColour, false);
    x -= u.TextWidthOf(sys) + 2 * gap;
    u.DrawText(x, titleTop, sys, kCaptionColour, AlignLeft, AlignTop);
    x -= 2 * radius + gap;
    u.DrawMarker(x + radius, legendY, radius, kDataColour, kDataColour, false);

    // The plot box: value labels on the left, hour labels and the axis
    // title below.
    const std::pair<int, int> range = valueRange(m);
    const int lo = range.first;
    const int hi = range.second;
    const int left = area.left() + gap + u.TextWidthOf(QStringLiteral("300")) + 3 * tick;
    const int right = area.left() + area.width() - gap - u.TextWidthOf(QStringLiteral("24")) / 2 - 1;
    // The unit on its own row under the title, clear of the top value label.
    const int top = titleTop + 3 * gg;
    const int bottom = area.top() + area.height() - gap - 2 * gg - 3 * tick;
    if (right - left < 24 || bottom - top < 2 * gg)
        return;
    auto px = [&](double minute) { return left + int(std::lround((right - left) * minute / 1440.0)); };
    auto py = [&](double v) { return bottom - int(std::lround((bottom - top) * (v - lo) / double(hi - lo))); };

    if (m.timesSet()) {
        const Colour shade = printing ? kNightPrinter : kNightScreen;
        auto band = [&](int from, int to) {
            if (to > from)
                u.DrawBox(px(from), top, px(to), bottom, shade, 1, true, false, false);
        };
        if (m.sleepMinute <= m.wakeMinute) {
            band(m.sleepMinute, m.wakeMinute);
        } else {
            band(m.sleepMinute, 1440);
            band(0, m.wakeMinute);
        }
    }

    // Grid and axes.
    const int values = (hi - lo) / kStep + 1;
    std::vector<AxisLabel> valueLabels(static_cast<std::size_t>(values));
    for (int i = 0; i < values; ++i) {
        valueLabels[std::size_t(i)] = axisLabel(QByteArray::number(lo + i * kStep).constData());
        if (i > 0 && i < values - 1)
            u.DrawDottedLine(left, py(lo + i * kStep), right, py(lo + i * kStep), kGridColour, 1, false, u.gridStep());
    }
    AxisLabel hourLabels[25];
    for (int h = 0; h <= 24; ++h)
        hourLabels[h] = axisLabel(h % 3 == 0 ? QByteArray::number(h).constData() : "");
    u.DrawValueAxis(left, bottom, right, bottom, kAxisLineColour, kAxisLabelColour, -tick, 25, hourLabels, 1, true, 1);
    u.DrawValueAxis(left, bottom, left, top, kAxisLineColour, kAxisLabelColour, -tick, values, valueLabels.data(), 1,
                    true, 1);
    u.DrawLine(left, top, right, top, kAxisLineColour, 1, false);
    u.DrawLine(right, top, right, bottom, kAxisLineColour, 1, false);
    u.SetFontKind(-1);
    u.DrawText((left + right) / 2, area.top() + area.height() - gap, QCoreApplication::translate("ks318::ClinicalProfile", "時刻 (時)"), kCaptionColour,
               AlignCentre, AlignBottom);
    u.DrawText(area.left() + gap, titleTop + gg, QStringLiteral("mmHg"), kCaptionColour, AlignLeft, AlignTop);

    // The hourly means at the middle of their hour, joined where the next
    // hour has one too.
    for (int series = 0; series < 2; ++series) {
        const std::array<Measure, 24>& v = series == 0 ? m.hourSys : m.hourDia;
        for (int h = 0; h + 1 < 24; ++h)
            if (v[h] && v[h + 1])
                u.DrawLine(px(h * 60 + 30), py(*v[h]), px(h * 60 + 90), py(*v[h + 1]), kDataColour, printing ? 3 : 1,
                           false);
        for (int h = 0; h < 24; ++h)
            if (v[h])
                u.DrawMarker(px(h * 60 + 30), py(*v[h]), radius, series == 0 ? kDataColour : kMarkerLight, kDataColour,
                             false);
    }
}

QImage renderClinicalProfile(const ClinicalMeasures& m, const QSize& size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter96);
    image.setDotsPerMeterY(kDotsPerMeter96);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    UtilityService u(ScreenDevice, &canvas, nullptr);
    drawClinicalProfile(u, QRect(QPoint(0, 0), size), m);
    return image;
}

} // namespace ks318
