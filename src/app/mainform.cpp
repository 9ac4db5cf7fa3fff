#include "mainform.h"

#include "aboutform.h"
#include "beepservice.h"
#include "defaultbpsettingszireform.h"
#include "defaultserialportform.h"
#include "filemergeform.h"
#include "helpservice.h"
#include "hospitalnameform.h"
#include "languageform.h"
#include "messageservice.h"
#include "patientinformationform.h"
#include "physicianselectionform.h"
#include "records/bpdatafile.h"
#include "records/csvexport.h"
#include "records/fileoperations.h"
#include "records/dataset.h"
#include "records/messages.h"
#include "session/openrecording.h"
#include "session/session.h"
#include "records/settings.h"
#include "records/stringtable.h"
#include "reports/printprogressform.h"
#include "reports/reportprinter.h"
#include "reports/reportselection318form.h"
#include "reports/reportselectionform.h"
#include "views/bpdatalistform.h"
#include "views/summarydataform.h"
#include "views/viewgraphicsform.h"
#include "views/windowplacement.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "artwork.h"

namespace ks318 {

namespace {

constexpr int kTitleId = 3;
constexpr int kOpenTitleId = 8;
constexpr int kConvertTitleId = 10;
constexpr int kDeleteTitleId = 11;
constexpr int kPrintTitleId = 13;
constexpr int kDisabledId = 191;

const char* const kFileFilter = "BP data files (*.dat)";

// The client area: the wallpaper tile repeated, left to right and top to
// bottom; each repaint also runs the main window's repaint logic.
class ClientArea : public QWidget {
public:
    ClientArea(TMainForm* form, const QPixmap& tile) : QWidget(form), form_(form), tile_(tile) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int y = 0; y < height(); y += tile_.height())
            for (int x = 0; x < width(); x += tile_.width())
                p.drawPixmap(x, y, tile_);
        p.end();
        form_->FormPaint();
    }

private:
    TMainForm* form_;
    QPixmap tile_;
};

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

template <typename Receiver>
QAction* addItem(QWidget* menu, const char* name, const QString& caption, Receiver receiver)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, menu, receiver);
    menu->addAction(action);
    return action;
}

} // namespace

