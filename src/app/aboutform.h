#pragma once
// The about box.
#include <QDialog>

class QLabel;
class QPushButton;

namespace ks318 {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QLabel* ProductNameLabel;
    QLabel* VersionLabel;
    QLabel* VersionValueLabel;
    QPushButton* AboutOkButton;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ks318
