#pragma once
// The report dialog of the Report menu: the full report, the patient report
// and the mini report of the open recording (or of the files File > Print
// handed over).
#include <QDialog>

class QPushButton;

namespace ks318 {

class ReportPrinter;

class TReportSelection318Form : public QDialog {
    Q_OBJECT
public:
    // `printingActive` is the main window's flag, set while a report prints.
    TReportSelection318Form(ReportPrinter& printer, bool& printingActive, QWidget* parent = nullptr);

    void PrintReportButtonClick();
    void PrintPtReportButtonClick();
    void PrintMiniReportButtonClick();
    void ReportCloseButtonClick();

    QPushButton* PrintReportButton;
    QPushButton* PrintPtReportButton;
    QPushButton* ReportCloseButton;
    QPushButton* PrintMiniReportButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename Print>
    void printAndClose(Print print);

    ReportPrinter& printer_;
    bool& printingActive_;
};

} // namespace ks318