TMainForm::TMainForm(Session& session, GuiMessageService& messages, QWidget* parent)
    : QMainWindow(parent), session_(session), messages_(messages)
{
    setObjectName(QStringLiteral("MainForm"));
    messages_.setParent(this);
    chooseFile_ = [this](const QString& title, const QString& preset) {
        return QFileDialog::getOpenFileName(this, title, preset, QString::fromLatin1(kFileFilter));
    };
    chooseSaveFile_ = [this](const QString& title, const QString& preset) {
        QFileDialog dialog(this, title, preset, QString::fromLatin1(kFileFilter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("dat"));
        // An existing name is refused with message 268 instead.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                       : QString();
    };
    choosePrintFiles_ = [this](const QString& title, const QString& preset) {
        return QFileDialog::getOpenFileNames(this, title, preset, QString::fromLatin1(kFileFilter));
    };

    startupDirectory = QDir::currentPath();
    loadSettings(session_, startupDirectory, &messages_);
    session_.state.defaultBpMode = static_cast<BpMode>(
        isValidBpMode(session_.settings.analysis.defaultBpMode) ? session_.settings.analysis.defaultBpMode : 0);
    // The graphics and report defaults are kept by their own windows, which
    // set them when they are created.
    session_.graphView = Session::GraphView();

    WallpaperImage = new QLabel(this);
    WallpaperImage->setObjectName(QStringLiteral("WallpaperImage"));
    WallpaperImage->setPixmap(QPixmap::fromImage(wallpaperTile()));
    WallpaperImage->hide();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildToolbar();
    Toolbar->setParent(central);
    column->addWidget(Toolbar);
    column->addWidget(new ClientArea(this, WallpaperImage->pixmap()), 1);
    setCentralWidget(central);
    buildMenus();

    DefaultBpSettingsZireForm = new TDefaultBpSettingsZireForm(session_, &messages_, this);
    DefaultSerialPortForm = new TDefaultSerialPortForm(session_, &messages_, this);
    AboutForm = new TAboutForm(this);
    FileMergeForm = new TFileMergeForm(&messages_, this);
    FileMergeForm->setSaveChooser(
        [this](const QString& preset) { return chooseSaveFile_ ? chooseSaveFile_(QString(), preset) : QString(); });
    Help = new HelpService(this);
    DefaultBpSettingsZireForm->setHelpHandler([this](int context) { Help->showTopic(context); });
    SummaryDataForm = new TSummaryDataForm(session_, summaryShown, this);
    BPDataListForm = new TBPDataListForm(session_, listFilled, activeView, &messages_, this);
    BPDataListForm->setHelpHandler([this](int context) { Help->showTopic(context); });
    ViewGraphicsForm = new TViewGraphicsForm(session_, this);
    ViewGraphicsForm->setCoveredArea(central);
    // The graph and the BP data list follow each other.
    connect(ViewGraphicsForm, &TViewGraphicsForm::scrolled, BPDataListForm, [this] { BPDataListForm->update(); });
    connect(BPDataListForm, &TBPDataListForm::graphPositionChanged, ViewGraphicsForm,
            [this] { ViewGraphicsForm->refresh(); });
    // The report formats take their defaults as the print driver is made.
    PrintProgressForm = new TPrintProgressForm(this);
    Reports = new ReportPrinter(session_, &messages_, PrintProgressForm, batchPrint, printFiles, this);
    ReportSelection318Form = new TReportSelection318Form(*Reports, printingActive, this);
    ReportSelectionForm = new TReportSelectionForm(*Reports, session_, printingActive, this);
    PhysicianSelectionForm = new TPhysicianSelectionForm(session_, &messages_, this);
    HospitalNameForm = new THospitalNameForm(session_, this);
    LanguageForm = new TLanguageForm(this);
    PatientInformationForm = new TPatientInformationForm(session_, PhysicianSelectionForm, &messages_, this);
    PatientInformationForm->setHelpHandler([this](int context) { Help->showTopic(context); });
    buildRecorderDialogs();
    connect(PatientInformationForm, &TPatientInformationForm::saved, this, [this](bool nameChanged) {
        // Saved for a recording just retrieved, the information does not
        // concern the open one: its views and caption stay.
        if (!session_.describesCurrentRecording())
            return;
        if (nameChanged)
            updateCaption();
        // The new sleep times show at once.
        refreshViews();
    });
    session_.onRecordingChanged = [this] { refreshViews(); };

    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    connect(f1, &QAction::triggered, this, [this] { Help->showTopic(kHelpContext); });
    addAction(f1);

    Toolbar->hide();
    ViewMenuT1->menuAction()->setVisible(false);
    ViewMenuT2AbpmPro->menuAction()->setVisible(false);
    RecorderMenuAbpm->menuAction()->setVisible(false);
    ViewMenuT2AbpmStd->menuAction()->setVisible(true);
    RecorderMenuZire->menuAction()->setVisible(true);

    clearRecording();
    previousFilePath.clear();
    reopenPath.clear();
    openInProgress = reopenPending = batchPrint = printingActive = false;
    activeView = 0;
    setFileMenusEnabled(false);
    updateCaption();
    resize(853, 296);
    restoreWindowGeometry(this, QStringLiteral("MainForm"));
}

TMainForm::~TMainForm()
{
    session_.onRecordingChanged = nullptr;
    FormDestroy();
    shutDownRecorder();
}

void TMainForm::buildToolbar()
{
    Toolbar = new QWidget(this);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    AnalysisIntervalsStatusLabel = new QLabel(tr("不可"), Toolbar);
    AnalysisIntervalsStatusLabel->setObjectName(QStringLiteral("AnalysisIntervalsStatusLabel"));
    AnalysisIntervalsButton = new QPushButton(tr("区間解析"), Toolbar);
    AnalysisIntervalsButton->setObjectName(QStringLiteral("AnalysisIntervalsButton"));
    AnalysisIntervalsButton->setEnabled(false);
    BPModeCombo = new QComboBox(Toolbar);
    BPModeCombo->setObjectName(QStringLiteral("BPModeCombo"));
    for (int id = kFirstBpModeStringId; id < kFirstBpModeStringId + 4; ++id)
        BPModeCombo->addItem(StringTable::text(id));
    BPModeCombo->setEnabled(false);
    auto* row = new QHBoxLayout(Toolbar);
    row->addWidget(AnalysisIntervalsButton);
    row->addWidget(AnalysisIntervalsStatusLabel);
    row->addWidget(BPModeCombo);
    row->addStretch();
}

void TMainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto resetView = [this] { activeView = 0; };

    FileMenu = addMenu(bar, "FileMenu", tr("ファイル(&F)"));
    FileOpen = addItem(FileMenu, "FileOpen", tr("開く(&O)..."), [this] { FileOpenClick(); });
    FileSaveAs = addItem(FileMenu, "FileSaveAs", tr("保存(&A)..."), [this] { FileSaveAsClick(); });
    FileDelete = addItem(FileMenu, "FileDelete", tr("削除(&D)..."), [this] { FileDeleteClick(); });
    FileConvert = addItem(FileMenu, "FileConvert", tr("CSV変換(&V)..."), [this] { FileConvertClick(); });
    FileMerge = addItem(FileMenu, "FileMerge", tr("ファイル結合"), [this] { FileMergeClick(); });
    FilePrint = addItem(FileMenu, "FilePrint", tr("印刷(&P)..."), [this] { FilePrintClick(); });
    FileMenu->addSeparator();
    FileExit = addItem(FileMenu, "FileExit", tr("終了(&x)"), [this] { close(); });

    // Menus of the other recorder families: present, never shown.
    ViewMenuT1 = addMenu(bar, "ViewMenuT1", tr("解析(&V)"));
    ViewMenuT2AbpmStd = addMenu(bar, "ViewMenuT2AbpmStd", tr("解析(&V)"));
    ViewT2SummaryData = addItem(ViewMenuT2AbpmStd, "ViewT2SummaryData", tr("サマリーデータ(&S)"),
                                [this] { ViewT2SummaryDataClick(); });
    ViewT2BPDataList = addItem(ViewMenuT2AbpmStd, "ViewT2BPDataList", tr("血圧データリスト(&B)"),
                               [this] { ViewT2BPDataListClick(); });
    ViewT2Trends = addItem(ViewMenuT2AbpmStd, "ViewT2Trends", tr("トレンド(&T)"), [this] { openView(4); });
    ViewT2CorrelationPlots = addItem(ViewMenuT2AbpmStd, "ViewT2CorrelationPlots", tr("相関図(&C)"),
                                     [this] { openView(5); });
    ViewT2GradePlots = addItem(ViewMenuT2AbpmStd, "ViewT2GradePlots", tr("グレード(&G)"),
                               [this] { openView(16); });
    ViewT2Histograms = addItem(ViewMenuT2AbpmStd, "ViewT2Histograms", tr("ヒストグラム(&H)"),
                               [this] { openView(6); });
    ViewT2PatientInformation = addItem(ViewMenuT2AbpmStd, "ViewT2PatientInformation",
                                       tr("患者情報(&P)"), [this] { ViewT2PatientInformationClick(); });
    ViewMenuT2AbpmPro = addMenu(bar, "ViewMenuT2AbpmPro", tr("解析(&V)"));
    RecorderMenuAbpm = addMenu(bar, "RecorderMenuAbpm", tr("レコーダ(&c)"));

    RecorderMenuZire = addMenu(bar, "RecorderMenuZire", tr("レコーダ(&c)"));
    RecorderZireStartmeasurement = addItem(RecorderMenuZire, "RecorderZireStartmeasurement",
                                           tr("血圧測定( &m)"), [this] { RecorderZireStartmeasurementClick(); });
    RecorderMenuZire->addSeparator();
    RecorderZireRetrievedata = addItem(RecorderMenuZire, "RecorderZireRetrievedata",
                                       tr("データ読み込み(&R)..."), [this] { RecorderZireRetrievedataClick(); });
    RecorderZireCleardata = addItem(RecorderMenuZire, "RecorderZireCleardata", tr("データクリア(&C)"),
                                    [this] { RecorderZireCleardataClick(); });
    RecorderZireSetup = addItem(RecorderMenuZire, "RecorderZireSetup", tr("設定(&S)..."),
                                [this] { RecorderZireSetupClick(); });

    ReportMenu = addItem(bar, "ReportMenu", tr("レポート(&R)"), [this] { ReportMenuClick(); });

    OptionsMenu = addMenu(bar, "OptionsMenu", tr("オプション(&O)"));
    OptionsPhysicianlist = addItem(OptionsMenu, "OptionsPhysicianlist", tr("登録医リスト(&P)..."),
                                   [this] { PhysicianSelectionForm->exec(); });
    OptionsReportformats = addItem(OptionsMenu, "OptionsReportformats", tr("レポート形式(&R)..."), [] {});
    OptionsTrenddisplay = addItem(OptionsMenu, "OptionsTrenddisplay", tr("トレンド表示(&T)..."), [] {});
    OptionsDefaultsettings = addSubmenu(OptionsMenu, "OptionsDefaultsettings", tr("初期設定(&D)"));
    DefaultBPsettings = addItem(OptionsDefaultsettings, "DefaultBPsettings", tr("血圧設定(&B)..."),
                                [this] { DefaultBpSettingsZireForm->exec(); });
    DefaultSerialport = addItem(OptionsDefaultsettings, "DefaultSerialport", tr("シリアルポート(&S)..."),
                                [this] { DefaultSerialPortForm->exec(); });
    DefaultLanguage = addItem(OptionsDefaultsettings, "DefaultLanguage", tr("言語 / Language(&L)..."),
                              [this] { LanguageForm->exec(); });
    DefaultRRanalysissettings = addItem(OptionsDefaultsettings, "DefaultRRanalysissettings",
                                        tr("RR解析設定(&R)..."), [] {});
    Recordertype = addItem(OptionsMenu, "Recordertype", tr("レコーダタイプ(&T)..."), [] {});
    OptionsHospitalName = addItem(OptionsMenu, "OptionsHospitalName", tr("施設名"),
                                  [this] { HospitalNameForm->exec(); });
    for (QAction* hidden : {OptionsReportformats, OptionsTrenddisplay, DefaultRRanalysissettings, Recordertype})
        hidden->setVisible(false);

    HelpMenu = addMenu(bar, "HelpMenu", tr("ヘルプ(&H)"));
    HelpContentsItem = addItem(HelpMenu, "HelpContentsItem", tr("目次(&C)"), [this] { Help->showContents(); });
    HelpSearchItem = addItem(HelpMenu, "HelpSearchItem", tr("検索(&S)..."), [this] { Help->showSearch(); });
    HelpHowToUseItem = addItem(HelpMenu, "HelpHowToUseItem", tr("使い方(&H)"),
                               [this] { Help->showHowToUse(); });
    HelpMenu->addSeparator();
    HelpAboutItem = addItem(HelpMenu, "HelpAboutItem", tr("情報(&A)..."), [this] { AboutForm->exec(); });

    for (QMenu* menu : {FileMenu, ViewMenuT2AbpmStd, RecorderMenuZire, OptionsMenu, HelpMenu})
        connect(menu, &QMenu::aboutToShow, this, resetView);
}

