#pragma once
// A page of the graphics window by its GraphKind, drawn as the window draws
// it: into an image through the screen device, or onto one A4 landscape PDF
// page through the printer device. The window, the command line and the
// benchmarks use these.
#include "trendpage.h"

#include <QImage>
#include <QPageLayout>
#include <QSize>
#include <QString>

namespace ks318 {

class Session;
struct SessionData;

// Draws the page of `graphKind` (4 trend, 5 correlation, 6 histograms, 16
// grades) into `area`; other kinds draw nothing.
void drawGraphPage(PlotJob& job, int graphKind, const TrendPage& trend, const QRect& area, const SessionData* data);

// The window caption of a kind: "CORRELATION", "ヒストグラム", "グレード", the
// trend page's name; empty for the kinds that leave the caption alone and
// for a trend page without a name.
QString graphCaption(int graphKind, const TrendPage& trend);

// The page in an image of `size` at 96 dots per inch, with the session's
// view (span and scroll position) and thresholds.
QImage renderScreenPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size,
                        const SessionData* data = nullptr);
// The same into `image`, which keeps its buffer when it has the size already
// (the graphics window paints into one off-screen image again and again).
void renderScreenPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size, QImage& image,
                      const SessionData* data = nullptr);

// The page on one A4 landscape PDF page: a plot area of `size` printer
// pixels laid over the printable part of the page, fonts and pens of the
// printer. Written atomically; false when the file cannot be written.
// The exported page: A4 landscape with 10 mm margins.
QPageLayout exportPageLayout();
// The lowest whole resolution at which a plot area of `size` pixels fits
// the printable part of `layout`.
int pdfPageDpi(const QSize& size, const QPageLayout& layout);
// The exported page through `canvas` (the printer's fonts and pens), with
// the window title line at its bottom.
void drawExportedPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size, Canvas& canvas,
                      const SessionData* data = nullptr);

bool writePdfPage(Session& session, int graphKind, const TrendPage& trend, const QSize& size, const QString& path,
                  const SessionData* data = nullptr);

} // namespace ks318
