#pragma once
// The facility name dialog: the name printed on the reports and whether it
// is printed. Kept in memory until data.o is written at exit.
#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace ks318 {

class Cp932LineEdit;
class Session;

class THospitalNameForm : public QDialog {
    Q_OBJECT
public:
    explicit THospitalNameForm(Session& session, QWidget* parent = nullptr);

    // Shows the stored name and print switch.
    void FormShow();
    void HospitalNameSaveButtonClick();
    void HospitalNameCancelButtonClick();

    Cp932LineEdit* HospitalNameEdit;
    QGroupBox* PrintGroupBox;
    QRadioButton* HospitalNameOnRadioButton;
    QRadioButton* HospitalNameOffRadioButton;
    QPushButton* HospitalNameSaveButton;
    QPushButton* HospitalNameCancelButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
};

} // namespace ks318
