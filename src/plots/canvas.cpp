#include "canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace ks318 {

Canvas::~Canvas() = default;

namespace {

QColor qColour(Colour c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter)
{
    const QPaintDevice* device = painter.device();
    xorCapable_ = device && device->devType() == QInternal::Image;
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    applyPen();
    applyBrush();
}

void PainterCanvas::applyPen()
{
    QPen pen(qColour(penColour_));
    pen.setWidth(std::max(1, penWidth_));
    // Flat caps leave the end point of a line undrawn, as the lines of a
    // Windows canvas do.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setCompositionMode(xor_ && xorCapable_ ? QPainter::RasterOp_SourceXorDestination
                                                    : QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::applyBrush()
{
    switch (brushStyle_) {
    case BrushStyle::None:
        painter_.setBrush(Qt::NoBrush);
        break;
    case BrushStyle::Solid:
        painter_.setBrush(QBrush(qColour(brushColour_), Qt::SolidPattern));
        break;
    case BrushStyle::DiagCross:
        painter_.setBrush(QBrush(qColour(brushColour_), Qt::DiagCrossPattern));
        break;
    }
}

void PainterCanvas::setPen(Colour colour, int width, bool xorMode)
{
    // Grids set the same pen for every dot: only a change reaches the painter.
    if (colour == penColour_ && width == penWidth_ && xorMode == xor_)
        return;
    penColour_ = colour;
    penWidth_ = width;
    xor_ = xorMode;
    applyPen();
}

void PainterCanvas::setBrush(Colour colour, BrushStyle style)
{
    if (colour == brushColour_ && style == brushStyle_)
        return;
    brushColour_ = colour;
    brushStyle_ = style;
    applyBrush();
}

void PainterCanvas::setFont(const FontSpec& wanted)
{
    font_ = wanted;
    QFont f(wanted.family);
    if (wanted.pointSize > 0)
        f.setPointSize(wanted.pointSize);
    else if (wanted.pixelSize > 0)
        f.setPixelSize(wanted.pixelSize);
    f.setBold(wanted.bold);
    f.setFixedPitch(wanted.fixedPitch);
    if (wanted.fixedPitch)
        f.setStyleHint(QFont::TypeWriter);
    f.setKerning(false);
    painter_.setFont(f);
}

void PainterCanvas::line(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2) {
        // A zero-length line marks its point with a wide pen only.
        if (penWidth_ > 1)
            painter_.drawPoint(x1, y1);
        return;
    }
    if (penWidth_ <= 1 && std::abs(x2 - x1) <= 1 && std::abs(y2 - y1) <= 1) {
        // The one pixel a dot of the grids leaves.
        painter_.drawPoint(x1, y1);
        return;
    }
    painter_.drawLine(x1, y1, x2, y2);
}

void PainterCanvas::ellipse(int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    const int w = std::abs(x2 - x1) - 1;
    const int h = std::abs(y2 - y1) - 1;
    if (w < 0 || h < 0)
        return;
    painter_.drawEllipse(QRect(left, top, w, h));
}

void PainterCanvas::rectangle(int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    const int w = std::abs(x2 - x1);
    const int h = std::abs(y2 - y1);
    if (w < 1 || h < 1)
        return;
    if (penWidth_ <= 1) {
        // The one-pixel outline on the box's edge pixels, the fill inside.
        painter_.drawRect(QRect(left, top, w - 1, h - 1));
    } else {
        painter_.drawRect(QRect(left, top, w, h));
    }
}

void PainterCanvas::textOut(int x, int y, const QString& text, Colour colour, Colour background)
{
    if (text.isEmpty())
        return;
    const QFontMetrics fm = painter_.fontMetrics();
    const QPainter::CompositionMode mode = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), qColour(background));
    painter_.setPen(qColour(colour));
    painter_.drawText(x, y + fm.ascent(), text);
    applyPen();
    painter_.setCompositionMode(mode);
}

int PainterCanvas::textWidth(const QString& text)
{
    return painter_.fontMetrics().horizontalAdvance(text);
}

int PainterCanvas::textHeight(const QString&)
{
    return painter_.fontMetrics().height();
}

int PainterCanvas::verticalDpi() const
{
    return painter_.device() ? painter_.device()->logicalDpiY() : 96;
}

int PainterCanvas::fontDpi() const
{
    // Fonts are measured at the device's own resolution.
    return verticalDpi();
}

} // namespace ks318
