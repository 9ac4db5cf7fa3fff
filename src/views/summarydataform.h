#pragma once
// The summary data window: the period statistics of the open recording on
// the pages "Full", "Partial" (never shown), "Day"/"Awake" and
// "Night"/"Sleep". Every paint reads the data file again and recomputes, so
// the window always shows the file as last saved with the current BP mode,
// sleep times and thresholds. Read-only; it prints and closes.
#include <QDialog>
#include <QHash>
#include <functional>

class QLabel;
class QPrinter;
class QPushButton;
class QTabWidget;
class QWidget;

namespace ks318 {

class ClinicalPage;
class Session;

class TSummaryDataForm : public QDialog {
    Q_OBJECT
public:
    // Asks where to print; true when the user confirmed. The printer is set
    // up by the runner (device or PDF file).
    using PrintDialogRunner = std::function<bool(QPrinter& printer)>;

    // `summaryShown` is the main window's flag: while it is clear the window
    // opens on its "Full" page, and the first paint sets it.
    TSummaryDataForm(Session& session, bool& summaryShown, QWidget* parent = nullptr);
    ~TSummaryDataForm() override;

    void setPrintDialog(PrintDialogRunner runner) { printDialog_ = std::move(runner); }

    // Rebuilds every page from a freshly filled block.
    void FormPaint();
    void SummaryDataPrintButtonClick();
    void SummaryDataCloseButtonClick();

    // Draws the window's image scaled to one page of `printer`; false when the
    // printer (or file) could not be started.
    bool printWindowImage(QPrinter& printer);

    // A control of a page by its name ("SysMin0", "EndTimeDate2a", ...).
    QLabel* label(const QString& name) const;

    QPushButton* SummaryDataPrintButton;
    QPushButton* SummaryDataCloseButton;
    QTabWidget* SummaryPageControl;
    QWidget* FullTabSheet;
    QWidget* PartialTabSheet;
    QWidget* AwakeTabSheet;
    QWidget* SleepTabSheet;
    ClinicalPage* ClinicalTabSheet;   // "臨床指標", after the period pages

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void writePage(int period);
    void zeroFillPage1();
    void setText(const QString& name, const QString& text);

    Session& session_;
    bool& summaryShown_;
    PrintDialogRunner printDialog_;
    bool centred_ = false;
    QHash<QString, QLabel*> labels_;  // the named labels of all pages
};

} // namespace ks318