QString TMainForm::captionFor(const QString& windowTitleText)
{
    QString caption = StringTable::text(kTitleId);
    if (!windowTitleText.isEmpty())
        caption += QStringLiteral(" - [ ") + windowTitleText + QStringLiteral(" ]");
    return caption;
}

void TMainForm::updateCaption()
{
    setWindowTitle(captionFor(session_.state.windowTitleText));
}

bool TMainForm::fileOpen() const
{
    return !session_.state.currentFilePath.isEmpty();
}

void TMainForm::setFileMenusEnabled(bool on)
{
    ViewMenuT2AbpmStd->menuAction()->setEnabled(on);
    ReportMenu->setEnabled(on);
    FileSaveAs->setEnabled(on);
}

void TMainForm::clearRecording()
{
    session_.clearRecording();
}

void TMainForm::makeCurrent(const QString& path)
{
    if (path.isEmpty() || !openRecording(session_, path, &messages_))
        clearRecording();
    afterRecordingChange();
}

void TMainForm::afterRecordingChange()
{
    setFileMenusEnabled(fileOpen());
    updateCaption();
    session_.recordingChanged();
}

void TMainForm::refreshViews()
{
    // A view paints only the recording the session describes completely.
    if (!session_.describesCurrentRecording())
        return;
    if (SummaryDataForm->isVisible())
        SummaryDataForm->FormPaint();
    if (ViewGraphicsForm->isVisible())
        ViewGraphicsForm->refresh();
    if (BPDataListForm->isVisible()) {
        listFilled = false;
        BPDataListForm->FormPaint();
    }
}

