#include "reportselectionform.h"

#include "reportprinter.h"

#include "session/session.h"
#include "views/windowplacement.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

namespace ks318 {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TReportSelectionForm::TReportSelectionForm(ReportPrinter& printer, Session& session, bool& printingActive,
                                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), printer_(printer), session_(session),
      printingActive_(printingActive)
{
    setObjectName(QStringLiteral("ReportSelectionForm"));
    setWindowTitle(tr("レポート形式"));
    setModal(true);
    ReportListBox = new QListWidget(this);
    ReportListBox->setObjectName(QStringLiteral("ReportListBox"));
    ReportListBox->setSortingEnabled(true);
    NewReportButton = button(this, "NewReportButton", tr("新規(&N)..."));
    EditReportButton = button(this, "EditReportButton", tr("編集(&E)..."));
    DeleteReportButton = button(this, "DeleteReportButton", tr("削除(&D)"));
    ReportCloseButton = button(this, "ReportCloseButton", tr("閉じる(&C)"));
    PrintReportButton = button(this, "PrintReportButton", tr("印刷(&P)"));
    SaveDefaultReportButton = button(this, "SaveDefaultReportButton", tr("レポート初期設定(&S)"));
    PrintMiniReportButton = button(this, "PrintMiniReportButton", tr("簡易ﾚﾎﾟｰﾄ印刷 (&M)"));
    PrintReportButton->setDefault(true);
    connect(NewReportButton, &QPushButton::clicked, this, &TReportSelectionForm::NewReportButtonClick);
    connect(EditReportButton, &QPushButton::clicked, this, &TReportSelectionForm::EditReportButtonClick);
    connect(DeleteReportButton, &QPushButton::clicked, this, &TReportSelectionForm::DeleteReportButtonClick);
    connect(ReportCloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(PrintReportButton, &QPushButton::clicked, this, &TReportSelectionForm::PrintReportButtonClick);
    connect(SaveDefaultReportButton, &QPushButton::clicked, this,
            &TReportSelectionForm::SaveDefaultReportButtonClick);
    connect(PrintMiniReportButton, &QPushButton::clicked, this, &TReportSelectionForm::PrintMiniReportButtonClick);

    auto* grid = new QGridLayout(this);
    grid->addWidget(ReportListBox, 0, 0, 7, 1);
    int row = 0;
    for (QPushButton* b : {PrintReportButton, PrintMiniReportButton, NewReportButton, EditReportButton,
                           DeleteReportButton, SaveDefaultReportButton, ReportCloseButton})
        grid->addWidget(b, row++, 1);

    printer_.miniReport = false;
    const ReportFormatTable& table = printer_.formats;
    if (table.valid) {
        for (const ReportFormat& f : table.slots)
            if (f.inUse == 1)
                ReportListBox->addItem(f.name.toQString());
    }
}

void TReportSelectionForm::showEvent(QShowEvent* event)
{
    FormPaint();
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void TReportSelectionForm::FormPaint()
{
    const bool listed = ReportListBox->count() > 0;
    const bool printable = listed && (!session_.state.currentFilePath.isEmpty() || printer_.multiFileMode());
    EditReportButton->setEnabled(listed);
    DeleteReportButton->setEnabled(listed);
    SaveDefaultReportButton->setEnabled(listed);
    PrintReportButton->setEnabled(printable);
    PrintMiniReportButton->setEnabled(printable);
    const ReportFormatTable& table = printer_.formats;
    if (listed && table.defaultIndex >= 0 && table.defaultIndex < ReportFormatTable::kSlots) {
        const QString name = table.slots[std::size_t(table.defaultIndex)].name.toQString();
        const QList<QListWidgetItem*> found = ReportListBox->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            ReportListBox->setCurrentItem(found.first());
    }
}

int TReportSelectionForm::selectedSlot() const
{
    const QListWidgetItem* item = ReportListBox->currentItem();
    if (!item)
        return -1;
    const ReportFormatTable& table = printer_.formats;
    for (int i = 0; i < ReportFormatTable::kSlots; ++i) {
        const ReportFormat& f = table.slots[std::size_t(i)];
        if (f.inUse == 1 && f.name.toQString() == item->text())
            return i;
    }
    return -1;
}

void TReportSelectionForm::PrintReportButtonClick()
{
    const int slot = selectedSlot();
    if (slot >= 0) {
        printer_.formats.selectedIndex = slot;
        printer_.PrintReport(printer_.formats.slots[std::size_t(slot)]);
    }
    accept();
}

void TReportSelectionForm::SaveDefaultReportButtonClick()
{
    const int slot = selectedSlot();
    if (slot >= 0)
        printer_.formats.defaultIndex = slot;
}

void TReportSelectionForm::DeleteReportButtonClick()
{
    const int slot = selectedSlot();
    if (slot < 0)
        return;
    printer_.formats.slots[std::size_t(slot)] = ReportFormat();
    delete ReportListBox->takeItem(ReportListBox->currentRow());
    FormPaint();
}

void TReportSelectionForm::PrintMiniReportButtonClick()
{
    printingActive_ = true;
    printer_.PrintMiniReport();
    printingActive_ = false;
    accept();
}

void TReportSelectionForm::NewReportButtonClick()
{
}

void TReportSelectionForm::EditReportButtonClick()
{
}

} // namespace ks318
