#include "printprogressform.h"

#include "views/windowplacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace ks318 {

TPrintProgressForm::TPrintProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("PrintProgressForm"));
    setWindowTitle(tr("印刷中..."));
    setModal(false);
    FileLabel = new QLabel(this);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setMinimumWidth(360);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    PrintCancelButton = new QPushButton(tr("取消し(&C)"), this);
    PrintCancelButton->setObjectName(QStringLiteral("PrintCancelButton"));
    connect(PrintCancelButton, &QPushButton::clicked, this, &TPrintProgressForm::PrintCancelButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(PrintCancelButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FileLabel);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
}

void TPrintProgressForm::start()
{
    cancelled_ = false;
    ProgressBar->setValue(0);
    FileLabel->clear();
    show();
    adjustSize();
    centreOnScreen(this);
}

void TPrintProgressForm::PrintCancelButtonClick()
{
    cancelled_ = true;
}

} // namespace ks318
