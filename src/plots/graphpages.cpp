#include "graphpages.h"

#include "distributionpages.h"
#include "session/session.h"
#include "records/stringtable.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace ks318 {

namespace {

constexpr int kCorrelationCaptionId = 61;
constexpr int kHistogramCaptionId = 62;
constexpr int kGradeCaptionId = 293;
constexpr int kDotsPerMeter96 = 3780;  // 96 dots per inch

} // namespace

void drawGraphPage(PlotJob& job, int graphKind, const TrendPage& trend, const QRect& area, const SessionData* data)
{
    switch (graphKind) {
    case Session::GraphTrend:
        drawTrendPage(job, trend, area, data);
        break;
    case Session::GraphCorrelation:
        drawCorrelationPage(job, area, data);
        break;
    case Session::GraphHistogram:
        drawHistogramPage(job, area, data);
        break;
    case Session::GraphGrade:
        drawGradePage(job, area, data);
        break;
    default:
        break;
    }
}

QString graphCaption(int graphKind, const TrendPage& trend)
{
    switch (graphKind) {
    case Session::GraphTrend:
        return trend.name;
    case Session::GraphCorrelation:
        return StringTable::text(kCorrelationCaptionId);
    case Session::GraphHistogram:
        return StringTable::text(kHistogramCaptionId);
    case Session::GraphGrade:
        return StringTable::text(kGradeCaptionId);
    default:
        return QString();
    }
}

void renderScreenPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size, QImage& image,
                      const SessionData* data)
{
    const QSize imageSize = size.expandedTo(QSize(1, 1));
    if (image.size() != imageSize || image.format() != QImage::Format_RGB32)
        image = QImage(imageSize, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter96);
    image.setDotsPerMeterY(kDotsPerMeter96);
    // The pages clear their area themselves; the kinds without a page show
    // the plot background.
    if (graphKind != Session::GraphTrend && graphKind != Session::GraphCorrelation
        && graphKind != Session::GraphHistogram && graphKind != Session::GraphGrade)
        image.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    UtilityService u(ScreenDevice, &canvas, nullptr);
    PlotJob job(u, session, windowLayout(u));
    drawGraphPage(job, graphKind, trend, QRect(QPoint(0, 0), size), data);
}

QImage renderScreenPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size,
                        const SessionData* data)
{
    QImage image;
    renderScreenPage(session, graphKind, trend, size, image, data);
    return image;
}

QPageLayout exportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

void drawExportedPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size, Canvas& canvas,
                      const SessionData* data)
{
    UtilityService u(PrinterDevice, nullptr, &canvas);
    u.SetFontKind(-1);
    PlotLayout plotLayout = windowLayout(u);
    plotLayout.titleLine = true;
    PlotJob job(u, session, plotLayout);
    drawGraphPage(job, graphKind, trend, QRect(QPoint(0, 0), size), data);
}

int pdfPageDpi(const QSize& size, const QPageLayout& layout)
{
    // The lowest whole resolution at which the plot area fits the printable
    // part in both directions: the larger of the two ratios, rounded up.
    const QRectF inches = layout.paintRect(QPageLayout::Inch);
    if (inches.width() <= 0 || inches.height() <= 0)
        return 1;
    const double wanted = std::max(size.width() / inches.width(), size.height() / inches.height());
    return std::max(1, int(std::ceil(wanted - 1e-9)));
}

bool writePdfPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size, const QString& path,
                  const SessionData* data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("ks318"));
    const QPageLayout layout = exportPageLayout();
    writer.setPageLayout(layout);
    writer.setResolution(pdfPageDpi(size, layout));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PainterCanvas canvas(painter);
    drawExportedPage(session, graphKind, trend, size, canvas, data);
    return painter.end() && file.commit();
}

} // namespace ks318
