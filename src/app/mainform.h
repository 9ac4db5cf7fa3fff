#pragma once
// The main window: the menus, the open sequence that makes a recording
// current, the caption, and writing the settings back at exit.
#include "recorder/recorderservice.h"

#include <QMainWindow>
#include <QPixmap>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace ks318 {

class Session;
class BeepService;
class BusyCursor;
class GuiMessageService;
class LinkWaiter;
class TRecorderClearDataForm;
class TRecorderRetrieveForm;
class TRecorderSetup_318Form;
class HelpService;
class TAboutForm;
class TBPDataListForm;
class TSummaryDataForm;
class TDefaultBpSettingsZireForm;
class TDefaultSerialPortForm;
class TFileMergeForm;
class THospitalNameForm;
class TLanguageForm;
class TPatientInformationForm;
class TPhysicianSelectionForm;
class TViewGraphicsForm;
class ReportPrinter;
class TPrintProgressForm;
class TReportSelection318Form;
class TReportSelectionForm;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 24;

    // Asks the user for a file: dialog title and preset path in, the chosen
    // path out (empty when cancelled).
    using FileChooser = std::function<QString(const QString& title, const QString& preset)>;

    // Construction reads the settings from the current directory, which
    // becomes the start directory.
    TMainForm(Session& session, GuiMessageService& messages, QWidget* parent = nullptr);
    ~TMainForm() override;

    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // The save dialog (filter "*.dat", default extension "dat"): title and
    // preset path in, the chosen path out (empty when cancelled).
    void setSaveChooser(FileChooser chooser) { chooseSaveFile_ = std::move(chooser); }
    // The open dialog of File > Print, several files at once: title and
    // preset path in, the chosen paths out (none when cancelled).
    using FilesChooser = std::function<QStringList(const QString& title, const QString& preset)>;
    void setPrintFilesChooser(FilesChooser chooser) { choosePrintFiles_ = std::move(chooser); }
    // The splash window to close 800 ms after the first repaint.
    void setSplash(QWidget* splash) { splash_ = splash; }

    // File > Open: asks for a file, then openFile.
    void FileOpenClick();
    // File > Save As, Delete, CSV conversion and merge files.
    void FileSaveAsClick();
    void FileDeleteClick();
    void FileConvertClick();
    void FileMergeClick();
    // File > Print: the chosen files through the report dialog, one after
    // the other. The Report menu: the report dialog for the open recording.
    void FilePrintClick();
    void ReportMenuClick();
    // The open sequence for `path`; true when the recording became current.
    // A refused file leaves the previous recording current, or none.
    bool openFile(const QString& path);
    // Repaint of the client area (the tiled wallpaper, the splash, the
    // reopening of an interrupted open or conversion).
    void FormPaint();
    // Exit: back to the start directory and write data.m, data.d, data.o.
    // Runs once; the destructor calls it.
    void FormDestroy();
    // Reshows the view opened last; called when the application is restored.
    void restoreActiveView();
    // Analysis > summary data (activeView 1) and BP data list (activeView 2).
    void ViewT2SummaryDataClick();
    void ViewT2BPDataListClick();
    // Analysis > patient information (activeView 15), shown modally.
    void ViewT2PatientInformationClick();

    // Makes `path` current by the open sequence (no recording when empty or
    // refused), then the menus, the caption and the open views follow.
    void makeCurrent(const QString& path);

    // The caption for a window title text: string 3, then " - [ text ]".
    static QString captionFor(const QString& windowTitleText);
    // Sets the caption from the window title text of the session.
    void updateCaption();

    // Recorder menu: each entry opens a recorder session, then runs its
    // command or shows its dialog.
    void RecorderZireStartmeasurementClick();
    void RecorderZireRetrievedataClick();
    void RecorderZireCleardataClick();
    void RecorderZireSetupClick();
    // The session of the last recorder command; null when there is none or
    // the port has changed since.
    std::unique_ptr<RecorderService> recorderSession;
    // Set at the setup dialog's first paint, cleared when it has closed.
    bool setupFirstPaintDone = false;
    // Recorder sessions on `port` instead of the serial port of the settings,
    // waiting on `time` (tests: a scripted port and a simulated clock).
    void setRecorderLine(SerialPortIo* port, Clock* time);
    // The save dialog with `preset`; the chosen path, empty when cancelled.
    QString chooseSaveFile(const QString& preset) const;

    Session& session() { return session_; }
    bool fileOpen() const;

    // Main-window state.
    bool openInProgress = false;
    QString previousFilePath;
    bool reopenPending = false;
    QString reopenPath;
    bool batchPrint = false;
    bool printingActive = false;
    QStringList printFiles;     // the files of File > Print while batchPrint is set
    QString startupDirectory;
    int activeView = 0;  // 0 none, 1 summary, 2 BP data list, 4..8 graphics, 15 patient, 16 grades
    bool summaryShown = false;  // clear: the summary window opens on its "Full" page
    bool listFilled = false;    // clear: the BP data list fills its grid at the next paint

    // Menus and entries, named as the program names them.
    QMenu* FileMenu;
    QAction* FileOpen;
    QAction* FileSaveAs;
    QAction* FileDelete;
    QAction* FileConvert;
    QAction* FileMerge;
    QAction* FilePrint;
    QAction* FileExit;
    QMenu* ViewMenuT1;
    QMenu* ViewMenuT2AbpmStd;
    QAction* ViewT2SummaryData;
    QAction* ViewT2BPDataList;
    QAction* ViewT2Trends;
    QAction* ViewT2CorrelationPlots;
    QAction* ViewT2GradePlots;
    QAction* ViewT2Histograms;
    QAction* ViewT2PatientInformation;
    QMenu* ViewMenuT2AbpmPro;
    QMenu* RecorderMenuAbpm;
    QMenu* RecorderMenuZire;
    QAction* RecorderZireStartmeasurement;
    QAction* RecorderZireRetrievedata;
    QAction* RecorderZireCleardata;
    QAction* RecorderZireSetup;
    QAction* ReportMenu;
    QMenu* OptionsMenu;
    QAction* OptionsPhysicianlist;
    QAction* OptionsReportformats;
    QAction* OptionsTrenddisplay;
    QMenu* OptionsDefaultsettings;
    QAction* DefaultBPsettings;
    QAction* DefaultSerialport;
    QAction* DefaultLanguage;
    QAction* DefaultRRanalysissettings;
    QAction* Recordertype;
    QAction* OptionsHospitalName;
    QMenu* HelpMenu;
    QAction* HelpContentsItem;
    QAction* HelpSearchItem;
    QAction* HelpHowToUseItem;
    QAction* HelpAboutItem;

    // The hidden toolbar and its controls.
    QWidget* Toolbar;
    QLabel* AnalysisIntervalsStatusLabel;
    QPushButton* AnalysisIntervalsButton;
    QComboBox* BPModeCombo;
    QLabel* WallpaperImage;

    TDefaultBpSettingsZireForm* DefaultBpSettingsZireForm;
    TDefaultSerialPortForm* DefaultSerialPortForm;
    TAboutForm* AboutForm;
    TFileMergeForm* FileMergeForm;
    TSummaryDataForm* SummaryDataForm;
    TBPDataListForm* BPDataListForm;
    TPhysicianSelectionForm* PhysicianSelectionForm;
    TPatientInformationForm* PatientInformationForm;
    THospitalNameForm* HospitalNameForm;
    TLanguageForm* LanguageForm;
    TViewGraphicsForm* ViewGraphicsForm;
    ReportPrinter* Reports;
    TPrintProgressForm* PrintProgressForm;
    TReportSelection318Form* ReportSelection318Form;
    TReportSelectionForm* ReportSelectionForm;
    HelpService* Help;

    // The recorder dialogs, the waits of the link and the exclamation beep.
    TRecorderRetrieveForm* RecorderRetrieveForm;
    TRecorderSetup_318Form* RecorderSetup_318Form;
    TRecorderClearDataForm* RecorderClearDataForm;
    LinkWaiter* RecorderWaits;
    BeepService* Beeps;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildRecorderDialogs();
    bool openRecorderSession(BusyCursor& busy);
    void runRecorderCommand(const std::function<void()>& action, bool busyMeanwhile);
    void shutDownRecorder();
    void setFileMenusEnabled(bool on);
    void restorePreviousFile();
    // The menus and the caption follow the current recording; the open
    // views are told once.
    void afterRecordingChange();
    // The visible views rebuild from the current recording.
    void refreshViews();
    void clearRecording();
    void openView(int view);
    void showGraphics(int graphKind);

    Session& session_;
    GuiMessageService& messages_;
    FileChooser chooseFile_;
    FileChooser chooseSaveFile_;
    FilesChooser choosePrintFiles_;
    QWidget* splash_ = nullptr;
    SerialPortIo* recorderPort_ = nullptr;
    std::unique_ptr<BeepService> beeps_;
    bool firstPaintDone_ = false;
    bool destroyed_ = false;
    bool openRunning_ = false;     // openFile is working (message boxes may repaint meanwhile)
    bool convertRunning_ = false;  // CSV conversion is working
};

} // namespace ks318
