#pragma once
// The retrieval dialog: pulls the readings stored in the recorder as soon as
// it is shown, then writes them into a new recording under the name the user
// picks, with the patient's name, and lets the user complete the patient
// information.
#include <QDialog>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace ks318 {

class BeepService;
class Cp932LineEdit;
class GuiMessageService;
class TMainForm;

class TRecorderRetrieveForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 37;

    TRecorderRetrieveForm(TMainForm* mainForm, GuiMessageService* messages, BeepService* beeps);

    // Once per showing, when the dialog is up: the block of readings from the
    // recorder (busy cursor meanwhile), then FormPaint.
    void FormActivate();
    // The first reading's date and time; otherwise the dialog closes after
    // message 208 when the recorder holds no readings, or 224 when the
    // transfer failed.
    void FormPaint();
    // Writes the new recording and completes it; the dialog closes when the
    // file was written (or could not be created), and stays open for another
    // try otherwise.
    void RetrievedataButtonClick();
    // Closing: the next retrieval starts without a name.
    void FormClose();

    bool hasData = false;
    std::string retrievedHeaderLine;   // record line of the first record
    int Tag = 0;                       // 1 while message 208 or 224 is up
    QString retrievalPath;             // the path chosen for the last retrieval

    QLabel* RecorderIDLabel;
    QLabel* RecorderID;
    QLabel* StartDateLabel;
    QLabel* StartDate;
    QLabel* StartTimeLabel;
    QLabel* StartTime;
    QLabel* PatientNameLabel;
    Cp932LineEdit* PatientNameEdit;
    QGroupBox* ConvertDataGroupBox;
    QCheckBox* CreateCsvFileCheckBox;
    QPushButton* RetrievedataButton;
    QLabel* StatusLabel;
    QLabel* Status;
    QLabel* ReadCounterLabel;
    QLabel* ReadCount;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TMainForm* main_;
    GuiMessageService* messages_;
    BeepService* beeps_;
    bool activationDue_ = false;
    int failureMessageId_ = 208;       // shown when the transfer brought no readings
};

} // namespace ks318
