// The File menu's save as, delete, CSV conversion and merge entries (the
// rules of the file operations themselves: tst_fileoperations), and the file
// merge dialog: pressing and dropping files, removing them, and OK with its
// refusals.
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

    // The entries of the merge list, or of `list`.
    QStringList mergeList(const QListWidget* list = nullptr) const
    {
        QStringList names;
        list = list ? list : merge()->ListBox1;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
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
        QVERIFY(w_->form->openFile(w_->demoPath()));
        merge()->setDirectory(w_->files.path());
    }

    void cleanup() { w_.reset(); }

    // Save as starts its dialog at the open recording and copies the data
    // file and its companion file; a cancelled dialog writes nothing, an
    // existing name is refused. Deleting the open recording closes it.
    void saveAsAndDelete()
    {
        const QStringList before = QDir(w_->files.path()).entryList(QDir::Files);
        w_->form->FileSaveAs->trigger();
        QCOMPARE(QDir(w_->files.path()).entryList(QDir::Files), before);
        w_->saved = file("COPY.DAT");
        w_->form->FileSaveAs->trigger();
        QCOMPARE(w_->presets, (QStringList{w_->demoPath(), w_->demoPath()}));
        QCOMPARE(readBytes(file("COPY.DAT")), readBytes(w_->demoPath()));
        QCOMPARE(readBytes(file("COPY.p30")), readBytes(file("DEMO.p30")));
        w_->saved = file("A.DAT");
        w_->form->FileSaveAs->trigger();
        QCOMPARE(w_->messages.shownIds(), QList<int>{268});
        QCOMPARE(w_->session.state.currentFilePath, w_->demoPath());

        for (const QString& target : {file("COPY.DAT"), w_->demoPath()}) {
            const bool current = target == w_->demoPath();
            w_->chosen = target;
            w_->form->FileDelete->trigger();
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

    // Pressing an entry shows its span, or for another recorder's file why
    // it cannot be dragged; pressing beside the entries empties the memo.
    // Dropped files join the list once; pressing one removes it.
    void pressingDroppingAndRemoving()
    {
        merge()->show();
        QCOMPARE(mergeList(merge()->FileListBox1), (QStringList{"A.DAT", "AB.DAT", "B.DAT", "C.dat", "DEMO.DAT", "OTHER.DAT"}));
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
            w_->form->FileMerge->trigger();
            QStringList ids;
            for (int id : w_->messages.shownIds())
                ids << QString::number(id);
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
                .arg(ids.isEmpty() ? QStringLiteral("none") : ids.join(' '), dialog, output,
                     QFileInfo(st.currentFilePath).fileName(), st.windowTitleText == title ? "kept" : "changed")
                .toUtf8();
        });
    }
};

QTEST_MAIN(TestFileMenu)
#include "tst_gui_filemenu.moc"
