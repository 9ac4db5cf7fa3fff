// The BP data list window: the grid, marks, comments, saving into the data
// file, the opening row and the graph position it leaves behind.
#include "guisupport.h"
#include "records/cp932.h"
#include "views/bpdatalistform.h"
#include "views/summarydataform.h"
#include "viewsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using namespace ks318::viewtest;

namespace {

// Four readings: two valid, an error reading (code 5), one more valid one.
const QList<Reading> kFour{{0, 8, 5, 132, 84, 71}, {0, 10, 30, 128, 80, 68}, {0, 12, 0, 0, 0, 0, 5},
                           {0, 14, 15, 141, 92, 75}};

// Types `text` into `widget` one key at a time, each key carrying its
// character (QTest's own typing handles Latin-1 only).
void type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        const int key = ch.unicode() < 128 ? ch.toUpper().unicode() : int(Qt::Key_unknown);
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(t, key, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &e);
        }
    }
}

} // namespace

class TestBpDataList : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Session> session_;
    GuiMessageService messages_{true};
    std::unique_ptr<TBPDataListForm> form_;
    bool filled_ = false;
    int activeView_ = 2;
    int beeps_ = 0;

    QString path() const { return dir_->filePath(QStringLiteral("REC.DAT")); }

    bool open(const QList<Reading>& readings, const Current& current = Current())
    {
        return writeRecording(path(), readings) && makeCurrent(*session_, path(), current) && show();
    }

    bool show()
    {
        form_ = std::make_unique<TBPDataListForm>(*session_, filled_, activeView_, &messages_);
        form_->setBeep([this] { ++beeps_; });
        form_->show();
        return QTest::qWaitForWindowExposed(form_.get());
    }

    // A real click with `button` on a cell of the grid (row 1 = first reading).
    void click(int col, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTableWidget* grid = form_->BPDataStringGrid;
        QTest::mouseClick(grid->viewport(), button, {}, grid->visualRect(grid->model()->index(row - 1, col)).center());
    }

    // Types `text` into the emptied comment editor of `row`; `done` commits it.
    QLineEdit* comment(int row, const QString& text, bool done = true)
    {
        QTableWidget* grid = form_->BPDataStringGrid;
        form_->selectCell(form_->commentColumn(), row);
        grid->editItem(grid->item(row - 1, form_->commentColumn()));
        auto* editor = grid->findChild<QLineEdit*>();
        if (!editor)
            return nullptr;
        editor->clear();
        type(editor, text);
        if (done)
            commit(editor);
        return editor;
    }

    // Enter: the grid takes the text (queued by the view) and the editor goes.
    void commit(QLineEdit* editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void init()
    {
        form_.reset();  // before the session it shows
        dir_ = std::make_unique<QTemporaryDir>();
        session_ = std::make_unique<Session>();
        messages_.clear();
        filled_ = false;
        activeView_ = 2;
        beeps_ = 0;
    }

    void cleanup() { form_.reset(); }

    // Window 1 from 08:00 for 8 hours: the 07:00 and 16:30 readings are
    // outside (golden bpdatalist.txt: caption, header, rows).
    void grid()
    {
        QList<Reading> readings = kFour;
        readings.prepend({0, 7, 0, 120, 80, 70});
        readings.append({0, 16, 30, 125, 81, 69});
        readings[2].comment = "after walk";
        QVERIFY(open(readings, window1(8, 0, 8)));
        QVERIFY(filled_);
        QStringList lines{form_->windowTitle()};
        for (int r = -1; r < form_->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < TBPDataListForm::kColumnCount; ++c)
                cells << (r < 0 ? form_->BPDataStringGrid->horizontalHeaderItem(c)->text() : form_->cell(c, r));
            lines << cells.join(QStringLiteral(" | "));
        }
        KS318_COMPARE_GOLDEN((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), "bpdatalist.txt");
    }

    // Any button in column 9 toggles X and - (x of an error reading stays);
    // other columns and the header take no mark; keys edit only comments.
    void marksAndKeys_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("marks");  // after the first and the second click
        QTest::newRow("valid reading, right button") << 2 << int(Qt::RightButton) << QStringList{"X", "-"};
        QTest::newRow("error reading") << 3 << int(Qt::LeftButton) << QStringList{"x", "x"};
        QTest::newRow("excluded in the file") << 4 << int(Qt::LeftButton) << QStringList{"-", "X"};
    }

    void marksAndKeys()
    {
        QFETCH(int, row);
        QFETCH(int, button);
        QFETCH(QStringList, marks);
        QList<Reading> readings = kFour;
        readings[3].excluded = true;
        QVERIFY(open(readings));
        QHeaderView* header = form_->BPDataStringGrid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(9) + 10, header->height() / 2));
        QCOMPARE(form_->cell(9, 0), QStringLiteral("削除"));
        const QString before = form_->cell(8, row);
        for (const QString& mark : marks) {
            click(9, row, Qt::MouseButton(button));
            QCOMPARE(form_->cell(9, row), mark);
        }
        click(8, row);
        click(10, row);
        QCOMPARE(form_->cell(8, row) + form_->cell(9, row), before + marks[1]);

        QTableWidget* grid = form_->BPDataStringGrid;
        form_->selectCell(3, 1);
        QTest::keyClick(grid, Qt::Key_5);
        QCOMPARE(form_->cell(3, 1), QStringLiteral("132"));
        QVERIFY(!grid->findChild<QLineEdit*>());
        form_->selectCell(10, 1);
        QTest::keyClick(grid, Qt::Key_A);
        QVERIFY(grid->findChild<QLineEdit*>());
    }

    // Typed keys, an input method's commit and a paste are all cut at 27
    // bytes without splitting a character, with one beep per refusal
    // (golden bpdatalist-comments.txt), each line on a fresh list.
    void commentLimit()
    {
        KS318_COMPARE_GOLDEN_TABLE("bpdatalist-comments.txt", [this](const QByteArray& line) {
            init();
            const QStringList parts = QString::fromUtf8(line).split(QStringLiteral(" | "));
            QLineEdit* editor = open(kFour) ? comment(2, parts.first(), false) : nullptr;
            if (!editor)
                return QByteArray("no editor");
            const QString more = parts.value(1);
            if (more.startsWith(QLatin1String("ime "))) {
                QInputMethodEvent commitIme(QString(), {});
                commitIme.setCommitString(more.mid(4));
                QApplication::sendEvent(editor, &commitIme);
            } else if (more.startsWith(QLatin1String("paste "))) {
                QGuiApplication::clipboard()->setText(more.mid(6));
                QTest::keySequence(editor, QKeySequence::Paste);
            }
            const QString kept = editor->text();
            QTest::keyClick(editor, Qt::Key_Backspace);
            QTest::keyClick(editor, Qt::Key_Z);
            const int beeps = beeps_;
            commit(editor);
            return QStringLiteral("kept %1, %2 beeps\ngrid: %3").arg(kept).arg(beeps).arg(form_->cell(10, 2)).toUtf8();
        });
    }

    // Saving writes marks and comments into the data file (not those of
    // error readings); the summary follows only then.
    void save()
    {
        QVERIFY(open(kFour));
        bool summaryShown = false;
        TSummaryDataForm summary(*session_, summaryShown);
        summary.show();
        const auto summaryText = [&summary] {
            summary.FormPaint();
            return summary.label(QStringLiteral("ValidReadings0"))->text() + ' '
                   + summary.label(QStringLiteral("ExcludedReadings0"))->text();
        };
        click(9, 2);                                     // exclude the 10:30 reading
        QCOMPARE(summaryText(), QStringLiteral("3 1 (25.0%)"));
        const QString note = QStringLiteral("起床後 測定");
        QVERIFY(comment(1, note) && comment(3, QStringLiteral("lost")));
        // A comment longer than the limit that reached the grid by other ways.
        form_->setCell(10, 4, QString(20, QChar(0x3046)));
        form_->selectCell(1, 2);

        QVERIFY(form_->SaveButtonClick());
        QCOMPARE(summaryText(), QStringLiteral("2 2 (50.0%)"));
        QVERIFY(messages_.shown().isEmpty());
        QVERIFY(!form_->isVisible());
        QCOMPARE(activeView_, 0);
        // Left right after the save: 10:00 less 08:00 (the window's start).
        QCOMPARE(session_->graphView.scrollHours, 2);
        const QByteArray file = readBytes(path());
        QVERIFY(file.contains(QByteArray("1:") + QByteArray::fromStdString(toCp932(note)) + '\n'));
        QVERIFY(!file.contains("lost"));
        const QByteArray cut = QByteArray::fromStdString(toCp932(QString(13, QChar(0x3046))));
        QVERIFY(file.contains("4:" + cut + '\n'));

        // Reopened: the mark and the comments come back from the file.
        filled_ = false;
        form_->show();
        QCOMPARE(form_->cell(9, 2) + form_->cell(10, 1) + form_->cell(9, 3), "X" + note + "x");
    }

    // A save that would write the wrong file, or not all of it, is refused
    // with 220; the window keeps the edits and the file stays as it was.
    void saveFailure_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("over the reading cap") << "cap";
        QTest::newRow("file gone since the list was filled") << "gone";
        QTest::newRow("another recording current meanwhile") << "other";
    }

    void saveFailure()
    {
        QFETCH(QString, cause);
        QList<Reading> readings;
        for (int i = 0; i < (cause == "cap" ? kMaxReadings : 6); ++i)
            readings << Reading{i / 12, i % 12 * 2, 0, 120 + i % 20, 80, 70};
        QVERIFY(writeRecording(path(), readings));
        if (cause == "cap") {
            // One more reading behind the 1828 the program reads.
            QByteArray bytes = readBytes(path());
            const int patient = bytes.indexOf("#PATIENT");
            const int lastLine = bytes.lastIndexOf('\n', patient - 2) + 1;
            bytes.insert(patient, bytes.mid(lastLine, patient - lastLine));
            QVERIFY(writeFile(path(), bytes));
        }
        QVERIFY(makeCurrent(*session_, path()) && show());
        QVERIFY(form_->rowCount() > 2);
        const QByteArray before = readBytes(path());
        const QString other = dir_->filePath(QStringLiteral("OTHER.DAT"));
        if (cause == "gone")
            QVERIFY(QFile::remove(path()));
        else if (cause == "other")
            QVERIFY(writeRecording(other, kFour) && makeCurrent(*session_, other));

        click(9, 2);
        QVERIFY(comment(1, QStringLiteral("keep me")));
        QVERIFY(!form_->SaveButtonClick());
        QCOMPARE(messages_.shownIds(), QList<int>{220});
        QVERIFY(form_->isVisible());
        QCOMPARE(activeView_, 2);
        QCOMPARE(form_->cell(9, 2) + form_->cell(10, 1), QStringLiteral("Xkeep me"));
        QCOMPARE(readBytes(path()), cause == "gone" ? QByteArray() : before);
        QVERIFY(!readBytes(other).contains("keep me"));
    }

    // Where the list opens and where leaving it puts the graph (golden
    // bpdatalist-rows.txt), each line on a fresh list.
    void openingRowAndLeaving()
    {
        KS318_COMPARE_GOLDEN_TABLE("bpdatalist-rows.txt", [this](const QByteArray& line) {
            init();
            const QList<QByteArray> fields = line.split(' ');
            QList<Reading> readings;
            for (const QByteArray& field : fields.mid(1)) {
                const int t = field.toInt();
                readings << Reading{t / 10000, t / 100 % 100, t % 100, 130, 80, 70};
            }
            session_->graphView.scrollHours = fields[0].toInt();
            if (!open(readings, window1(8, 30, 72)))
                return QByteArray("not shown");
            const int row = form_->selectedRow();
            QSignalSpy moved(form_.get(), &TBPDataListForm::graphPositionChanged);
            form_->FormDeactivate();
            return QStringLiteral("opens on row %1, leaves the graph at hour %2%3")
                .arg(row)
                .arg(session_->graphView.scrollHours)
                .arg(moved.count() == 1 ? "" : " without telling the graph")
                .toUtf8();
        });
    }

    // From the main window: the menu refills the list, showing it again
    // without the menu keeps an unsaved mark, closing saves nothing.
    void mainWindowEntries()
    {
        MainWindow w;
        const QString rec = w.file(QStringLiteral("REC.DAT"));
        QVERIFY(w.form && writeRecording(rec, kFour));
        TMainForm& main = *w.form;
        QVERIFY(main.openFile(rec));
        main.ViewT2BPDataList->trigger();
        QCOMPARE(main.activeView, 2);
        QCOMPARE(main.BPDataListForm->rowCount(), 5);
        main.BPDataListForm->BPDataStringGridMouseUp(9, 1);
        main.BPDataListForm->hide();
        main.restoreActiveView();
        QCOMPARE(main.BPDataListForm->cell(9, 1), QStringLiteral("X"));
        main.ViewT2BPDataList->trigger();
        QCOMPARE(main.BPDataListForm->cell(9, 1), QStringLiteral("-"));
        const QByteArray before = readBytes(rec);
        main.BPDataListForm->BPDataStringGridMouseUp(9, 1);
        main.BPDataListForm->CloseButton->click();
        QCOMPARE(main.activeView, 0);
        QCOMPARE(readBytes(rec), before);
    }
};

QTEST_MAIN(TestBpDataList)
#include "tst_gui_bpdatalist.moc"
