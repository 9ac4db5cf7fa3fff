#include "hospitalnameform.h"

#include "session/session.h"
#include "views/cp932edit.h"
#include "views/windowplacement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ks318 {

THospitalNameForm::THospitalNameForm(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), session_(session)
{
    setObjectName(QStringLiteral("HospitalNameForm"));
    setWindowTitle(QStringLiteral("施設名"));
    setModal(true);

    HospitalNameEdit = new Cp932LineEdit(int(FacilitySettings::kMaxNameBytes), this);
    HospitalNameEdit->setObjectName(QStringLiteral("HospitalNameEdit"));
    HospitalNameEdit->setFixedWidth(340);
    PrintGroupBox = new QGroupBox(QStringLiteral("印字"), this);
    PrintGroupBox->setObjectName(QStringLiteral("PrintGroupBox"));
    HospitalNameOnRadioButton = new QRadioButton(QStringLiteral("あり"), PrintGroupBox);
    HospitalNameOnRadioButton->setObjectName(QStringLiteral("HospitalNameOnRadioButton"));
    HospitalNameOffRadioButton = new QRadioButton(QStringLiteral("なし"), PrintGroupBox);
    HospitalNameOffRadioButton->setObjectName(QStringLiteral("HospitalNameOffRadioButton"));
    auto* radios = new QHBoxLayout(PrintGroupBox);
    radios->addWidget(HospitalNameOnRadioButton);
    radios->addWidget(HospitalNameOffRadioButton);
    radios->addStretch();

    HospitalNameSaveButton = new QPushButton(QStringLiteral("保存(&S)"), this);
    HospitalNameSaveButton->setObjectName(QStringLiteral("HospitalNameSaveButton"));
    HospitalNameSaveButton->setDefault(true);
    HospitalNameCancelButton = new QPushButton(QStringLiteral("取消し(&C)"), this);
    HospitalNameCancelButton->setObjectName(QStringLiteral("HospitalNameCancelButton"));
    connect(HospitalNameSaveButton, &QPushButton::clicked, this, &THospitalNameForm::HospitalNameSaveButtonClick);
    connect(HospitalNameCancelButton, &QPushButton::clicked, this, &THospitalNameForm::HospitalNameCancelButtonClick);

    auto* name = new QHBoxLayout;
    name->addWidget(new QLabel(QStringLiteral("施設名："), this));
    name->addWidget(HospitalNameEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(HospitalNameSaveButton);
    buttons->addWidget(HospitalNameCancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(name);
    layout->addWidget(PrintGroupBox);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void THospitalNameForm::showEvent(QShowEvent* event)
{
    FormShow();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void THospitalNameForm::FormShow()
{
    const FacilitySettings& facility = session_.settings.facility;
    HospitalNameOffRadioButton->setChecked(true);
    HospitalNameEdit->setLimitedText(facility.facilityName.toQString());
    if (facility.printFacilityName == 1)
        HospitalNameOnRadioButton->setChecked(true);
}

void THospitalNameForm::HospitalNameSaveButtonClick()
{
    FacilitySettings& facility = session_.settings.facility;
    facility.facilityName.setQString(HospitalNameEdit->text());
    facility.printFacilityName = HospitalNameOnRadioButton->isChecked() ? 1 : 0;
    accept();
}

void THospitalNameForm::HospitalNameCancelButtonClick()
{
    reject();
}

} // namespace ks318
