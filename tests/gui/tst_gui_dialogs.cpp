// The windows over an open recording (DEMO.DAT): the File menu's save as,
// delete, CSV conversion and merge entries (the rules of the file operations
// themselves: tst_dataset); the file merge dialog; the patient information
// dialog, the physician list behind its list button, and a recording in a
// folder the program cannot write to.
#include "app/filemergeform.h"
#include "app/patientinformationform.h"
#include "app/physicianentryform.h"
#include "app/physicianselectionform.h"
#include "guisupport.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/filemerge.h"
#include "views/cp932edit.h"
#include "views/summarydataform.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;

namespace {

// A KS-318P file of two readings on `day` of June 2009, from `fromHour`:00
// to `toHour`:30, with a patient section naming `name`.
QByteArray dayFile(int day, int fromHour, int toHour, const char* name)
{
    return test::recordLine(2009, 6, day, fromHour, 0) + test::recordLine(2009, 6, day, toHour, 30)
           + test::patientSections(name, "1:c\n");
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w_;
    TMainForm* form() const { return w_->form.get(); }
    Session& session() const { return w_->session; }
    QString file(const QString& name) const { return w_->file(name); }
    TFileMergeForm* merge() const { return form()->FileMergeForm; }

    void press(const QString& name)
    {
        QListWidget* list = merge()->FileListBox1;
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        list->scrollToItem(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }

    // Drags onto the merge list as a drag from the file list arrives there.
    bool drop(const QString& format = QString::fromLatin1(TFileMergeForm::kDragFormat))
    {
        QMimeData mime;
        mime.setData(format, merge()->draggedPath.toUtf8());
        QWidget* target = merge()->ListBox1->viewport();
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }

    void pressAndDrop(const QString& name)
    {
        press(name);
        drop();
    }

    QStringList mergeList(const QListWidget* list = nullptr) const
    {
        QStringList names;
        list = list ? list : merge()->ListBox1;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }

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
        QVERIFY(writeFile(file("A.DAT"), dayFile(1, 9, 20, "Alpha")));
        QVERIFY(writeFile(file("B.DAT"), dayFile(2, 9, 20, "Beta")));
        QVERIFY(writeFile(file("C.dat"), dayFile(3, 9, 20, "Gamma")));
        QVERIFY(writeFile(file("AB.DAT"), dayFile(1, 20, 23, "Overlap")));  // starts inside A's span
        synth::Options other;
        other.type = RecorderType::Rv5730;
        other.count = 5;
        QVERIFY(writeFile(file("OTHER.DAT"), synth::makeFile(other)));
        QVERIFY(writeFile(file("notes.txt"), "not a data file"));
        QVERIFY(form()->openFile(w_->demoPath()));
        merge()->setDirectory(w_->files.path());
    }

    void cleanup() { w_.reset(); }

    // Save as starts its dialog at the open recording and copies it; a
    // cancelled dialog writes nothing (which members are copied, and the
    // refusal of a name taken: tst_dataset). Deleting the open recording
    // closes it.
    void saveAsAndDelete()
    {
        const QStringList before = QDir(w_->files.path()).entryList(QDir::Files);
        form()->FileSaveAs->trigger();
        QCOMPARE(QDir(w_->files.path()).entryList(QDir::Files), before);
        w_->saved = file("COPY.DAT");
        form()->FileSaveAs->trigger();
        QCOMPARE(w_->presets, (QStringList{w_->demoPath(), w_->demoPath()}));
        QCOMPARE(readBytes(file("COPY.DAT")), readBytes(w_->demoPath()));
        QVERIFY(companionFileExists(file("COPY.DAT")));

        for (const QString& target : {file("COPY.DAT"), w_->demoPath()}) {
            const bool current = target == w_->demoPath();
            w_->chosen = target;
            form()->FileDelete->trigger();
            QVERIFY(!QFile::exists(target) && !companionFileExists(target));
            QCOMPARE(w_->session.state.currentFilePath, current ? QString() : w_->demoPath());
            QVERIFY(w_->analysisMenus(!current));
        }
    }

    // A recording never opened: its companion file and CSV file are made;
    // the open recording stays current with its block.
    void csvConversion()
    {
        w_->chosen = file("B.DAT");
        const QString title = w_->session.state.windowTitleText;
        const SessionData* block = w_->session.data();
        QVERIFY(!companionFileExists(w_->chosen));
        form()->FileConvert->trigger();
        QVERIFY(companionFileExists(w_->chosen));
        const QByteArray csv = readBytes(file("B.csv"));
        QVERIFY(csv.startsWith("\"PATIENT NAME\",\"SEX\",\"AGE\"\r\n\"Beta\","));
        QCOMPARE(csv.count("\r\n"), 7);
        QCOMPARE(w_->session.state.currentFilePath, w_->demoPath());
        QCOMPARE(w_->session.state.windowTitleText, title);
        QCOMPARE(w_->session.data(), block);
        QVERIFY(w_->messages.shown().isEmpty());
    }

    // Pressing an entry shows its span, or for another recorder's file why
    // it cannot be dragged; pressing beside the entries empties the memo.
    // Dropped files join the list once, six at most; pressing one removes
    // it. Files written while the dialog is up show at the next repaint.
    void pressingDroppingAndRemoving()
    {
        merge()->show();
        QVERIFY(QTest::qWaitForWindowExposed(merge()));
        QCOMPARE(mergeList(merge()->FileListBox1),
                 (QStringList{"A.DAT", "AB.DAT", "B.DAT", "C.dat", "DEMO.DAT", "OTHER.DAT"}));
        press("OTHER.DAT");
        QCOMPARE(merge()->Memo1->toPlainText(), QStringLiteral("The data is not measured by KS318P."));
        QVERIFY(!merge()->FileListBox1MouseDown(5));
        QVERIFY(!merge()->FileListBox1MouseDown(-1) && merge()->Memo1->toPlainText().isEmpty());
        pressAndDrop("B.DAT");
        pressAndDrop("A.DAT");
        QCOMPARE(merge()->Memo1->toPlainText(), QStringLiteral("BP data:  9:00 6/1 2009 to 20:30 6/1 2009 "));
        QVERIFY(merge()->FileListBox1MouseDown(0));
        pressAndDrop("B.DAT");  // already there
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "A.DAT"}));
        // Only drags of the file list are taken.
        press("C.dat");
        QVERIFY(!drop(QStringLiteral("text/uri-list")));
        QCOMPARE(merge()->mergeCount, 2);
        // Dropped back onto the file list: ignored.
        merge()->FileListBox1DragDrop(merge()->FileListBox1);
        QCOMPARE(merge()->mergeCount, 2);
        QVERIFY(drop());
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "A.DAT", "C.dat"}));
        // Pressing a merge entry with the left button removes it, the right one nothing.
        QListWidget* list = merge()->ListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(merge()->mergePaths, (QStringList{file("B.DAT"), file("C.dat")}));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "C.dat"}));
        for (int i = 1; i <= 5; ++i)
            QVERIFY(writeFile(file(QStringLiteral("D%1.DAT").arg(i)), dayFile(10 + i, 9, 20, "D")));
        merge()->repaint();
        for (int i = 1; i <= 5; ++i)
            pressAndDrop(QStringLiteral("D%1.DAT").arg(i));
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "C.dat", "D1.DAT", "D2.DAT", "D3.DAT", "D4.DAT"}));
        QCOMPARE(merge()->mergeCount, 6);
    }

    // OK, cancel and a change of data type in the dialog the menu runs
    // (golden merge-dialog.txt), each line on a fresh window.
    void buttons()
    {
        KS318_COMPARE_GOLDEN_TABLE("merge-dialog.txt", [this](const QByteArray& line) {
            init();
            const QStringList words = QString::fromUtf8(line).split(QLatin1Char(' '));
            const QString button = words.first();
            w_->saved = words.last() == QLatin1String("-") ? QString() : file(words.last());
            const bool existed = QFile::exists(w_->saved);
            const QByteArray before = readBytes(w_->saved);
            const QString title = w_->session.state.windowTitleText;
            QString dialog;
            QTimer::singleShot(0, this, [&] {
                for (const QString& name : words.mid(1, words.size() - 3))
                    pressAndDrop(name);
                if (button == QLatin1String("ok"))
                    QTest::mouseClick(merge()->OKButton1, Qt::LeftButton);
                else if (button == QLatin1String("cancel"))
                    QTest::mouseClick(merge()->CancelButton2, Qt::LeftButton);
                else
                    merge()->RV6830RadioButtonClick();
                const QStringList list = mergeList();
                dialog = QStringLiteral("dialog %1, list: %2")
                             .arg(merge()->isVisible() ? "up" : "closed", list.isEmpty() ? "empty" : list.join(' '));
                if (merge()->mergePaths.size() != merge()->mergeCount || merge()->mergeCount != list.size())
                    dialog += QStringLiteral(" (paths and count disagree)");
                if (merge()->isVisible())
                    merge()->reject();
            });
            form()->FileMerge->trigger();
            const QByteArray bytes = readBytes(w_->saved);
            const QString output = w_->saved.isEmpty()           ? "none"
                                   : existed                     ? (bytes == before ? "unchanged" : "changed")
                                   : !QFile::exists(w_->saved)   ? "not written"
                                   : bytes == mergeFileTexts({readBytes(file("A.DAT")), readBytes(file("B.DAT"))})
                                       ? "A.DAT and B.DAT merged"
                                       : "other bytes";
            const SessionState& st = w_->session.state;
            return QStringLiteral("save dialogs %1, messages: %2\n%3\noutput: %4\n%5 current, caption %6")
                .arg(w_->saveDialogs)
                .arg(idsText(w_->messages.shownIds()), dialog, output,
                     QFileInfo(st.currentFilePath).fileName(), st.windowTitleText == title ? "kept" : "changed")
                .toUtf8();
        });
    }

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
            QString out = QStringLiteral("%1, messages: %2, ")
                              .arg(saved ? "saved" : "refused", idsText(w_->messages.shownIds()));
            const PatientRecord p = reread().patient;
            if (saved)
                out += QStringLiteral("stored '%1' to '%2'")
                           .arg(p.day1SleepTime.toQString(), p.day1WakeTime.toQString());
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
    // tst_gui_mainform): it tells so once, and saving patient
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

QTEST_MAIN(TestDialogs)
#include "tst_gui_dialogs.moc"
