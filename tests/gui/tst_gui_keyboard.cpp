// The dialogs as a keyboard user walks them: the Tab order of the patient
// dialog, the arrow keys on the facility dialog's radio buttons.
#include "app/hospitalnameform.h"
#include "app/patientinformationform.h"
#include "guisupport.h"
#include "views/cp932edit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;

class TestKeyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // From the patient's name on, Tab reaches the fields in the order they
    // stand on the dialog: the list button right after the physician's name.
    void patientDialogTabOrder()
    {
        MainWindow w;
        QVERIFY(w.form && w.form->openFile(w.demoPath()));
        TPatientInformationForm* dialog = w.form->PatientInformationForm;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->PtNameEdit->setFocus();
        QStringList walked;
        for (int i = 0; i < 16 && walked.size() < 16; ++i) {
            walked << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const QStringList expected{"PtNameEdit",      "PtAddressMemo", "PtPhoneEdit", "SsnEdit",
                                   "InsuranceMemo",   "MedicareEdit",  "AgeEdit",     "SexEdit",
                                   "HeightEdit",      "WeightEdit",    "MedicationsEdit", "MdNameEdit",
                                   "MdListButton",    "MdAddressMemo", "MdPhoneEdit"};
        QCOMPARE(walked.mid(0, expected.size()), expected);
        dialog->hide();
    }

    // An arrow key moves the check with the focus between あり and なし, and
    // the choice is what 保存 keeps.
    void facilityRadioButtonsFollowTheArrows_data()
    {
        QTest::addColumn<int>("printBefore");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("printAfter");
        QTest::newRow("あり, down to なし") << 1 << int(Qt::Key_Down) << 0;
        QTest::newRow("なし, up to あり") << 0 << int(Qt::Key_Up) << 1;
        QTest::newRow("あり, right to なし") << 1 << int(Qt::Key_Right) << 0;
    }
    void facilityRadioButtonsFollowTheArrows()
    {
        QFETCH(int, printBefore);
        QFETCH(int, key);
        QFETCH(int, printAfter);
        MainWindow w;
        QVERIFY(w.form);
        w.session.settings.facility.facilityName.setQString(QStringLiteral("北町診療所"));
        w.session.settings.facility.printFacilityName = printBefore;
        THospitalNameForm* dialog = w.form->HospitalNameForm;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QRadioButton* checked = printBefore ? dialog->HospitalNameOnRadioButton : dialog->HospitalNameOffRadioButton;
        QVERIFY(checked->isChecked());
        checked->setFocus();
        QTest::keyClick(checked, Qt::Key(key));
        QRadioButton* moved = printAfter ? dialog->HospitalNameOnRadioButton : dialog->HospitalNameOffRadioButton;
        QCOMPARE(QApplication::focusWidget(), moved);
        QVERIFY(moved->isChecked());
        QTest::mouseClick(dialog->HospitalNameSaveButton, Qt::LeftButton);
        QCOMPARE(w.session.settings.facility.printFacilityName, printAfter);
        QCOMPARE(w.session.settings.facility.facilityName.toQString(), QStringLiteral("北町診療所"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_gui_keyboard.moc"
