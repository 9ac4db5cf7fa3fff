#include "recordercleardataform.h"

#include "beepservice.h"
#include "busycursor.h"
#include "helpservice.h"
#include "mainform.h"
#include "messageservice.h"
#include "recorder/recorderflows.h"
#include "views/windowplacement.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ks318 {

TRecorderClearDataForm::TRecorderClearDataForm(TMainForm* mainForm, GuiMessageService* messages, BeepService* beeps)
    : QDialog(mainForm, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      main_(mainForm), messages_(messages), beeps_(beeps)
{
    setObjectName(QStringLiteral("RecorderClearDataForm"));
    setWindowTitle(tr("レコーダ - データ消去"));
    setModal(true);

    Label1 = new QLabel(tr("レコーダ内の全てのデータが消去されます!!"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumWidth(320);
    RecorderClearOkButton = new QPushButton(QStringLiteral("&OK"), this);
    RecorderClearOkButton->setObjectName(QStringLiteral("RecorderClearOkButton"));
    RecorderClearCancelButton = new QPushButton(tr("取消し(&C)"), this);
    RecorderClearCancelButton->setObjectName(QStringLiteral("RecorderClearCancelButton"));
    // Erasing is never what a stray Enter should do.
    RecorderClearCancelButton->setDefault(true);
    connect(RecorderClearOkButton, &QPushButton::clicked, this, &TRecorderClearDataForm::RecorderClearOkButtonClick);
    connect(RecorderClearCancelButton, &QPushButton::clicked, this,
            &TRecorderClearDataForm::RecorderClearCancelButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(RecorderClearOkButton);
    buttons->addWidget(RecorderClearCancelButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(8);
    layout->addWidget(Label1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    connect(f1, &QAction::triggered, this, [this] { main_->Help->showTopic(kHelpContext); });
    addAction(f1);
}

void TRecorderClearDataForm::showEvent(QShowEvent* event)
{
    FormPaint();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TRecorderClearDataForm::FormPaint()
{
    beeps_->beep();
}

void TRecorderClearDataForm::RecorderClearOkButtonClick()
{
    if (RecorderService* link = main_->recorderSession.get()) {
        BusyCursor busy;
        BusyCursorMessages messages(messages_, busy);
        clearDataFlow(*link, &messages);
    }
    accept();
}

void TRecorderClearDataForm::RecorderClearCancelButtonClick()
{
    reject();
}

} // namespace ks318
