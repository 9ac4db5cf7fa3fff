#include "aboutform.h"

#include "artwork.h"
#include "views/windowplacement.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace ks318 {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(tr("プログラム情報"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(programIcon(64)));
    ProductNameLabel = new QLabel(tr("血圧解析ソフト"), this);
    ProductNameLabel->setObjectName(QStringLiteral("ProductNameLabel"));
    QFont bold = ProductNameLabel->font();
    bold.setBold(true);
    ProductNameLabel->setFont(bold);
    VersionLabel = new QLabel(QStringLiteral("Version:"), this);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    VersionValueLabel = new QLabel(this);
    VersionValueLabel->setObjectName(QStringLiteral("VersionValueLabel"));
    VersionValueLabel->setText(QStringLiteral("2.2.0"));
    AboutOkButton = new QPushButton(QStringLiteral("OK"), this);
    AboutOkButton->setObjectName(QStringLiteral("AboutOkButton"));
    AboutOkButton->setDefault(true);
    connect(AboutOkButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 2, 1);
    grid->addWidget(ProductNameLabel, 0, 1, 1, 2);
    grid->addWidget(VersionLabel, 1, 1);
    grid->addWidget(VersionValueLabel, 1, 2);
    grid->addWidget(AboutOkButton, 2, 0, 1, 3, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

void TAboutForm::showEvent(QShowEvent* event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace ks318
