#pragma once
// The graphics window: the open recording drawn as the BP trend (zoomable
// and scrollable in time), the correlation plots, the histograms or the
// WHO-ISH grade plot, as the session's GraphKind says. Every paint fills a
// fresh block from the data file and redraws the whole picture into an
// off-screen image, which is then put on the screen; printing puts that
// image on one page.
#include "plots/trendpage.h"

#include <QImage>
#include <QMainWindow>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QPrinter;
class QScrollBar;

namespace ks318 {

class Session;
class GraphPlotArea;

class TViewGraphicsForm : public QMainWindow {
    Q_OBJECT
public:
    // Asks where to print; true when the user confirmed.
    using PrintDialogRunner = std::function<bool(QPrinter& printer)>;

    TViewGraphicsForm(Session& session, QWidget* parent = nullptr);

    void setPrintDialog(PrintDialogRunner runner) { printDialog_ = std::move(runner); }
    // The main window's client area the window covers when first shown.
    void setCoveredArea(QWidget* area) { coveredArea_ = area; }

    // Menus, scroll bars and caption for the current GraphKind and view,
    // then the picture of the plot area.
    void FormPaint();
    // The repaint request of the main window after it changed GraphKind,
    // the zoom or the file: the controls follow at once, the picture at the
    // next paint.
    void refresh();
    // A zoom entry chosen (index into the zoom table).
    void ZoomClick(int entry);
    void HorizontalScrollBarScroll(int position);
    void VerticalScrollBarScroll(int position);
    void GraphicsPrintMenu1Click();
    void PrintScreenClick();
    void PrintNumericaldataClick();
    // Draws the window's picture scaled to one page of `printer`; false
    // when the printer (or file) could not be started.
    bool printWindowImage(QPrinter& printer);

    const TrendPage& trendPage() const { return trendPage_; }
    // The picture of the last paint, and how many paints there were.
    const QImage& image() const { return image_; }
    int paintCount() const { return paintCount_; }
    QAction* zoomItem(int entry) const { return zoomItems_[entry]; }

    QMenu* GraphicsSelectMenu1;
    QMenu* GraphicsSelectMenu2;
    QMenu* GraphicsZoomMenu1;
    QMenu* GraphicsZoomMenu2;
    QMenu* GraphicsZoomMenu3;
    QMenu* GraphicsZoomMenu4;
    QMenu* GraphicsSensitivityMenu;
    QAction* GraphicsPrintMenu1;
    QMenu* GraphicsPrintMenu2;
    QAction* PrintScreen;
    QAction* PrintNumericaldata;
    QScrollBar* HorizontalScrollBar;
    QScrollBar* VerticalScrollBar;

Q_SIGNALS:
    // The scroll bar moved the view; the BP data list repaints.
    void scrolled();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class GraphPlotArea;
    void setUpControls();
    void setUpScrollBar();
    int windowHours() const;

    Session& session_;
    TrendPage trendPage_;
    PrintDialogRunner printDialog_;
    QWidget* coveredArea_ = nullptr;
    bool placed_ = false;
    GraphPlotArea* plotArea_ = nullptr;
    QActionGroup* zoomGroup_ = nullptr;
    QAction* zoomItems_[17] = {};
    QImage image_;
    int paintCount_ = 0;
};

} // namespace ks318
