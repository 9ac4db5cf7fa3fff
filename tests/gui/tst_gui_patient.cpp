// The patient information dialog over the demo recording, its Tab order, the
// physician list
// behind its list button, and a recording in a folder the program cannot
// write to.
#include "app/patientinformationform.h"
#include "app/physicianentryform.h"
#include "app/physicianselectionform.h"
#include "guisupport.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "views/cp932edit.h"
#include "views/summarydataform.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;

class TestPatient : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w_;
    TMainForm* form() const { return w_->form.get(); }
    Session& session() const { return w_->session; }
    TPatientInformationForm* dialog() const { return form()->PatientInformationForm; }
    QString demoCompanion() const { return w_->file(QStringLiteral("DEMO.p30")); }

    // The dialog as the menu shows it, without blocking.
    void showDialog(const QString& name = {}, const QString& sleep = {}, const QString& wake = {})
    {
        dialog()->fillPending = true;
        dialog()->show();
        if (!name.isEmpty())
            dialog()->PtNameEdit->setText(name);
        dialog()->Day1BeginMaskEdit->setText(sleep);
        dialog()->Day1EndMaskEdit->setText(wake);
    }

    Session reread() const
    {
        Session s;
        readCompanionFile(s, w_->demoPath(), nullptr);
        return s;
    }

