#include "physicianentryform.h"

#include "records/messages.h"
#include "records/physicianroster.h"
#include "views/cp932edit.h"
#include "views/windowplacement.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ks318 {

TPhysicianEntryForm::TPhysicianEntryForm(PhysicianRoster& roster, MessageSink* messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), roster_(roster), messages_(messages)
{
    setObjectName(QStringLiteral("PhysicianEntryForm"));
    setWindowTitle(tr("医者の登録"));
    setModal(true);

    FirstNameEdit = new Cp932LineEdit(30, this);
    FirstNameEdit->setObjectName(QStringLiteral("FirstNameEdit"));
    LastNameEdit = new Cp932LineEdit(30, this);
    LastNameEdit->setObjectName(QStringLiteral("LastNameEdit"));
    AddressMemo = new Cp932MemoEdit(50, this);
    AddressMemo->setObjectName(QStringLiteral("AddressMemo"));
    AddressMemo->setFixedHeight(3 * AddressMemo->fontMetrics().lineSpacing() + 12);
    PhoneEdit = new Cp932LineEdit(20, this);
    PhoneEdit->setObjectName(QStringLiteral("PhoneEdit"));
    for (QWidget* field : std::initializer_list<QWidget*>{FirstNameEdit, LastNameEdit, AddressMemo, PhoneEdit})
        field->setFixedWidth(260);

    PhysicianEntrySaveButton = new QPushButton(tr("保存(&S)"), this);
    PhysicianEntrySaveButton->setObjectName(QStringLiteral("PhysicianEntrySaveButton"));
    PhysicianEntrySaveButton->setDefault(true);
    PhysicianEntryCancelButton = new QPushButton(tr("取消し(&C)"), this);
    PhysicianEntryCancelButton->setObjectName(QStringLiteral("PhysicianEntryCancelButton"));
    connect(PhysicianEntrySaveButton, &QPushButton::clicked, this, &TPhysicianEntryForm::PhysicianEntrySaveButtonClick);
    connect(PhysicianEntryCancelButton, &QPushButton::clicked, this,
            &TPhysicianEntryForm::PhysicianEntryCancelButtonClick);

    auto* form = new QFormLayout;
    form->addRow(tr("姓:"), FirstNameEdit);
    form->addRow(tr("名:"), LastNameEdit);
    form->addRow(tr("住所:"), AddressMemo);
    form->addRow(tr("電話:"), PhoneEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(PhysicianEntrySaveButton);
    buttons->addWidget(PhysicianEntryCancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TPhysicianEntryForm::showEvent(QShowEvent* event)
{
    FormActivate();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TPhysicianEntryForm::FormActivate()
{
    savedRow_ = -1;
    if (isNewEntry) {
        FirstNameEdit->clear();
        LastNameEdit->clear();
        AddressMemo->clear();
        PhoneEdit->clear();
    } else if (roster_.slotOfRow(selectedRow) >= 0) {
        const PhysicianRoster::Entry e = roster_.entryOfRow(selectedRow);
        FirstNameEdit->setLimitedText(e.familyName);
        LastNameEdit->setLimitedText(e.givenName);
        AddressMemo->setStoredText(e.address);
        PhoneEdit->setLimitedText(e.phone);
    }
    FirstNameEdit->setFocus();
}

void TPhysicianEntryForm::PhysicianEntrySaveButtonClick()
{
    if (FirstNameEdit->text().trimmed().isEmpty()) {
        showMessage(messages_, kNoNameId, kErrorCaptionId, MessageIcon::Warning);
        return;
    }
    const PhysicianRoster::Entry entry{FirstNameEdit->text(), LastNameEdit->text(), AddressMemo->storedText(),
                                       PhoneEdit->text()};
    savedRow_ = roster_.save(isNewEntry, selectedRow, entry);
    if (savedRow_ >= 0)
        accept();
}

void TPhysicianEntryForm::PhysicianEntryCancelButtonClick()
{
    reject();
}

} // namespace ks318
