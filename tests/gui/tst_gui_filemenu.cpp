// The File menu's save as, delete, CSV conversion and merge entries, and the
// file merge dialog: pressing and dropping files, removing them, and OK with
// its refusals.
#include "app/filemergeform.h"
#include "guisupport.h"
#include "records/companionfile.h"
#include "records/filemerge.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;

namespace {

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
    std::unique_ptr<MainWindow> w_;

    QString file(const QString& name) const { return w_->file(name); }
    TFileMergeForm* merge() const { return w_->form->FileMergeForm; }

    // Presses the file list entry `name` with the left button.
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
        QVERIFY(w_->form->openFile(w_->demoPath()));
        merge()->setDirectory(w_->files.path());
    }

    void cleanup() { w_.reset(); }

    // Save as copies the data file and its companion file; an existing name
    // is refused and left alone; a cancelled dialog writes nothing.
    void saveAs_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<int>>("messages");
        QTest::newRow("new name") << "COPY.DAT" << QList<int>{};
        QTest::newRow("existing name") << "A.DAT" << QList<int>{268};
        QTest::newRow("cancelled") << QString() << QList<int>{};
    }

    void saveAs()
    {
        QFETCH(QString, target);
        QFETCH(QList<int>, messages);
        const QStringList before = QDir(w_->files.path()).entryList(QDir::Files);
        const QByteArray existing = readBytes(file("A.DAT"));
        w_->saved = target.isEmpty() ? QString() : file(target);
        w_->form->FileSaveAs->trigger();
        QCOMPARE(w_->presets, QStringList{w_->demoPath()});
        QCOMPARE(w_->messages.shownIds(), messages);
        QCOMPARE(w_->session.state.currentFilePath, w_->demoPath());
        QCOMPARE(readBytes(file("A.DAT")), existing);
        if (target == QLatin1String("COPY.DAT")) {
            QCOMPARE(readBytes(file("COPY.DAT")), readBytes(w_->demoPath()));
            QCOMPARE(readBytes(file("COPY.p30")), readBytes(file("DEMO.p30")));
        } else {
            QCOMPARE(QDir(w_->files.path()).entryList(QDir::Files), before);
        }
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
        w_->chosen = file(target);
        w_->form->FileDelete->trigger();
        QVERIFY(!QFile::exists(file(target)) && !companionFileExists(file(target)));
        QCOMPARE(w_->session.state.currentFilePath, stillOpen ? w_->demoPath() : QString());
        QVERIFY(w_->analysisMenus(stillOpen));
    }

    // A recording never opened: its companion file and CSV file are made;
    // the open recording stays current with its block.
    void csvConversion()
    {
        w_->chosen = file("B.DAT");
        const QString title = w_->session.state.windowTitleText;
        const SessionData* block = w_->session.data();
        QVERIFY(!companionFileExists(w_->chosen));
        w_->form->FileConvert->trigger();
        QVERIFY(companionFileExists(w_->chosen));
        const QByteArray csv = readBytes(file("B.csv"));
        QVERIFY(csv.startsWith("\"PATIENT NAME\",\"SEX\",\"AGE\"\r\n\"Beta\","));
        QCOMPARE(csv.count("\r\n"), 7);
        QVERIFY(!w_->form->reopenPending);
        QCOMPARE(w_->session.state.currentFilePath, w_->demoPath());
        QCOMPARE(w_->session.state.windowTitleText, title);
        QCOMPARE(w_->session.data(), block);
        QVERIFY(w_->messages.shown().isEmpty());
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
        QVERIFY(!merge()->FileListBox1MouseDown(-1) && merge()->Memo1->toPlainText().isEmpty());
    }

    void droppingAndRemoving()
    {
        merge()->show();
        QStringList names;
        for (int i = 0; i < merge()->FileListBox1->count(); ++i)
            names << merge()->FileListBox1->item(i)->text();
        QCOMPARE(names, (QStringList{"A.DAT", "AB.DAT", "B.DAT", "C.dat", "DEMO.DAT", "OTHER.DAT"}));
        pressAndDrop("B.DAT");
        pressAndDrop("A.DAT");
        pressAndDrop("B.DAT");  // already there
        QCOMPARE(mergeList(), (QStringList{"B.DAT", "A.DAT"}));
        QCOMPARE(merge()->mergePaths, (QStringList{file("B.DAT"), file("A.DAT")}));
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
        QCOMPARE(merge()->mergeCount, 2);
    }

    // Files written while the dialog is up show at the next repaint; six at most are taken.
    void sixFilesAtMost()
    {
        merge()->show();
        QVERIFY(QTest::qWaitForWindowExposed(merge()));
        for (int i = 1; i <= 7; ++i)
            QVERIFY(writeFile(file(QStringLiteral("D%1.DAT").arg(i)), dayFile(10 + i, 9, 20, "D")));
        merge()->repaint();
        for (int i = 1; i <= 7; ++i)
            pressAndDrop(QStringLiteral("D%1.DAT").arg(i));
        QCOMPARE(merge()->mergeCount, 6);
        QCOMPARE(mergeList().last(), QStringLiteral("D6.DAT"));
    }

    // OK, cancel and a change of data type: the list and the dialog
    // afterwards, the messages, and what was written.
    void buttons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<bool>("listKept");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("saveDialogs");
        const QStringList ab{"A.DAT", "B.DAT"};
        QTest::newRow("B then A") << "ok" << QStringList{"B.DAT", "A.DAT"} << "OUT.DAT" << QList<int>{} << false
                                  << false << 1;
        QTest::newRow("one file") << "ok" << QStringList{"A.DAT"} << "OUT.DAT" << QList<int>{} << true << true << 0;
        QTest::newRow("overlap") << "ok" << QStringList{"A.DAT", "AB.DAT"} << "OUT.DAT" << QList<int>{259} << true
                                 << true << 1;
        QTest::newRow("output exists") << "ok" << ab << "C.dat" << QList<int>{268} << false << false << 1;
        QTest::newRow("save cancelled") << "ok" << ab << QString() << QList<int>{} << false << false << 1;
        QTest::newRow("cancel") << "cancel" << ab << "OUT.DAT" << QList<int>{} << false << false << 0;
        QTest::newRow("data type") << "type" << ab << "OUT.DAT" << QList<int>{} << false << true << 0;
    }

    void buttons()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, dropped);
        QFETCH(QString, output);
        QFETCH(QList<int>, messages);
        QFETCH(bool, listKept);
        QFETCH(bool, visible);
        QFETCH(int, saveDialogs);
        merge()->show();
        for (const QString& name : dropped)
            pressAndDrop(name);
        w_->saved = output.isEmpty() ? QString() : file(output);
        const bool outputExists = QFile::exists(w_->saved);
        const QByteArray before = readBytes(w_->saved);
        if (button == QLatin1String("ok"))
            QTest::mouseClick(merge()->OKButton1, Qt::LeftButton);
        else if (button == QLatin1String("cancel"))
            QTest::mouseClick(merge()->CancelButton2, Qt::LeftButton);
        else
            merge()->RV6830RadioButtonClick();
        QCOMPARE(w_->saveDialogs, saveDialogs);
        QCOMPARE(w_->messages.shownIds(), messages);
        QCOMPARE(merge()->isVisible(), visible);
        QCOMPARE(mergeList(), listKept ? dropped : QStringList());
        QCOMPARE(merge()->mergeCount, listKept ? int(dropped.size()) : 0);
        QCOMPARE(merge()->mergePaths.size(), merge()->mergeCount);
        if (outputExists)
            QCOMPARE(readBytes(w_->saved), before);
        else if (saveDialogs && !w_->saved.isEmpty() && messages.isEmpty() && !listKept)
            QCOMPARE(readBytes(w_->saved), mergeFileTexts({readBytes(file("A.DAT")), readBytes(file("B.DAT"))}));
        else if (!w_->saved.isEmpty())
            QVERIFY(!QFile::exists(w_->saved));
    }

    // The menu entry: the dialog runs modally; afterwards the recording that
    // was current is current again.
    void mergeFromTheMenu()
    {
        const QString title = w_->session.state.windowTitleText;
        w_->saved = file("MERGED.DAT");
        bool ran = false;
        QTimer::singleShot(0, this, [this, &ran] {
            ran = merge()->isVisible() && merge()->directory() == QDir(w_->files.path()).absolutePath();
            pressAndDrop("B.DAT");
            pressAndDrop("A.DAT");
            QTest::mouseClick(merge()->OKButton1, Qt::LeftButton);
            if (merge()->isVisible())
                merge()->reject();
        });
        w_->form->FileMerge->trigger();
        QVERIFY(ran);
        QVERIFY(!merge()->isVisible());
        QCOMPARE(readBytes(w_->saved), mergeFileTexts({readBytes(file("A.DAT")), readBytes(file("B.DAT"))}));
        QCOMPARE(w_->session.state.currentFilePath, w_->demoPath());
        QCOMPARE(w_->session.state.windowTitleText, title);
        QVERIFY(w_->analysisMenus(true));
    }
};

QTEST_MAIN(TestFileMenu)
#include "tst_gui_filemenu.moc"