private Q_SLOTS:
    void init()
    {
        w_.reset();  // the window before goes first: it leaves the start directory
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
        QVERIFY(form()->openFile(w_->demoPath()));
    }

    void cleanup() { w_.reset(); }

    // From the menu: the fields of the open recording, then the new name and
    // sleep times in the caption, the summary's pages and the companion file.
    void fromTheMenuToTheSummary()
    {
        form()->ViewT2SummaryData->trigger();
        QTabWidget* pages = form()->SummaryDataForm->SummaryPageControl;
        QVERIFY(!pages->isTabVisible(3));
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            ran = dialog()->isVisible() && dialog()->PtNameEdit->text() == QStringLiteral("山田 太郎");
            showDialog(QStringLiteral("佐藤 次郎"), "22:00", "06:00");
            dialog()->PtSaveButton->click();
        });
        form()->ViewT2PatientInformation->trigger();
        QVERIFY(ran && !dialog()->isVisible());
        QCOMPARE(form()->windowTitle(), TMainForm::captionFor(QStringLiteral("DEMO : 佐藤 次郎  ")
                                                              + session().state.startDateText.toQString()));
        QVERIFY(pages->isTabVisible(3));
        const PatientRecord p = reread().patient;
        QCOMPARE(p.patientName.toQString() + p.day2SleepTime.toQString(), QStringLiteral("佐藤 次郎0000"));
        QVERIFY(w_->messages.shown().isEmpty());
    }

    // What 保存 keeps of the sleep times and the name (golden
    // patient-save.txt), each line on a fresh window.
    void saveRules()
    {
        KS318_COMPARE_GOLDEN_TABLE("patient-save.txt", [this](const QByteArray& line) {
            init();
            QStringList typed = QString::fromUtf8(line).split(QStringLiteral(" | "));
            typed.replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QString());
            SessionState& st = session().state;
            st.windowTitleText = QStringLiteral("marker");
            const QByteArray before = readBytes(demoCompanion());
            showDialog(typed.value(2), typed.value(0), typed.value(1));
            dialog()->activateWindow();
            QTest::qWaitForWindowActive(dialog());
            const bool saved = dialog()->PtSaveButtonClick();
            QStringList ids;
            for (int id : w_->messages.shownIds())
                ids << QString::number(id);
            QString out = QStringLiteral("%1, messages: %2, ").arg(saved ? "saved" : "refused",
                                                                  ids.isEmpty() ? QStringLiteral("none") : ids.join(' '));
            const PatientRecord p = reread().patient;
            if (saved)
                out += QStringLiteral("stored '%1' to '%2'").arg(p.day1SleepTime.toQString(), p.day1WakeTime.toQString());
            else
                out += QStringLiteral("focus on %1, file %2")
                           .arg(QApplication::focusWidget()->objectName(),
                                readBytes(demoCompanion()) == before ? "unchanged" : "changed");
            const QString caption = QString(st.windowTitleText).replace(st.startDateText.toQString(), "START");
            return QStringLiteral("%1\nsleep hour %2, caption %3")
                .arg(out)
                .arg(st.sleepHour)
                .arg(caption == QLatin1String("marker") ? QStringLiteral("kept") : "'" + caption + "'")
                .toUtf8();
        });
    }

    // From the patient's name on, Tab reaches the fields in the order they
    // stand on the dialog: the list button right after the physician's name.
    void tabOrder()
    {
        dialog()->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog()));
        dialog()->PtNameEdit->setFocus();
        QStringList walked;
        for (int i = 0; i < 15; ++i) {
            walked << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(walked, (QStringList{"PtNameEdit", "PtAddressMemo", "PtPhoneEdit", "SsnEdit", "InsuranceMemo",
                                      "MedicareEdit", "AgeEdit", "SexEdit", "HeightEdit", "WeightEdit",
                                      "MedicationsEdit", "MdNameEdit", "MdListButton", "MdAddressMemo",
                                      "MdPhoneEdit"}));
    }

    // A memo counts a line break as two bytes and never takes half a
    // character, whether typed or pasted.
    void memoLimit()
    {
        showDialog();
        Cp932MemoEdit* memo = dialog()->InsuranceMemo;  // 40 bytes
        int beeps = 0;
        memo->setBeep([&beeps] { ++beeps; });
        QTest::keyClicks(memo, QString(36, QLatin1Char('a')));
        QTest::keyClick(memo, Qt::Key_Return);
        QGuiApplication::clipboard()->setText(QStringLiteral("あい"));
        QTest::keySequence(memo, QKeySequence::Paste);
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(memo->storedText(), QString(36, QLatin1Char('a')) + QStringLiteral("\r\nあ"));
        QCOMPARE(beeps, 2);
    }

    // What a first opening makes stands in for what the companion file
    // lacks (only section 0; version line 1: no record, the fields empty),
    // so the saved file still analyses the whole recording.
    void incompleteCompanionFile()
    {
        const QByteArray whole = readBytes(demoCompanion());
        Session first;
        QVERIFY(companionRecordsFromDataFile(w_->demoPath(), QString(), first.patient, first.intervals, first.span));
        first.intervals.valid = 1;
        for (const bool onlySection0 : {true, false}) {
            QVERIFY(writeFile(demoCompanion(),
                               onlySection0 ? whole.left(whole.indexOf("\n1\n144\n") + 1) : "1" + whole.mid(1)));
            QVERIFY(form()->openFile(w_->demoPath()));
            QVERIFY(!session().intervals.valid);
            showDialog(QString(), "22:00", "06:00");
            QCOMPARE(dialog()->PtNameEdit->text().isEmpty(), !onlySection0);
            QVERIFY(dialog()->PtSaveButtonClick());
            QVERIFY(reread().intervals.pack() == first.intervals.pack());
            QCOMPARE(reread().patient.startDateText.toQString(), first.patient.startDateText.toQString());
        }
    }

    // OK on an empty list selects no one and leaves the physician fields;
    // with physicians listed, the one chosen fills them. An empty family
    // name is refused; deleting every entry disables Edit.
    void physicianList()
    {
        TPhysicianSelectionForm* list = form()->PhysicianSelectionForm;
        session().settings.physicians.selectedPhysician = 5;
        showDialog();
        dialog()->MdNameEdit->setText(QStringLiteral("Before"));
        for (const bool listed : {false, true}) {
            for (const QString name : {"Kato", "Abe"})
                if (listed)
                    list->roster().save(true, -1, {name, {}, name + " address", "03-1111"});
            QTimer::singleShot(0, this, [list] {
                list->PhysicianListBox->setCurrentRow(1);
                list->OKPhysicianButton->click();
            });
            dialog()->MdListButton->click();
            QCOMPARE(session().settings.physicians.selectedPhysician, listed ? 0 : -1);
            QCOMPARE(dialog()->MdNameEdit->text() + dialog()->MdAddressMemo->storedText(),
                     listed ? "KatoKato address" : "Before");
        }
        list->PhysicianEntryForm->PhysicianEntrySaveButtonClick();
        QCOMPARE(w_->messages.shownIds(), QList<int>{TPhysicianEntryForm::kNoNameId});
        list->show();
        list->DeletePhysicianButton->click();
        list->DeletePhysicianButton->click();
        QVERIFY(list->PhysicianListBox->count() == 0 && !list->EditPhysicianButton->isEnabled());
    }

    // A recording whose NAME.p30 cannot be made (a directory of that name
    // stands in for a folder the program may not write to; how it opens:
    // tst_gui_openrecording): it tells so once, and saving patient
    // information fails with 202 and keeps what was typed.
    void recordingThatCannotBeWritten()
    {
        const QString path = w_->file(QStringLiteral("RO.DAT"));
        QVERIFY(QFile::copy(w_->demoPath(), path));
        QVERIFY(QDir(w_->files.path()).mkdir(QStringLiteral("RO.p30")));
        QVERIFY(form()->openFile(path));
        QCOMPARE(w_->messages.shownIds(), QList<int>{202});
        // Made current again (after a merge, a save as, ...): no second message.
        QVERIFY(prepareDataSet(session(), path, QString(), &w_->messages));
        QCOMPARE(w_->messages.shownIds(), QList<int>{202});

        showDialog(QStringLiteral("入力した名前"), "22:00", "06:00");
        QVERIFY(!dialog()->PtSaveButtonClick());
        QCOMPARE(w_->messages.shownIds(), (QList<int>{202, 202}));
        QVERIFY(dialog()->isVisible() && dialog()->PtNameEdit->text() == QStringLiteral("入力した名前"));
        QCOMPARE(session().patient.patientName.toQString(), QStringLiteral("山田 太郎"));
    }
};

QTEST_MAIN(TestPatient)
#include "tst_gui_patient.moc"
