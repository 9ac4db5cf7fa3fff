#pragma once
// The progress dialog of batch printing: the file being printed, a bar, and
// a cancel button whose flag the print driver reads between files.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace ks318 {

class TPrintProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit TPrintProgressForm(QWidget* parent = nullptr);

    // Shown before the first file: bar at 0, label empty, cancel flag clear.
    void start();
    void PrintCancelButtonClick();
    bool cancelled() const { return cancelled_; }

    QLabel* FileLabel;
    QProgressBar* ProgressBar;
    QPushButton* PrintCancelButton;

private:
    bool cancelled_ = false;
};

} // namespace ks318
