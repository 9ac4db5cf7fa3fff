#include "viewgraphicsform.h"

#include "plots/axistable.h"
#include "plots/graphpages.h"
#include "session/session.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalBlocker>

namespace ks318 {

namespace {

const char* const kCaption = QT_TRANSLATE_NOOP("ks318::TViewGraphicsForm", "解析グラフ画面");

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addItem(QWidget* menu, const char* name, const QString& caption)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    menu->addAction(action);
    return action;
}

} // namespace

// The client area less the scroll bars: shows the picture of each paint.
class GraphPlotArea : public QWidget {
public:
    explicit GraphPlotArea(TViewGraphicsForm* form) : QWidget(form), form_(form)
    {
        setObjectName(QStringLiteral("PlotArea"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(200, 150);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        form_->FormPaint();
        QPainter p(this);
        p.drawImage(0, 0, form_->image_);
    }

private:
    TViewGraphicsForm* form_;
};

TViewGraphicsForm::TViewGraphicsForm(Session& session, QWidget* parent)
    : QMainWindow(parent, Qt::Window), session_(session), trendPage_(TrendPage::builtIn())
{
    setObjectName(QStringLiteral("ViewGraphicsForm"));
    setWindowTitle(tr(kCaption));
    printDialog_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    QMenuBar* bar = menuBar();
    // Menus of the other pages of the family: kept, never shown.
    GraphicsSelectMenu1 = addMenu(bar, "GraphicsSelectMenu1", tr("選択(&S)"));
    GraphicsSelectMenu2 = addMenu(bar, "GraphicsSelectMenu2", tr("イベント(&E)"));
    for (int event = 1; event <= 4; ++event)
        addItem(GraphicsSelectMenu2, QStringLiteral("Event%1").arg(event).toLatin1().constData(),
                tr("イベント %1").arg(event));
    GraphicsZoomMenu1 = addMenu(bar, "GraphicsZoomMenu1", tr("拡大(&Z)"));
    GraphicsZoomMenu2 = addMenu(bar, "GraphicsZoomMenu2", tr("拡大(&Z)"));
    GraphicsZoomMenu3 = addMenu(bar, "GraphicsZoomMenu3", tr("拡大(&Z)"));
    GraphicsZoomMenu4 = addMenu(bar, "GraphicsZoomMenu4", tr("拡大(&Z)"));
    zoomGroup_ = new QActionGroup(this);
    zoomGroup_->setExclusive(true);
    for (int i = 0; i < kZoomEntryCount; ++i) {
        QAction* item = addItem(GraphicsZoomMenu4, kZoomEntries[std::size_t(i)].name,
                                QCoreApplication::translate("ZoomMenu", kZoomEntries[std::size_t(i)].caption));
        item->setCheckable(true);
        zoomGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { ZoomClick(i); });
        zoomItems_[i] = item;
    }
    GraphicsSensitivityMenu = addMenu(bar, "GraphicsSensitivityMenu", tr("感度(&E)"));
    GraphicsPrintMenu1 = addItem(bar, "GraphicsPrintMenu1", tr("印刷(&P)"));
    connect(GraphicsPrintMenu1, &QAction::triggered, this, &TViewGraphicsForm::GraphicsPrintMenu1Click);
    GraphicsPrintMenu2 = addMenu(bar, "GraphicsPrintMenu2", tr("印刷(&P)"));
    PrintScreen = addItem(GraphicsPrintMenu2, "PrintScreen", tr("画面印刷(&S)"));
    connect(PrintScreen, &QAction::triggered, this, &TViewGraphicsForm::PrintScreenClick);
    PrintNumericaldata = addItem(GraphicsPrintMenu2, "PrintNumericaldata", tr("数値データ印刷(&N)"));
    connect(PrintNumericaldata, &QAction::triggered, this, &TViewGraphicsForm::PrintNumericaldataClick);
    for (QMenu* hidden : {GraphicsSelectMenu1, GraphicsSelectMenu2, GraphicsZoomMenu1, GraphicsZoomMenu2,
                          GraphicsZoomMenu3, GraphicsSensitivityMenu, GraphicsPrintMenu2})
        hidden->menuAction()->setVisible(false);

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    plotArea_ = new GraphPlotArea(this);
    HorizontalScrollBar = new QScrollBar(Qt::Horizontal, central);
    HorizontalScrollBar->setObjectName(QStringLiteral("HorizontalScrollBar"));
    VerticalScrollBar = new QScrollBar(Qt::Vertical, central);
    VerticalScrollBar->setObjectName(QStringLiteral("VerticalScrollBar"));
    grid->addWidget(plotArea_, 0, 0);
    grid->addWidget(VerticalScrollBar, 0, 1);
    grid->addWidget(HorizontalScrollBar, 1, 0);
    setCentralWidget(central);
    connect(HorizontalScrollBar, &QScrollBar::valueChanged, this, &TViewGraphicsForm::HorizontalScrollBarScroll);
    connect(VerticalScrollBar, &QScrollBar::valueChanged, this, &TViewGraphicsForm::VerticalScrollBarScroll);
    HorizontalScrollBar->hide();
    VerticalScrollBar->hide();
    resize(900, 600);
}

int TViewGraphicsForm::windowHours() const
{
    return session_.intervals.valid ? int(session_.intervals.interval1Hours) : 0;
}

void TViewGraphicsForm::setUpScrollBar()
{
    const QSignalBlocker quiet(HorizontalScrollBar);
    const int span = session_.graphView.visibleMinutes;
    HorizontalScrollBar->setRange(0, windowHours());
    HorizontalScrollBar->setValue(session_.graphView.scrollHours);
    HorizontalScrollBar->setPageStep(std::max(1, span / 60));
    HorizontalScrollBar->setSingleStep(scrollSmallStep(span));
}

void TViewGraphicsForm::setUpControls()
{
    const int kind = session_.GraphKind;
    const bool trend = kind == Session::GraphTrend;
    for (QMenu* hidden : {GraphicsSelectMenu1, GraphicsSelectMenu2, GraphicsZoomMenu1, GraphicsZoomMenu2,
                          GraphicsZoomMenu3, GraphicsSensitivityMenu})
        hidden->menuAction()->setVisible(false);
    GraphicsZoomMenu4->menuAction()->setVisible(trend);
    if ((kind >= Session::GraphTrend && kind <= Session::GraphHbi) || kind == Session::GraphGrade) {
        GraphicsPrintMenu1->setVisible(true);
        GraphicsPrintMenu2->menuAction()->setVisible(false);
    }
    HorizontalScrollBar->setVisible(trend);
    VerticalScrollBar->setVisible(false);

    if (session_.state.recorderType == RecorderType::Ks318) {
        const int hours = windowHours();
        for (int i = 1; i < kZoomEntryCount; ++i)
            zoomItems_[i]->setVisible(zoomEntryShown(kZoomEntries[std::size_t(i)], hours));
    }
    if (session_.graphView.zoomAllData) {
        zoomItems_[0]->setChecked(true);
    } else {
        for (int i = 1; i < kZoomEntryCount; ++i)
            if (kZoomEntries[std::size_t(i)].spanMinutes == session_.graphView.visibleMinutes)
                zoomItems_[i]->setChecked(true);
    }
    if (trend)
        setUpScrollBar();

    if (kind == Session::GraphTrend) {
        const QString name = graphCaption(kind, trendPage_);
        setWindowTitle(name.isEmpty() ? tr(kCaption) : name);
    } else if (kind == Session::GraphCorrelation || kind == Session::GraphHistogram || kind == Session::GraphGrade) {
        setWindowTitle(graphCaption(kind, trendPage_));
    }
}

void TViewGraphicsForm::FormPaint()
{
    ++paintCount_;
    // The picture of the current recording stays while the session
    // describes another file (a retrieval's new recording).
    if (!session_.describesCurrentRecording())
        return;
    setUpControls();
    renderScreenPage(session_, session_.GraphKind, trendPage_, plotArea_->size(), image_);
}

void TViewGraphicsForm::refresh()
{
    setUpControls();
    plotArea_->update();
}

void TViewGraphicsForm::ZoomClick(int entry)
{
    if (entry < 0 || entry >= kZoomEntryCount || session_.state.recorderType != RecorderType::Ks318)
        return;
    const int hours = windowHours();
    const int span = zoomSpan(kZoomEntries[std::size_t(entry)], hours);
    if (span == session_.graphView.visibleMinutes)
        return;
    session_.graphView.visibleMinutes = span;
    session_.graphView.zoomAllData = entry == 0;
    {
        const QSignalBlocker quiet(HorizontalScrollBar);
        HorizontalScrollBar->setRange(0, hours);
        HorizontalScrollBar->setSingleStep(1);
        HorizontalScrollBar->setPageStep(std::max(1, span / 60));
    }
    zoomItems_[entry]->setChecked(true);
    plotArea_->update();
}

void TViewGraphicsForm::HorizontalScrollBarScroll(int position)
{
    if (position == session_.graphView.scrollHours)
        return;
    session_.graphView.scrollHours = position;
    plotArea_->update();
    Q_EMIT scrolled();
}

void TViewGraphicsForm::VerticalScrollBarScroll(int)
{
}

void TViewGraphicsForm::GraphicsPrintMenu1Click()
{
    PrintScreenClick();
}

void TViewGraphicsForm::PrintScreenClick()
{
    QPrinter printer(QPrinter::HighResolution);
    if (printDialog_ && printDialog_(printer))
        printWindowImage(printer);
}

void TViewGraphicsForm::PrintNumericaldataClick()
{
}

bool TViewGraphicsForm::printWindowImage(QPrinter& printer)
{
    const QPixmap picture = centralWidget()->grab();
    QPainter painter;
    if (picture.isNull() || !painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
    return painter.end();
}

void TViewGraphicsForm::showEvent(QShowEvent* event)
{
    if (!placed_ && coveredArea_) {
        // The first showing covers the main window's client area.
        placed_ = true;
        const QPoint topLeft = coveredArea_->mapToGlobal(QPoint(0, 0));
        resize(coveredArea_->size().expandedTo(minimumSizeHint()));
        move(topLeft);
    }
    QMainWindow::showEvent(event);
}

void TViewGraphicsForm::closeEvent(QCloseEvent* event)
{
    session_.GraphKind = Session::GraphNone;
    QMainWindow::closeEvent(event);
}

} // namespace ks318
