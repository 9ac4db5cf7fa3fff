#include "reportselection318form.h"

#include "reportprinter.h"

#include "views/windowplacement.h"

#include <QGridLayout>
#include <QPushButton>

namespace ks318 {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumWidth(170);
    return b;
}

} // namespace

TReportSelection318Form::TReportSelection318Form(ReportPrinter& printer, bool& printingActive, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), printer_(printer),
      printingActive_(printingActive)
{
    setObjectName(QStringLiteral("ReportSelection318Form"));
    setWindowTitle(tr("レポート形式"));
    setModal(true);
    PrintReportButton = button(this, "PrintReportButton", tr("印刷(&P)"));
    PrintPtReportButton = button(this, "PrintPtReportButton", tr("患者用ﾚﾎﾟｰﾄ印刷(&R)"));
    ReportCloseButton = button(this, "ReportCloseButton", tr("閉じる(&C)"));
    PrintMiniReportButton = button(this, "PrintMiniReportButton", tr("簡易ﾚﾎﾟｰﾄ印刷 (&M)"));
    PrintReportButton->setDefault(true);
    connect(PrintReportButton, &QPushButton::clicked, this, &TReportSelection318Form::PrintReportButtonClick);
    connect(PrintPtReportButton, &QPushButton::clicked, this, &TReportSelection318Form::PrintPtReportButtonClick);
    connect(PrintMiniReportButton, &QPushButton::clicked, this, &TReportSelection318Form::PrintMiniReportButtonClick);
    connect(ReportCloseButton, &QPushButton::clicked, this, &TReportSelection318Form::ReportCloseButtonClick);

    auto* grid = new QGridLayout(this);
    grid->addWidget(PrintReportButton, 0, 0);
    grid->addWidget(PrintMiniReportButton, 1, 0);
    grid->addWidget(PrintPtReportButton, 2, 0);
    grid->addWidget(ReportCloseButton, 3, 0);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TReportSelection318Form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

template <typename Print>
void TReportSelection318Form::printAndClose(Print print)
{
    printingActive_ = true;
    print();
    printingActive_ = false;
    accept();
}

void TReportSelection318Form::PrintReportButtonClick()
{
    printAndClose([this] {
        printer_.formats.selectedIndex = 0;
        printer_.miniReport = false;
        printer_.PrintReport(printer_.formats.slot0());
    });
}

void TReportSelection318Form::PrintPtReportButtonClick()
{
    printAndClose([this] { printer_.PrintPatientReport(); });
}

void TReportSelection318Form::PrintMiniReportButtonClick()
{
    printAndClose([this] { printer_.PrintMiniReport(); });
}

void TReportSelection318Form::ReportCloseButtonClick()
{
    reject();
}

} // namespace ks318
