#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ks318 {

namespace {

const QColor kPaper(0xF4, 0xF7, 0xF8);
const QColor kMist(0xE3, 0xEC, 0xEF);
const QColor kTeal(0x3E, 0x7C, 0x85);
const QColor kSoftTeal(0xA9, 0xC9, 0xCD);

// A calm pulse trace across `rect`, as a path.
QPainterPath pulseTrace(const QRectF& rect)
{
    QPainterPath path;
    const qreal mid = rect.center().y();
    const qreal w = rect.width();
    const qreal h = rect.height();
    path.moveTo(rect.left(), mid);
    path.lineTo(rect.left() + w * 0.30, mid);
    path.lineTo(rect.left() + w * 0.36, mid - h * 0.10);
    path.lineTo(rect.left() + w * 0.42, mid + h * 0.06);
    path.lineTo(rect.left() + w * 0.48, mid - h * 0.42);
    path.lineTo(rect.left() + w * 0.54, mid + h * 0.30);
    path.lineTo(rect.left() + w * 0.60, mid);
    path.lineTo(rect.right(), mid);
    return path;
}

} // namespace

QImage wallpaperTile()
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kMist, 1));
    // A faint grid, as on chart paper; the tile repeats seamlessly.
    for (int i = 0; i < 64; i += 16) {
        p.drawLine(QPointF(i + 0.5, 0), QPointF(i + 0.5, 64));
        p.drawLine(QPointF(0, i + 0.5), QPointF(64, i + 0.5));
    }
    return image;
}

QImage splashPicture()
{
    QImage image(420, 220, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, image.height());
    g.setColorAt(0, kPaper);
    g.setColorAt(1, kMist);
    p.fillRect(image.rect(), g);
    p.setPen(QPen(kSoftTeal, 1));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    p.setPen(QPen(kTeal, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(pulseTrace(QRectF(30, 40, 360, 90)));
    QFont font = p.font();
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kTeal);
    p.drawText(QRectF(0, 140, image.width(), 32), Qt::AlignCenter, QStringLiteral("KS-318P"));
    font.setPixelSize(14);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRectF(0, 172, image.width(), 24), Qt::AlignCenter, QStringLiteral("Version 2.2.0"));
    return image;
}

QImage programIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(kSoftTeal, s / 32));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(s / 16, s / 16, s * 7 / 8, s * 7 / 8), s / 6, s / 6);
    p.setPen(QPen(kTeal, s / 18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pulseTrace(QRectF(s * 0.16, s * 0.25, s * 0.68, s * 0.5)));
    return image;
}

} // namespace ks318
