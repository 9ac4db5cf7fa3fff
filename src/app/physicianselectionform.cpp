#include "physicianselectionform.h"

#include "physicianentryform.h"
#include "session/session.h"
#include "views/windowplacement.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace ks318 {

TPhysicianSelectionForm::TPhysicianSelectionForm(Session& session, MessageSink* messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), roster_(session.settings.physicians)
{
    setObjectName(QStringLiteral("PhysicianSelectionForm"));
    setWindowTitle(tr("登録医リスト"));
    setModal(true);

    PhysicianListBox = new QListWidget(this);
    PhysicianListBox->setObjectName(QStringLiteral("PhysicianListBox"));
    PhysicianListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    PhysicianListBox->setFixedSize(220, 240);
    NewPhysicianButton = new QPushButton(tr("新規(&N)..."), this);
    NewPhysicianButton->setObjectName(QStringLiteral("NewPhysicianButton"));
    EditPhysicianButton = new QPushButton(tr("編集(&E)..."), this);
    EditPhysicianButton->setObjectName(QStringLiteral("EditPhysicianButton"));
    DeletePhysicianButton = new QPushButton(tr("削除(&D)"), this);
    DeletePhysicianButton->setObjectName(QStringLiteral("DeletePhysicianButton"));
    OKPhysicianButton = new QPushButton(QStringLiteral("&OK"), this);
    OKPhysicianButton->setObjectName(QStringLiteral("OKPhysicianButton"));
    OKPhysicianButton->setDefault(true);
    connect(NewPhysicianButton, &QPushButton::clicked, this, &TPhysicianSelectionForm::NewPhysicianButtonClick);
    connect(EditPhysicianButton, &QPushButton::clicked, this, &TPhysicianSelectionForm::EditPhysicianButtonClick);
    connect(DeletePhysicianButton, &QPushButton::clicked, this, &TPhysicianSelectionForm::DeletePhysicianButtonClick);
    connect(OKPhysicianButton, &QPushButton::clicked, this, &TPhysicianSelectionForm::OKPhysicianButtonClick);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(NewPhysicianButton);
    buttons->addWidget(EditPhysicianButton);
    buttons->addWidget(DeletePhysicianButton);
    buttons->addStretch();
    buttons->addWidget(OKPhysicianButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(PhysicianListBox);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    PhysicianEntryForm = new TPhysicianEntryForm(roster_, messages, this);
    roster_.build();
    showRows(0);
}

void TPhysicianSelectionForm::showRows(int selected)
{
    PhysicianListBox->clear();
    PhysicianListBox->addItems(roster_.rows());
    if (roster_.rowCount() > 0)
        PhysicianListBox->setCurrentRow(std::clamp(selected, 0, roster_.rowCount() - 1));
    const bool any = roster_.rowCount() > 0;
    EditPhysicianButton->setEnabled(any);
    DeletePhysicianButton->setEnabled(any);
}

void TPhysicianSelectionForm::showEvent(QShowEvent* event)
{
    FormPaint();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TPhysicianSelectionForm::FormPaint()
{
    showRows(PhysicianListBox->currentRow());
    PhysicianListBox->setFocus();
}

void TPhysicianSelectionForm::runEntry(bool isNew)
{
    PhysicianEntryForm->isNewEntry = isNew;
    PhysicianEntryForm->selectedRow = PhysicianListBox->currentRow();
    if (PhysicianEntryForm->exec() == QDialog::Accepted)
        showRows(PhysicianEntryForm->savedRow());
}

void TPhysicianSelectionForm::NewPhysicianButtonClick()
{
    if (roster_.full())
        return;
    runEntry(true);
}

void TPhysicianSelectionForm::EditPhysicianButtonClick()
{
    runEntry(false);
}

void TPhysicianSelectionForm::DeletePhysicianButtonClick()
{
    const int row = PhysicianListBox->currentRow();
    roster_.remove(row);
    showRows(row);
}

void TPhysicianSelectionForm::OKPhysicianButtonClick()
{
    roster_.choose(PhysicianListBox->currentRow());
    accept();
}

} // namespace ks318
