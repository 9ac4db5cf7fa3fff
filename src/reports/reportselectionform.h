#pragma once
// The report format dialog: the named formats of the table, to print with
// one, record one as the default or delete one. The program creates it at
// start; its menu entry stays hidden, and no dialog creates named formats,
// so its list is empty unless slots are filled.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace ks318 {

class ReportPrinter;
class Session;

class TReportSelectionForm : public QDialog {
    Q_OBJECT
public:
    TReportSelectionForm(ReportPrinter& printer, Session& session, bool& printingActive, QWidget* parent = nullptr);

    // Buttons enabled for the list and the main window's state; the
    // selection on the default slot.
    void FormPaint();
    void PrintReportButtonClick();
    void SaveDefaultReportButtonClick();
    void DeleteReportButtonClick();
    void PrintMiniReportButtonClick();
    void NewReportButtonClick();
    void EditReportButtonClick();

    QListWidget* ReportListBox;
    QPushButton* NewReportButton;
    QPushButton* EditReportButton;
    QPushButton* DeleteReportButton;
    QPushButton* ReportCloseButton;
    QPushButton* PrintReportButton;
    QPushButton* SaveDefaultReportButton;
    QPushButton* PrintMiniReportButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The in-use slot named by the selected entry; -1 for none.
    int selectedSlot() const;

    ReportPrinter& printer_;
    Session& session_;
    bool& printingActive_;
};

} // namespace ks318
