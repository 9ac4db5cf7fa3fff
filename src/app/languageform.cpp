#include "languageform.h"

#include "myapplication.h"
#include "views/windowplacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ks318 {

TLanguageForm::TLanguageForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("LanguageForm"));
    setWindowTitle(tr("言語 / Language"));
    setModal(true);
    LanguageAutoRadioButton = new QRadioButton(tr("デスクトップの言語(&D)"), this);
    LanguageAutoRadioButton->setObjectName(QStringLiteral("LanguageAutoRadioButton"));
    LanguageJapaneseRadioButton = new QRadioButton(tr("日本語(&J)"), this);
    LanguageJapaneseRadioButton->setObjectName(QStringLiteral("LanguageJapaneseRadioButton"));
    LanguageEnglishRadioButton = new QRadioButton(QStringLiteral("English (&E)"), this);
    LanguageEnglishRadioButton->setObjectName(QStringLiteral("LanguageEnglishRadioButton"));
    LanguageNoteLabel = new QLabel(tr("次回の起動から有効になります。"), this);
    LanguageNoteLabel->setObjectName(QStringLiteral("LanguageNoteLabel"));
    LanguageOkButton = new QPushButton(QStringLiteral("OK"), this);
    LanguageOkButton->setObjectName(QStringLiteral("LanguageOkButton"));
    LanguageOkButton->setDefault(true);
    LanguageCancelButton = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    LanguageCancelButton->setObjectName(QStringLiteral("LanguageCancelButton"));
    connect(LanguageOkButton, &QPushButton::clicked, this, &TLanguageForm::LanguageOkButtonClick);
    connect(LanguageCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(LanguageOkButton);
    buttons->addWidget(LanguageCancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LanguageAutoRadioButton);
    layout->addWidget(LanguageJapaneseRadioButton);
    layout->addWidget(LanguageEnglishRadioButton);
    layout->addWidget(LanguageNoteLabel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TLanguageForm::showEvent(QShowEvent* event)
{
    FormShow();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TLanguageForm::FormShow()
{
    const std::optional<Language> saved = savedLanguage();
    if (!saved)
        LanguageAutoRadioButton->setChecked(true);
    else if (*saved == Language::Japanese)
        LanguageJapaneseRadioButton->setChecked(true);
    else
        LanguageEnglishRadioButton->setChecked(true);
}

void TLanguageForm::LanguageOkButtonClick()
{
    if (LanguageJapaneseRadioButton->isChecked())
        saveLanguage(Language::Japanese);
    else if (LanguageEnglishRadioButton->isChecked())
        saveLanguage(Language::English);
    else
        saveLanguage(std::nullopt);
    accept();
}

} // namespace ks318
