#pragma once
// The patient information dialog: the patient's and the physician's
// details and the sleep and wake times of a recording, stored in its
// companion file. The sleep and wake times set the recording's day and
// night periods for the summary, the graphs and the reports.
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ks318 {

class Cp932LineEdit;
class Cp932MemoEdit;
class Session;
class TPhysicianSelectionForm;
struct MessageSink;

class TPatientInformationForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 33;
    static constexpr int kNotATimeId = 1000;  // a sleep or wake field that is not a time of day

    // `physicianList` is shown by the list button; null for none.
    TPatientInformationForm(Session& session, TPhysicianSelectionForm* physicianList, MessageSink* messages,
                            QWidget* parent = nullptr);

    void setHelpHandler(std::function<void(int)> handler) { helpHandler_ = std::move(handler); }

    // Shows the dialog modally for the recording the session was prepared
    // with last (the open one, or the one just retrieved), every field
    // filled afresh from its records. Returns QDialog::Accepted when the
    // information was saved.
    int showForPreparedRecording();
    // The Analysis menu's step before showing: the physician fields from
    // the patient record.
    void copyPhysicianFields();

    // Set, the next showing fills the fields from the records.
    bool fillPending = false;
    // Fills the fields when fillPending is set, then clears it.
    void FormPaint();

    // Leaving a sleep or wake field: a time of day is rewritten "hh:nn";
    // anything else is refused (message kNotATimeId) and the field takes the
    // focus back. True when the field is empty or holds a time.
    bool Day1BeginMaskEditExit();
    bool Day1EndMaskEditExit();
    bool Day2BeginMaskEditExit();
    bool Day2EndMaskEditExit();
    // Takes the physician chosen with OK in the physician list.
    void MdListButtonClick();
    // Stores everything and closes; when the companion file cannot be
    // written (message 202) the dialog stays open with what was typed.
    bool PtSaveButtonClick();
    void PtCancelButtonClick();

    QLabel* File;
    QLabel* Date;
    QLabel* Time;
    QLabel* RecorderIdLabel;
    QLabel* RecorderId;
    Cp932LineEdit* PtNameEdit;
    Cp932MemoEdit* PtAddressMemo;
    Cp932LineEdit* PtPhoneEdit;
    Cp932LineEdit* SsnEdit;
    Cp932MemoEdit* InsuranceMemo;
    Cp932LineEdit* MedicareEdit;
    Cp932LineEdit* AgeEdit;
    Cp932LineEdit* SexEdit;
    Cp932LineEdit* HeightEdit;
    Cp932LineEdit* WeightEdit;
    Cp932LineEdit* MedicationsEdit;
    Cp932LineEdit* MdNameEdit;
    Cp932MemoEdit* MdAddressMemo;
    Cp932LineEdit* MdPhoneEdit;
    QPushButton* MdListButton;
    QLabel* SleepLabel;
    QLabel* Day1Label;
    QLabel* Day2Label;
    Cp932LineEdit* Day1BeginMaskEdit;
    Cp932LineEdit* Day1EndMaskEdit;
    Cp932LineEdit* Day2BeginMaskEdit;
    Cp932LineEdit* Day2EndMaskEdit;
    Cp932MemoEdit* CommentsMemo;
    QPushButton* PtSaveButton;
    QPushButton* PtCancelButton;

Q_SIGNALS:
    // The information was saved; the patient's name changed with it when
    // `nameChanged`, and the window title text is renewed then.
    void saved(bool nameChanged);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool checkTimeField(QLineEdit* field);
    void clearFields();

    Session& session_;
    TPhysicianSelectionForm* physicianList_;
    MessageSink* messages_;
    std::function<void(int)> helpHandler_;
};

} // namespace ks318