void TMainForm::restorePreviousFile()
{
    openInProgress = false;
    makeCurrent(previousFilePath);
}

void TMainForm::FileOpenClick()
{
    const QString path = chooseFile_ ? chooseFile_(StringTable::text(kOpenTitleId), QString()) : QString();
    if (path.isEmpty())
        return;
    openFile(path);
}

bool TMainForm::openFile(const QString& path)
{
    openInProgress = true;
    previousFilePath = session_.state.currentFilePath;
    // Message boxes of the sequence repaint this window meanwhile; the
    // open is still running then, not interrupted.
    openRunning_ = true;
    const OpenResult result = openRecording(session_, path, &messages_);
    openRunning_ = false;
    openInProgress = false;
    if (result.opened) {
        AnalysisIntervalsButton->setEnabled(false);
        AnalysisIntervalsStatusLabel->setText(StringTable::text(kDisabledId));
        BPModeCombo->setCurrentIndex(0);
        BPModeCombo->setEnabled(false);
    }
    afterRecordingChange();
    return result.opened;
}

void TMainForm::FileSaveAsClick()
{
    const QString current = session_.state.currentFilePath;
    const QString path = chooseSaveFile_ ? chooseSaveFile_(QString(), current) : QString();
    if (path.isEmpty())
        return;
    saveRecordingAs(session_, path, &messages_);
    afterRecordingChange();
}

