// The File menu's save as, delete, CSV conversion and merge entries, and the
// file merge dialog: its controls, pressing and dropping files, removing
// them, and OK with its refusals.
#include "app/fileMergeForm.h"
#include "app/mainform.h"
#include "app/messageservice.h"
#include "records/companionfile.h"
#include "records/filemerge.h"
#include "records/session.h"
#include "records/stringtable.h"
#include "support/synthetic.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace ks318;

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A KS-318P file of two readings on `day` of June 2009, from `fromHour`:00
// to `toHour`:30, with a patient section naming `name`.
QByteArray dayFile(int day, int fromHour, int toHour, const char* name)
{
    auto rec = [](int d, int h, int m) {
        return QString::asprintf("KS-318  7000000001006D06%02X%02X%02X2850480000\n", d, h, m).toLatin1();
    };
    return rec(day, fromHour, 0) + rec(day, toHour, 30) + "#PATIENT\nName:" + name + "\n#END\n#COMMENTS\n1:c\n#END\n";
}

} // namespace

class TestFileMenu : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> start_;
    std::unique_ptr<QTemporaryDir> files_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<GuiMessageService> messages_;
    std::unique_ptr<TMainForm> form_;
    QString chosen_;        // what the open dialog returns
    QString saved_;         // what the save dialog returns
    QStringList titles_;    // titles the open dialog was shown with
    QStringList presets_;   // presets of the open and save dialogs
    int saveDialogs_ = 0;

    QString file(const QString& name) const { return files_->filePath(name); }
    QString demoPath() const { return file("DEMO.DAT"); }
    TFileMergeForm* merge() const { return form_->FileMergeForm; }

    bool menusEnabled() const
    {
        return form_->ViewMenuT2AbpmStd->menuAction()->isEnabled() && form_->ReportMenu->isEnabled()
               && form_->FileSaveAs->isEnabled();
    }
    bool menusDisabled() const
    {
        return !form_->ViewMenuT2AbpmStd->menuAction()->isEnabled() && !form_->ReportMenu->isEnabled()
               && !form_->FileSaveAs->isEnabled();
    }

    // Presses the file list entry `name` with the left button.
    void press(const QString& name)
    {
        QListWidget* list = merge()->FileListBox1;
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        list->scrollToItem(found.first());
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
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

    QStringList mergeList() const
    {
        QStringList names;
        for (int i = 0; i < merge()->ListBox1->count(); ++i)
            names << merge()->ListBox1->item(i)->text();
        return names;
    }

private Q_SLOTS:
    void init()
    {
        start_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(start_->isValid() && files_->isValid());
        QVERIFY(QDir::setCurrent(start_->path()));
        QVERIFY(writeBytes(demoPath(), synth::demoFile()));
        QVERIFY(writeBytes(file("A.DAT"), dayFile(1, 9, 20, "Alpha")));
        QVERIFY(writeBytes(file("B.DAT"), dayFile(2, 9, 20, "Beta")));
        QVERIFY(writeBytes(file("C.dat"), dayFile(3, 9, 20, "Gamma")));
        QVERIFY(writeBytes(file("AB.DAT"), dayFile(1, 20, 23, "Overlap")));  // starts inside A's span
        synth::Options other;
        other.type = RecorderType::Rv5730;
        other.count = 5;
        QVERIFY(writeBytes(file("OTHER.DAT"), synth::makeFile(other)));
        QVERIFY(writeBytes(file("notes.txt"), "not a data file"));

        session_ = std::make_unique<Session>();
        messages_ = std::make_unique<GuiMessageService>(true);
        form_ = std::make_unique<TMainForm>(*session_, *messages_);
        chosen_.clear();
        saved_.clear();
        titles_.clear();
        presets_.clear();
        saveDialogs_ = 0;
        form_->setFileChooser([this](const QString& title, const QString& preset) {
            titles_ << title;
            presets_ << preset;
            return chosen_;
        });
        form_->setSaveChooser([this](const QString&, const QString& preset) {
            ++saveDialogs_;
            presets_ << preset;
            return saved_;
        });
        QVERIFY(form_->openFile(demoPath()));
        merge()->setDirectory(files_->path());
    }

    void cleanup()
    {
        form_.reset();
        messages_.reset();
        session_.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    void saveAs()
    {
        saved_ = file("COPY.DAT");
        const QString caption = form_->windowTitle();
        form_->FileSaveAs->trigger();
        QCOMPARE(presets_, QStringList{demoPath()});
        QCOMPARE(readBytes(file("COPY.DAT")), readBytes(demoPath()));
        QCOMPARE(readBytes(file("COPY.p30")), readBytes(file("DEMO.p30")));
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QCOMPARE(form_->windowTitle(), caption);
        QVERIFY(messages_->shown().isEmpty());
    }

    void saveAsOntoExistingName()
    {
        saved_ = file("A.DAT");
        const QByteArray before = readBytes(saved_);
        form_->FileSaveAs->trigger();
        QCOMPARE(messages_->shownIds(), QList<int>{268});
        QCOMPARE(readBytes(saved_), before);
        QVERIFY(!QFile::exists(file("A.p30")));
        QCOMPARE(session_->state.currentFilePath, demoPath());
    }

    void saveAsCancelled()
    {
        const QStringList before = QDir(files_->path()).entryList(QDir::Files);
        form_->FileSaveAs->trigger();
        QCOMPARE(saveDialogs_, 1);
        QCOMPARE(QDir(files_->path()).entryList(QDir::Files), before);
    }

    void deleting_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("stillOpen");
        QTest::newRow("another recording") << "A.DAT" << true;
        QTest::newRow("the open recording") << "DEMO.DAT" << false;
    }

    void deleting()
    {
        QFETCH(QString, target);
        QFETCH(bool, stillOpen);
        chosen_ = file(target);
        const QString caption = form_->windowTitle();
        form_->FileDelete->trigger();
        QCOMPARE(titles_, QStringList{QStringLiteral("削除")});
        QCOMPARE(presets_, QStringList{QString()});
        QVERIFY(!QFile::exists(file(target)));
        QVERIFY(!companionFileExists(file(target)));
        if (stillOpen) {
            QCOMPARE(session_->state.currentFilePath, demoPath());
            QCOMPARE(form_->windowTitle(), caption);
            QVERIFY(menusEnabled());
        } else {
            QVERIFY(session_->state.currentFilePath.isEmpty());
            QCOMPARE(form_->windowTitle(), StringTable::text(3));
            QVERIFY(menusDisabled());
            QVERIFY(!form_->AnalysisIntervalsButton->isEnabled());
            QCOMPARE(form_->AnalysisIntervalsStatusLabel->text(), QStringLiteral("DISABLED"));
        }
    }

    // A recording never opened: its companion file and CSV file are made;
    // the open recording stays current with its block.
    void csvConversion()
    {
        chosen_ = file("B.DAT");
        const QString title = session_->state.windowTitleText;
        const SessionData* block = session_->data();
        QVERIFY(!companionFileExists(chosen_));
        form_->FileConvert->trigger();
        QCOMPARE(titles_, QStringList{QStringLiteral("変換")});
        QCOMPARE(presets_, QStringList{demoPath()});
        QVERIFY(companionFileExists(chosen_));
        const QByteArray csv = readBytes(file("B.csv"));
        QVERIFY(csv.startsWith("\"PATIENT NAME\",\"SEX\",\"AGE\"\r\n\"Beta\","));
        QCOMPARE(csv.count("\r\n"), 7);
        QVERIFY(!form_->reopenPending);
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QCOMPARE(session_->state.windowTitleText, title);
        QCOMPARE(session_->data(), block);
        QVERIFY(messages_->shown().isEmpty());
    }

    void mergeDialogControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label1") << "Label1" << QStringLiteral("結合データリスト");
        QTest::newRow("Label4") << "Label4" << QStringLiteral("ファイルをドラッグして");
        QTest::newRow("Label5") << "Label5" << QStringLiteral("結合データリストに");
        QTest::newRow("Label6") << "Label6" << QStringLiteral("入れて下さい。");
        QTest::newRow("Label7") << "Label7" << QStringLiteral("ファイル内容");
        QTest::newRow("OKButton1") << "OKButton1" << QStringLiteral("&OK");
        QTest::newRow("CancelButton2") << "CancelButton2" << QStringLiteral("取消し(&C)");
        QTest::newRow("UpDateButton") << "UpDateButton" << QStringLiteral("update");
        QTest::newRow("GroupBox1") << "GroupBox1" << QStringLiteral("データタイプの選択");
        QTest::newRow("KS318RadioButton") << "KS318RadioButton" << QStringLiteral("KS318P");
        QTest::newRow("RV6830RadioButton") << "RV6830RadioButton" << QStringLiteral("RV6830/31");
        QTest::newRow("RV6821RadioButton") << "RV6821RadioButton" << QStringLiteral("RV6821");
    }

    void mergeDialogControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QWidget* w = merge()->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        if (auto* l = qobject_cast<QLabel*>(w))
            QCOMPARE(l->text(), text);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            QCOMPARE(b->text(), text);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            QCOMPARE(g->title(), text);
        else
            QFAIL("unexpected control kind");
    }

    void mergeDialogAtStart()
    {
        TFileMergeForm* f = merge();
        QCOMPARE(f->windowTitle(), QStringLiteral("ファイル結合"));
        QVERIFY(f->GroupBox1->isHidden());
        QVERIFY(!f->GroupBox1->isEnabled());
        QVERIFY(f->KS318RadioButton->isChecked());
        QVERIFY(f->UpDateButton->isHidden());
        QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("note"));
        QCOMPARE(f->FilterComboBox1->itemText(0), QStringLiteral("BP data file (*.dat)"));
        QStringList names;
        for (int i = 0; i < f->FileListBox1->count(); ++i)
            names << f->FileListBox1->item(i)->text();
        QCOMPARE(names, (QStringList{"A.DAT", "AB.DAT", "B.DAT", "C.dat", "DEMO.DAT", "OTHER.DAT"}));
        QCOMPARE(f->DirectoryListBox1->currentItem()->data(Qt::UserRole).toString(), QDir(files_->path()).absolutePath());
    }

    void pressingShowsTheSpan_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<bool>("draggable");
        QTest::newRow("KS-318P file") << "A.DAT" << QStringLiteral("BP data:  9:00 6/1 2009 to 20:30 6/1 2009 ") << true;
        QTest::newRow("other recorder") << "OTHER.DAT" << QStringLiteral("The data is not measured by KS318P.") << false;
    }

    void pressingShowsTheSpan()
    {
        QFETCH(QString, name);
        QFETCH(QString, memo);
        QFETCH(bool, draggable);
        merge()->show();
        press(name);
        QCOMPARE(merge()->Memo1->toPlainText(), memo);
        QCOMPARE(merge()->draggedPath, file(name));
        const int row = merge()->FileListBox1->row(merge()->FileListBox1->findItems(name, Qt::MatchExactly).first());
        QCOMPARE(merge()->FileListBox1MouseDown(row), draggable);
        // Pressing beside the entries empties the memo.
        QCOMPARE(merge()->FileListBox1MouseDown(-1), false);
        QVERIFY(merge()->Memo1->toPlainText().isEmpty());
        // The main window's recording is not touched.
        QCOMPARE(session_->state.currentFilePath, demoPath());
    }

    void dropping()
    {
        merge()->show();
        pressAndDrop("B.DAT");
        pressAndDrop("A.DAT");
        pressAndDrop("B.DAT");  // already there
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "A.DAT"}));
        QCOMPARE(merge()->mergePaths, (QStringList{file("B.DAT"), file("A.DAT")}));
        QCOMPARE(merge()->mergeCount, 2);
        // Only drags of the file list are taken.
        press("C.dat");
        QVERIFY(!drop(QStringLiteral("text/uri-list")));
        QCOMPARE(merge()->mergeCount, 2);
        // Dropped back onto the file list: ignored.
        merge()->FileListBox1DragDrop(merge()->FileListBox1);
        QCOMPARE(merge()->mergeCount, 2);
        QVERIFY(drop());
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "A.DAT", "C.dat"}));
    }

    void sixFilesAtMost()
    {
        merge()->show();
        for (int i = 1; i <= 7; ++i)
            QVERIFY(writeBytes(file(QStringLiteral("D%1.DAT").arg(i)), dayFile(10 + i, 9, 20, "D")));
        merge()->UpDateButtonClick();
        for (int i = 1; i <= 7; ++i)
            pressAndDrop(QStringLiteral("D%1.DAT").arg(i));
        QCOMPARE(merge()->mergeCount, 6);
        QCOMPARE(mergeList().last(), QStringLiteral("D6.DAT"));
    }

    void pressingAMergeEntryRemovesIt()
    {
        merge()->show();
        pressAndDrop("A.DAT");
        pressAndDrop("B.DAT");
        pressAndDrop("C.dat");
        QListWidget* list = merge()->ListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(mergeList(), (QStringList{"A.DAT", "C.dat"}));
        QCOMPARE(merge()->mergePaths, (QStringList{file("A.DAT"), file("C.dat")}));
        QCOMPARE(merge()->mergeCount, 2);
        // The right button removes nothing.
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(merge()->mergeCount, 2);
    }

    // OK: the outcome by case. The list and the dialog afterwards, the
    // messages, and what was written.
    void ok_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("outputExists");
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<bool>("listKept");
        QTest::addColumn<int>("saveDialogs");
        QTest::newRow("B then A") << QStringList{"B.DAT", "A.DAT"} << "OUT.DAT" << false << QList<int>{} << false << 1;
        QTest::newRow("one file") << QStringList{"A.DAT"} << "OUT.DAT" << false << QList<int>{} << true << 0;
        QTest::newRow("overlap") << QStringList{"A.DAT", "AB.DAT"} << "OUT.DAT" << false << QList<int>{259} << true << 1;
        QTest::newRow("output exists") << QStringList{"A.DAT", "B.DAT"} << "C.dat" << true << QList<int>{268} << false
                                       << 1;
        QTest::newRow("save cancelled") << QStringList{"A.DAT", "B.DAT"} << QString() << false << QList<int>{} << false
                                        << 1;
    }

    void ok()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QString, output);
        QFETCH(bool, outputExists);
        QFETCH(QList<int>, messages);
        QFETCH(bool, listKept);
        QFETCH(int, saveDialogs);
        merge()->show();
        for (const QString& name : dropped)
            pressAndDrop(name);
        saved_ = output.isEmpty() ? QString() : file(output);
        const QByteArray before = outputExists ? readBytes(saved_) : QByteArray();
        QTest::mouseClick(merge()->OKButton1, Qt::LeftButton);
        QCOMPARE(saveDialogs_, saveDialogs);
        QCOMPARE(messages_->shownIds(), messages);
        QCOMPARE(merge()->isVisible(), listKept);
        QCOMPARE(mergeList(), listKept ? dropped : QStringList());
        QCOMPARE(merge()->mergeCount, listKept ? int(dropped.size()) : 0);
        if (outputExists)
            QCOMPARE(readBytes(saved_), before);
        else if (!saved_.isEmpty() && messages.isEmpty() && !listKept)
            QCOMPARE(readBytes(saved_), mergeFileTexts({readBytes(file("A.DAT")), readBytes(file("B.DAT"))}));
        else if (!saved_.isEmpty())
            QVERIFY(!QFile::exists(saved_));
    }

    void cancelAndDataTypeEmptyTheList_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("cancel") << 0;
        QTest::newRow("data type") << 1;
    }

    void cancelAndDataTypeEmptyTheList()
    {
        QFETCH(int, how);
        merge()->show();
        pressAndDrop("A.DAT");
        pressAndDrop("B.DAT");
        if (how == 0)
            QTest::mouseClick(merge()->CancelButton2, Qt::LeftButton);
        else
            merge()->RV6830RadioButtonClick();
        QCOMPARE(merge()->mergeCount, 0);
        QVERIFY(merge()->mergePaths.isEmpty());
        QCOMPARE(merge()->ListBox1->count(), 0);
        QCOMPARE(merge()->isVisible(), how != 0);
    }

    // A file written while the dialog is up shows at the next repaint.
    void newFileShowsAtRepaint()
    {
        merge()->show();
        QVERIFY(QTest::qWaitForWindowExposed(merge()));
        const int before = merge()->FileListBox1->count();
        QVERIFY(writeBytes(file("NEW.DAT"), dayFile(20, 9, 20, "New")));
        merge()->repaint();
        QCOMPARE(merge()->FileListBox1->count(), before + 1);
    }

    // The menu entry: the dialog runs modally; afterwards the recording that
    // was current is current again.
    void mergeFromTheMenu()
    {
        const QString title = session_->state.windowTitleText;
        saved_ = file("MERGED.DAT");
        bool ran = false;
        QTimer::singleShot(0, this, [this, &ran] {
            ran = merge()->isVisible() && merge()->directory() == QDir(files_->path()).absolutePath();
            pressAndDrop("B.DAT");
            pressAndDrop("A.DAT");
            QTest::mouseClick(merge()->OKButton1, Qt::LeftButton);
            if (merge()->isVisible())
                merge()->reject();
        });
        form_->FileMerge->trigger();
        QVERIFY(ran);
        QVERIFY(!merge()->isVisible());
        QCOMPARE(readBytes(saved_), mergeFileTexts({readBytes(file("A.DAT")), readBytes(file("B.DAT"))}));
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QCOMPARE(session_->state.windowTitleText, title);
        QVERIFY(menusEnabled());
    }
};

QTEST_MAIN(TestFileMenu)
#include "tst_gui_filemenu.moc"
