#pragma once
// The serial port dialog: which of the ports COM1 to COM4 the recorder hangs
// on. Each choice shows the device it stands for on this machine, and
// whether that device exists and this user may open it.
#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ks318 {

class Session;
struct MessageSink;

class TDefaultSerialPortForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 46;
    static constexpr int kSettingsNotLoadedId = 220;

    TDefaultSerialPortForm(Session& session, MessageSink* messages, QWidget* parent = nullptr);

    // Selects the stored port, or reports settings that were never loaded.
    void FormPaint();
    void SerialPortSaveButtonClick();
    void SerialPortCancelButtonClick();

    QGroupBox* SerialPortGroupBox;
    QRadioButton* Com1RadioButton;
    QRadioButton* Com2RadioButton;
    QRadioButton* Com3RadioButton;
    QRadioButton* Com4RadioButton;
    QPushButton* SerialPortSaveButton;
    QPushButton* SerialPortCancelButton;

    QRadioButton* radioButton(int number) const;
    QLabel* deviceLabel(int number) const { return deviceLabels_[std::size_t(number - 1)]; }
    QLabel* accessLabel(int number) const { return accessLabels_[std::size_t(number - 1)]; }

Q_SIGNALS:
    // Another port was chosen; sent before the open port (if any) closes.
    void portChanging();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
    MessageSink* messages_;
    std::array<QLabel*, 4> deviceLabels_{};
    std::array<QLabel*, 4> accessLabels_{};
};

} // namespace ks318