void TMainForm::FileDeleteClick()
{
    const QString path = chooseFile_ ? chooseFile_(StringTable::text(kDeleteTitleId), QString()) : QString();
    if (path.isEmpty())
        return;
    if (!deleteRecording(session_, path, &messages_)) {
        setFileMenusEnabled(false);
        AnalysisIntervalsButton->setEnabled(false);
        AnalysisIntervalsStatusLabel->setText(StringTable::text(kDisabledId));
    }
    afterRecordingChange();
}

void TMainForm::FileConvertClick()
{
    const QString current = session_.state.currentFilePath;
    const QString path = chooseFile_ ? chooseFile_(StringTable::text(kConvertTitleId), current) : QString();
    if (path.isEmpty())
        return;
    // Should the conversion stop half-way, the next repaint makes the
    // current file current again.
    reopenPending = true;
    reopenPath = current;
    convertRunning_ = true;
    exportCsv(path, &messages_);
    convertRunning_ = false;
    reopenPending = false;
}

void TMainForm::FileMergeClick()
{
    const QString remembered = session_.state.currentFilePath;
    if (!remembered.isEmpty())
        FileMergeForm->setDirectory(QFileInfo(remembered).absolutePath());
    FileMergeForm->exec();
    // The recording current before the dialog is made current and prepared again.
    makeCurrent(remembered);
}

void TMainForm::FilePrintClick()
{
    session_.state.timeOrderError = false;
    const QString current = session_.state.currentFilePath;
    const QStringList files =
        choosePrintFiles_ ? choosePrintFiles_(StringTable::text(kPrintTitleId), current) : QStringList();
    if (!files.isEmpty()) {
        reopenPath = current;
        printFiles = files;
        batchPrint = true;
        ReportMenuClick();
        batchPrint = false;
    }
    printFiles.clear();
    // A report run that did not end normally: the file current before it
    // is made current again.
    if (printingActive) {
        printingActive = false;
        makeCurrent(reopenPath);
        return;
    }
    afterRecordingChange();
}

void TMainForm::ReportMenuClick()
{
    ReportSelection318Form->exec();
}

void TMainForm::FormPaint()
{
    if (!firstPaintDone_) {
        firstPaintDone_ = true;
        if (splash_)
            QTimer::singleShot(800, splash_, &QWidget::close);
    }
    if (openInProgress && !openRunning_) {
        // An open that did not finish: the previous file becomes current again.
        restorePreviousFile();
    }
    if (reopenPending && !convertRunning_) {
        reopenPending = false;
        makeCurrent(reopenPath);
    }
}

void TMainForm::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    QDir::setCurrent(startupDirectory);
    session_.settings.directory = startupDirectory;
    saveSettings(session_, &messages_);
}

void TMainForm::openView(int view)
{
    activeView = view;
    if (view == 4 || view == 5 || view == 6 || view == 16)
        showGraphics(view);
}

namespace {

// Brings a view window up; one already shown is raised and, for the
// windows that rebuild on painting, repainted.
void bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    window->update();
}

} // namespace

void TMainForm::ViewT2SummaryDataClick()
{
    activeView = 1;
    const bool shown = SummaryDataForm->isVisible();
    bringUp(SummaryDataForm);
    if (shown)
        SummaryDataForm->FormPaint();
}

void TMainForm::ViewT2BPDataListClick()
{
    activeView = 2;
    listFilled = false;
    bringUp(BPDataListForm);
    BPDataListForm->FormPaint();
}

void TMainForm::ViewT2PatientInformationClick()
{
    activeView = 15;
    PatientInformationForm->copyPhysicianFields();
    PatientInformationForm->showForPreparedRecording();
}

void TMainForm::showGraphics(int graphKind)
{
    session_.GraphKind = graphKind;
    ViewGraphicsForm->refresh();
    bringUp(ViewGraphicsForm);
}

void TMainForm::restoreActiveView()
{
    switch (activeView) {
    case 1:
        SummaryDataForm->show();
        break;
    case 2:
        BPDataListForm->show();
        break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 16:
        ViewGraphicsForm->show();
        break;
    default:
        break;
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    saveWindowGeometry(this, QStringLiteral("MainForm"));
    QMainWindow::closeEvent(event);
}

void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
            restoreActiveView();
    }
    QMainWindow::changeEvent(event);
}

} // namespace ks318
