#include "defaultserialportform.h"

#include "records/messages.h"
#include "session/session.h"
#include "recorder/serial.h"
#include "views/windowplacement.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ks318 {

TDefaultSerialPortForm::TDefaultSerialPortForm(Session& session, MessageSink* messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), session_(session), messages_(messages)
{
    setObjectName(QStringLiteral("DefaultSerialPortForm"));
    setWindowTitle(tr("シリアルポート設定"));
    setModal(true);

    SerialPortGroupBox = new QGroupBox(tr("ｼﾘｱﾙﾎﾟｰﾄ"), this);
    SerialPortGroupBox->setObjectName(QStringLiteral("SerialPortGroupBox"));
    auto* grid = new QGridLayout(SerialPortGroupBox);
    QRadioButton** buttons[] = {&Com1RadioButton, &Com2RadioButton, &Com3RadioButton, &Com4RadioButton};
    for (int n = 1; n <= 4; ++n) {
        auto* radio = new QRadioButton(QStringLiteral("Com&%1").arg(n), SerialPortGroupBox);
        radio->setObjectName(QStringLiteral("Com%1RadioButton").arg(n));
        *buttons[n - 1] = radio;
        auto* device = new QLabel(SerialPortGroupBox);
        device->setObjectName(QStringLiteral("Com%1DeviceLabel").arg(n));
        device->setEnabled(false);  // drawn in the muted colour: a hint, not a control
        deviceLabels_[std::size_t(n - 1)] = device;
        auto* access = new QLabel(SerialPortGroupBox);
        access->setObjectName(QStringLiteral("Com%1AccessLabel").arg(n));
        accessLabels_[std::size_t(n - 1)] = access;
        grid->addWidget(radio, n - 1, 0);
        grid->addWidget(device, n - 1, 1);
        grid->addWidget(access, n - 1, 2);
    }
    Com1RadioButton->setChecked(true);

    SerialPortSaveButton = new QPushButton(tr("保存(&S)"), this);
    SerialPortSaveButton->setObjectName(QStringLiteral("SerialPortSaveButton"));
    SerialPortSaveButton->setDefault(true);
    SerialPortCancelButton = new QPushButton(tr("取消し(&C)"), this);
    SerialPortCancelButton->setObjectName(QStringLiteral("SerialPortCancelButton"));
    connect(SerialPortSaveButton, &QPushButton::clicked, this, &TDefaultSerialPortForm::SerialPortSaveButtonClick);
    connect(SerialPortCancelButton, &QPushButton::clicked, this,
            &TDefaultSerialPortForm::SerialPortCancelButtonClick);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(SerialPortSaveButton);
    row->addWidget(SerialPortCancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SerialPortGroupBox);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QRadioButton* TDefaultSerialPortForm::radioButton(int number) const
{
    switch (number) {
    case 1: return Com1RadioButton;
    case 2: return Com2RadioButton;
    case 3: return Com3RadioButton;
    case 4: return Com4RadioButton;
    default: return nullptr;
    }
}

void TDefaultSerialPortForm::FormPaint()
{
    for (int n = 1; n <= 4; ++n) {
        const QString device = resolvePortDevice(portNameFor(n));
        deviceLabels_[std::size_t(n - 1)]->setText(device);
        const PortAccess access = checkPortAccess(device);
        QLabel* label = accessLabels_[std::size_t(n - 1)];
        label->setText(portAccessShortText(access));
        // Red when the port cannot be used as it stands.
        label->setStyleSheet(access.verdict == PortAccess::Usable ? QString()
                                                                  : QStringLiteral("color: #b00000;"));
    }
    const AnalysisSettings& a = session_.settings.analysis;
    if (a.valid != 1) {
        showMessage(messages_, kSettingsNotLoadedId, kErrorCaptionId, MessageIcon::Exclamation);
        return;
    }
    if (QRadioButton* radio = radioButton(a.serialPortNumber))
        radio->setChecked(true);
}

void TDefaultSerialPortForm::showEvent(QShowEvent* event)
{
    // Once per opening: a message box raised from every repaint would come
    // back as soon as it was closed.
    FormPaint();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TDefaultSerialPortForm::SerialPortSaveButtonClick()
{
    int selected = 0;
    for (int n = 1; n <= 4; ++n) {
        if (radioButton(n)->isChecked())
            selected = n;
    }
    AnalysisSettings& a = session_.settings.analysis;
    if (selected != 0 && selected != a.serialPortNumber) {
        Q_EMIT portChanging();
        a.setSerialPort(selected);
        // A new choice takes effect at once when a port is open.
        if (currentPort()) {
            ClosePort();
            OpenPort(a.serialPortName.toQString(), messages_);
        }
    } else if (selected != 0 && currentPort()) {
        // The same port again: opened afresh, so that a recorder plugged in
        // again is reached at once.
        Q_EMIT portChanging();
        ClosePort();
        OpenPort(a.serialPortName.toQString(), messages_);
    }
    accept();
}

void TDefaultSerialPortForm::SerialPortCancelButtonClick()
{
    reject();
}

} // namespace ks318
