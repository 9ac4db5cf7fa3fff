#pragma once
// The recorder setup dialog: the recorder's six daily measurement times,
// read from it when the dialog first paints, and on OK the optional clear,
// the optional clock (the PC's time) and the schedule sent to it.
#include "recorder/schedule.h"

#include <QDateTime>
#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ks318 {

class BeepService;
class GuiMessageService;
class TMainForm;

// An up-down pair attached to an edit: steps the number in it from 0 to 59,
// wrapping.
class MinuteUpDown : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMin = 0;
    static constexpr int kMax = 59;
    MinuteUpDown(QLineEdit* buddy, QWidget* parent);
    // One step: the buddy's number up or down (wrapping), then clicked().
    void step(bool up);

Q_SIGNALS:
    void clicked();

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
};

class TRecorderSetup_318Form : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 35;

    // `firstPaintDone` is the main window's flag: the recorder is read at the
    // first paint after it was cleared.
    TRecorderSetup_318Form(TMainForm* mainForm, bool& firstPaintDone, GuiMessageService* messages,
                           BeepService* beeps);

    void setHelpHandler(std::function<void(int)> handler) { helpHandler_ = std::move(handler); }

    // First paint of an opening: the clock fields, then (once the dialog is
    // up) the schedule read from the recorder. OK is enabled by a successful
    // read only; a failed one says so with message 224.
    void FormPaint();
    void readRecorderSchedule();

    // Slot n is 0..5.
    void IntervalHourComboBoxChange(int n);
    void IntervalHourComboBoxExit(int n);
    void IntervalMinuteEditExit(int n);
    void IntervalMinuteUpDownClick(int n);
    // Duplicate times: marked, message 266, the dialog stays. Otherwise the
    // transfer runs; the dialog closes when every command went through, and
    // stays with message 224 when one failed. True when it went through.
    // Does nothing while OK is disabled (the schedule was not read).
    bool RecorderSetupOkButtonClick();
    void RecorderSetupHelpButtonClick();

    // The texts of slot n as they stand.
    SlotTexts slotTexts(int n) const;
    // True when slot n's hour box carries the duplicate mark.
    bool slotMarked(int n) const;

    QLabel* TimeEditLabel;
    QLineEdit* TimeMaskEdit;
    QLabel* DateEditLabel;
    QLineEdit* DateMaskEdit;
    QGroupBox* BPMeasurementTimesGroupBox;
    QLabel* MeasurementtimeLabel;
    QLabel* Label1;
    QLabel* HourLabel;
    QLabel* MinuteLabel;
    std::array<QLabel*, kScheduleSlots> PeriodLabel{};
    std::array<QComboBox*, kScheduleSlots> IntervalHourComboBox{};
    std::array<QLineEdit*, kScheduleSlots> IntervalMinuteEdit{};
    std::array<MinuteUpDown*, kScheduleSlots> IntervalMinuteUpDown{};
    QPushButton* RecorderSetupOkButton;
    QPushButton* RecorderSetupCancelButton;
    QPushButton* RecorderSetupHelpButton;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showClock();
    void setSlot(int n, const SlotTexts& texts);
    void markSlot(int n, bool marked);
    bool runTransfer();

    TMainForm* main_;
    bool& firstPaintDone_;
    GuiMessageService* messages_;
    BeepService* beeps_;
    std::function<void(int)> helpHandler_;
    QDateTime shownMoment_;   // the time and date the clock fields show
};

} // namespace ks318
