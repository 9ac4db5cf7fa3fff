#pragma once
// The default BP settings dialog: the awake (daytime) and asleep (night-time)
// SYS/DIA thresholds of the settings.
#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ks318 {

class Session;
struct MessageSink;

// A field text as a decimal integer: leading blanks skipped, an optional
// sign, then digits up to the first non-digit; 0 when there are no digits.
int decimalValue(const QString& text);

class TDefaultBpSettingsZireForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 15;
    static constexpr int kThresholdErrorId = 197;

    TDefaultBpSettingsZireForm(Session& session, MessageSink* messages, QWidget* parent = nullptr);

    // Called with the help context by the help button.
    void setHelpHandler(std::function<void(int)> handler) { helpHandler_ = std::move(handler); }

    // Puts the stored thresholds into the fields when the settings are valid.
    void FormPaint();
    void DefaultBpSaveButtonClick();
    void DefaultBpCancelButtonClick();
    void DefaultBpHelpButtonClick();

    QLabel* HypertensiveLimitsLabel;
    QGroupBox* HyperDayIntervalGroupBox;
    QGroupBox* HyperNightIntervalGroupBox;
    QLineEdit* HyperAwakeSysLimitMaskEdit;
    QLineEdit* HyperAwakeDiaLimitMaskEdit;
    QLineEdit* HyperSleepSysLimitMaskEdit;
    QLineEdit* HyperSleepDiaLimitMaskEdit;
    QPushButton* DefaultBpSaveButton;
    QPushButton* DefaultBpCancelButton;
    QPushButton* DefaultBpHelpButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
    MessageSink* messages_;
    std::function<void(int)> helpHandler_;
};

} // namespace ks318
