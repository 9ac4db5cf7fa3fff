#pragma once
// Options > Default settings > Language: the interface language, Japanese or
// English, or the desktop's (the locale's). Kept in the program's own
// QSettings; the windows take it at the next start.
#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace ks318 {

class TLanguageForm : public QDialog {
    Q_OBJECT
public:
    explicit TLanguageForm(QWidget* parent = nullptr);

    // Shows the kept choice.
    void FormShow();
    void LanguageOkButtonClick();

    QRadioButton* LanguageAutoRadioButton;
    QRadioButton* LanguageJapaneseRadioButton;
    QRadioButton* LanguageEnglishRadioButton;
    QLabel* LanguageNoteLabel;
    QPushButton* LanguageOkButton;
    QPushButton* LanguageCancelButton;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ks318
