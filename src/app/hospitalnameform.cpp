#include "hospitalnameform.h"

#include "session/session.h"
#include "views/cp932edit.h"
#include "views/windowplacement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ks318 {

THospitalNameForm::THospitalNameForm(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), session_(session)
{
    setObjectName(QStringLiteral("HospitalNameForm"));
    setWindowTitle(tr("施設名"));
    setModal(true);

    HospitalNameEdit = new Cp932LineEdit(int(FacilitySettings::kMaxNameBytes), this);
    HospitalNameEdit->setObjectName(QStringLiteral("HospitalNameEdit"));
    HospitalNameEdit->setFixedWidth(340);
    PrintGroupBox = new QGroupBox(tr("印字"), this);
    PrintGroupBox->setObjectName(QStringLiteral("PrintGroupBox"));
    HospitalNameOnRadioButton = new QRadioButton(tr("あり"), PrintGroupBox);
    HospitalNameOnRadioButton->setObjectName(QStringLiteral("HospitalNameOnRadioButton"));
    HospitalNameOffRadioButton = new QRadioButton(tr("なし"), PrintGroupBox);
    HospitalNameOffRadioButton->setObjectName(QStringLiteral("HospitalNameOffRadioButton"));
    auto* radios = new QHBoxLayout(PrintGroupBox);
    radios->addWidget(HospitalNameOnRadioButton);
    radios->addWidget(HospitalNameOffRadioButton);
    radios->addStretch();
    // Every arrow key moves the check to the other choice, up and down too.
    HospitalNameOnRadioButton->installEventFilter(this);
    HospitalNameOffRadioButton->installEventFilter(this);

    HospitalNameSaveButton = new QPushButton(tr("保存(&S)"), this);
    HospitalNameSaveButton->setObjectName(QStringLiteral("HospitalNameSaveButton"));
    HospitalNameSaveButton->setDefault(true);
    HospitalNameCancelButton = new QPushButton(tr("取消し(&C)"), this);
    HospitalNameCancelButton->setObjectName(QStringLiteral("HospitalNameCancelButton"));
    connect(HospitalNameSaveButton, &QPushButton::clicked, this, &THospitalNameForm::HospitalNameSaveButtonClick);
    connect(HospitalNameCancelButton, &QPushButton::clicked, this, &THospitalNameForm::HospitalNameCancelButtonClick);

    auto* name = new QHBoxLayout;
    name->addWidget(new QLabel(tr("施設名："), this));
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

bool THospitalNameForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == HospitalNameOnRadioButton || watched == HospitalNameOffRadioButton)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right: {
            QRadioButton* other =
                watched == HospitalNameOnRadioButton ? HospitalNameOffRadioButton : HospitalNameOnRadioButton;
            other->setFocus(Qt::TabFocusReason);
            other->setChecked(true);
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
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
