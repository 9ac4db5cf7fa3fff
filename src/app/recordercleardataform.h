#pragma once
// The clear-data dialog: a warning, and on OK every reading stored in the
// recorder is erased.
#include <QDialog>

class QLabel;
class QPushButton;

namespace ks318 {

class BeepService;
class GuiMessageService;
class TMainForm;

class TRecorderClearDataForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 38;

    TRecorderClearDataForm(TMainForm* mainForm, GuiMessageService* messages, BeepService* beeps);

    // The exclamation beep, at every showing.
    void FormPaint();
    // "12" until acknowledged (message 224 when the recorder stops
    // answering), then the dialog closes.
    void RecorderClearOkButtonClick();
    void RecorderClearCancelButtonClick();

    QLabel* Label1;
    QPushButton* RecorderClearOkButton;
    QPushButton* RecorderClearCancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainForm* main_;
    GuiMessageService* messages_;
    BeepService* beeps_;
};

} // namespace ks318
