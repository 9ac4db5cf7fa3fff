// The data windows over recordings written for the test: the BP data list
// (its main window entries: tst_gui_graphics), the summary window over the
// known recording (golden known.DAT) and the dipper of golden clinical-measures.txt, and the
// default BP settings dialog, where the summary's thresholds are set.
#include "app/defaultbpsettingszireform.h"
#include "guisupport.h"
#include "records/cp932.h"
#include "support/pdftext.h"
#include "views/bpdatalistform.h"
#include "views/clinicalpage.h"
#include "views/summarydataform.h"
#include "viewsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
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
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Sleep 23:00, wake 06:00; an excluded and an error reading on the second day.
const QList<Reading> kDipper = {
    {0, 21, 0, 140, 90, 70}, {0, 22, 30, 130, 80, 68}, {1, 1, 0, 120, 74, 60}, {1, 3, 0, 112, 68, 58},
    {1, 5, 0, 134, 80, 62},  {1, 6, 30, 150, 92, 75}, {1, 7, 0, 144, 88, 72},  {1, 12, 0, 136, 86, 70},
    {1, 13, 0, 200, 120, 90, 0, true}, {1, 14, 0, 130, 80, 70, 4},
};

// A line per row of each page shown, read as the user does, with the page
// in front: its labels that are not hidden, those standing at the same
// height joined left to right.
QByteArray pagesOf(TSummaryDataForm& form)
{
    QStringList lines;
    QTabWidget* tabs = form.SummaryPageControl;
    const int chosen = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->isTabVisible(i))
            continue;
        lines << QStringLiteral("== ") + tabs->tabText(i);
        tabs->setCurrentIndex(i);
        QMap<int, QMap<int, QString>> rows;   // top, left: text
        for (const QLabel* label : tabs->widget(i)->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (!label->isHidden())
                rows[label->y()][label->x()] = label->text();
        for (const QMap<int, QString>& row : rows)
            lines << QStringList(row.values()).join(QStringLiteral(" | "));
    }
    tabs->setCurrentIndex(chosen);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

// The BP settings dialog's edits: awake SYS and DIA, asleep SYS and DIA.
QList<QLineEdit*> thresholdEdits(const TDefaultBpSettingsZireForm& f)
{
    return {f.HyperAwakeSysLimitMaskEdit, f.HyperAwakeDiaLimitMaskEdit, f.HyperSleepSysLimitMaskEdit,
            f.HyperSleepDiaLimitMaskEdit};
}

} // namespace

class TestDataWindows : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Session> session_;
    GuiMessageService messages_{true};
    std::unique_ptr<TBPDataListForm> form_;
    bool filled_ = false;
    int activeView_ = 2;
    int beeps_ = 0;
    bool shown_ = false;

    QString path() const { return dir_->filePath(QStringLiteral("REC.DAT")); }

    bool open(const QList<Reading>& readings, const Current& current = Current())
    {
        return writeRecording(path(), readings) && makeCurrent(*session_, path(), current) && showList();
    }

    bool showList()
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

    // The known recording (of `type`) in a new window; a failure to write or
    // open it fails the test.
    std::unique_ptr<TSummaryDataForm> showKnown(const Current& current = sleepWake(),
                                                const char* type = "KS-318  70")
    {
        const bool written = test::writeFile(path(), test::golden("known.DAT").replace("KS-318  70", type));
        QTest::qVerify(written, "writeFile", "known.DAT written", __FILE__, __LINE__);
        return showSummary(current);
    }

    std::unique_ptr<TSummaryDataForm> showSummary(const Current& current = sleepWake())
    {
        const bool made = makeCurrent(*session_, path(), current);
        QTest::qVerify(made, "makeCurrent", "the recording made current", __FILE__, __LINE__);
        auto form = std::make_unique<TSummaryDataForm>(*session_, shown_);
        form->show();
        return form;
    }

    QString text(const TSummaryDataForm& form, const char* name) const
    {
        const QLabel* l = form.label(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void init()
    {
        form_.reset();  // before the session it shows
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        session_ = std::make_unique<Session>();
        messages_.clear();
        filled_ = false;
        activeView_ = 2;
        beeps_ = 0;
        shown_ = false;
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

    // The marks of golden bpdatalist-marks.txt; other columns and the header
    // take no mark; keys edit only comments.
    void marksAndKeys_data() { test::dataRows(QStringLiteral("bpdatalist-marks.txt"), {"reading", "button", "marks"}); }

    void marksAndKeys()
    {
        const int row = test::cell("reading").toInt();
        QList<Reading> readings = kFour;
        readings[3].excluded = true;
        QVERIFY(open(readings));
        QHeaderView* header = form_->BPDataStringGrid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(9) + 10, header->height() / 2));
        QCOMPARE(form_->cell(9, 0), QStringLiteral("削除"));
        const QString before = form_->cell(8, row);
        QStringList shown;
        for (int i = 0; i < 2; ++i) {
            click(9, row, test::cell("button") == "right" ? Qt::RightButton : Qt::LeftButton);
            shown << form_->cell(9, row);
        }
        QCOMPARE(shown.join(' '), test::cell("marks"));
        click(8, row);
        click(10, row);
        QCOMPARE(form_->cell(8, row) + ' ' + form_->cell(9, row), before + ' ' + shown[1]);

        QTableWidget* grid = form_->BPDataStringGrid;
        form_->selectCell(3, 1);
        QTest::keyClick(grid, Qt::Key_5);
        QCOMPARE(form_->cell(3, 1), QStringLiteral("132"));
        QVERIFY(!grid->findChild<QLineEdit*>());
        form_->selectCell(10, 1);
        QTest::keyClick(grid, Qt::Key_A);
        QVERIFY(grid->findChild<QLineEdit*>());
    }

    // Golden bpdatalist-comments.txt, each line on a fresh list.
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
        TSummaryDataForm summary(*session_, shown_);
        summary.show();
        const auto summaryText = [&] {
            summary.FormPaint();
            return text(summary, "ValidReadings0") + ' ' + text(summary, "ExcludedReadings0");
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
        QByteArray lines;   // over the cap: one reading more than the 1828 the program reads
        for (int i = 0; i < (cause == "cap" ? kMaxReadings + 1 : 6); ++i) {
            const QDate day = kFirstDate.addDays(i / 12);
            lines += test::recordLine(day.year(), day.month(), day.day(), i % 12 * 2, 0, 120 + i % 20, 80, 70);
        }
        QVERIFY(writeFile(path(), lines + test::patientSections("TEST")));
        QVERIFY(makeCurrent(*session_, path()) && showList());
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

    // Golden bpdatalist-rows.txt, each line on a fresh list.
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

    // Golden summary-window.txt: the known recording with sleep from 23:00 to
    // 06:00, then on an ambulatory recorder with other thresholds (the SYS and
    // DIA shares above them differ on every page); the zero-filled page of a
    // file without valid readings, of a file gone and of no file open, each
    // after a first showing; the pages shown for other sleep times; the
    // interval line of other windows.
    void pages()
    {
        QByteArray out = "### KS-318P, sleep 23:00 to 06:00\n";
        auto form = showKnown();
        out += pagesOf(*form);
        std::tie(session_->settings.analysis.sysThreshold1, session_->settings.analysis.diaThreshold1,
                 session_->settings.analysis.sysThreshold2, session_->settings.analysis.diaThreshold2) =
            std::tuple(145, 90, 130, 72);
        form = showKnown(sleepWake(), "RV5730  30");
        out += "### RV5730, thresholds 145/90 and 130/72\n" + pagesOf(*form);
        session_->settings.analysis = AnalysisSettings();
        for (const char* kind : {"only error readings", "file gone", "no file open"}) {
            form = showKnown();
            QCOMPARE(text(*form, "HighestSysValue0"), QStringLiteral("150"));
            if (kind[0] == 'o')
                QVERIFY(test::writeFile(path(), test::recordLine(2026, 11, 2, 23, 0, 0, 0, 0, 5)
                                                    + test::recordLine(2026, 11, 3, 8, 0, 0, 0, 0, 6)));
            else if (kind[0] == 'f')
                QVERIFY(QFile::remove(path()));
            else
                session_->state.currentFilePath.clear();
            form->FormPaint();
            out += "### " + QByteArray(kind) + "\n" + pagesOf(*form);
        }
        // Day and night show only with sleep times and valid readings in both.
        const QList<std::pair<const char*, const char*>> sleepTimes{{"", ""}, {"07:00", "08:30"}, {"12:30", "12:31"}};
        for (const auto& [sleep, wake] : sleepTimes) {
            form = showKnown(sleepWake(sleep, wake));
            out += QStringLiteral("### sleep '%1' to '%2': ").arg(sleep, wake).toUtf8();
            for (int i = 0; i < form->SummaryPageControl->count(); ++i)
                if (form->SummaryPageControl->isTabVisible(i))
                    out += form->SummaryPageControl->tabText(i).toUtf8() + ' ';
            out += "open on " + QByteArray::number(form->SummaryPageControl->currentIndex()) + '\n';
        }
        for (const Current& c : {window1(23, 30, 1), window1(0, 0, 23), window1(7, 15, 168)}) {
            form = showKnown(c);
            out += "### window of " + text(*form, "TimeInterval0").toUtf8() + " h: "
                   + text(*form, "StartTimeDate0").toUtf8() + " to " + text(*form, "EndTimeDate0").toUtf8() + '\n';
        }
        KS318_COMPARE_GOLDEN(out, "summary-window.txt");
    }

    void opensOnFullOnlyTheFirstTime()
    {
        auto form = showKnown();
        form->SummaryPageControl->setCurrentIndex(3);
        form->hide();
        form->show();
        QCOMPARE(form->SummaryPageControl->currentIndex(), 3);
        // Cleared by the main window: the next paint opens on "Full" again.
        shown_ = false;
        form->FormPaint();
        QCOMPARE(form->SummaryPageControl->currentIndex(), 0);
        // A page that disappears does not stay chosen.
        form->SummaryPageControl->setCurrentIndex(2);
        session_->patient.day1SleepTime.clear();
        applyDataSetRecords(*session_);
        form->FormPaint();
        QCOMPARE(form->SummaryPageControl->currentIndex(), 0);
    }

    // The window's picture on one page; a cancelled dialog prints nothing.
    void print()
    {
        auto form = showKnown();
        const QString pdf = dir_->filePath(QStringLiteral("summary.pdf"));
        for (const bool confirmed : {false, true}) {
            form->setPrintDialog([&](QPrinter& printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(pdf);
                return confirmed;
            });
            form->SummaryDataPrintButton->click();
            QVERIFY(form->isVisible());
            QCOMPARE(QFile::exists(pdf), confirmed);
        }
        QVERIFY(readBytes(pdf).contains("/Image"));
        QCOMPARE(test::pdfPages(pdf).size(), 1);
    }

    // The dialog shows the thresholds read; golden bpsettings-dialog.txt.
    void bpSettings_data() { test::dataRows(QStringLiteral("bpsettings-dialog.txt"), {"typed", "stored"}); }

    void bpSettings()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        AnalysisSettings& a = session_->settings.analysis;
        a.valid = 1;
        std::tie(a.sysThreshold1, a.diaThreshold1, a.sysThreshold2, a.diaThreshold2) = std::tuple(135, 85, 115, 65);
        TDefaultBpSettingsZireForm form(*session_, &messages_);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QList<QLineEdit*> edits = thresholdEdits(form);
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            shown << edits[i]->text();
            edits[i]->setText(typed.section(' ', i, i));
        }
        QCOMPARE(shown, (QStringList{"135", "85", "115", "65"}));
        const bool cancel = QByteArray(QTest::currentDataTag()) == "cancel";
        (cancel ? form.DefaultBpCancelButton : form.DefaultBpSaveButton)->click();
        const bool refused = stored == "no" && !cancel;
        QCOMPARE(messages_.shownIds(), refused ? QList<int>{197} : QList<int>{});
        QCOMPARE(form.isVisible(), refused);
        QCOMPARE(form.result(), int(stored == "yes" ? QDialog::Accepted : QDialog::Rejected));
        const QString thresholds = QString::asprintf("%d %d %d %d", a.sysThreshold1, a.diaThreshold1, a.sysThreshold2,
                                                     a.diaThreshold2);
        QCOMPARE(thresholds, stored == "yes" ? typed : QStringLiteral("135 85 115 65"));
    }

    // Settings never read: showing leaves the edits as they were; each edit
    // takes three digits.
    void bpSettingsNeverRead()
    {
        session_->settings.analysis.sysThreshold1 = 150;
        TDefaultBpSettingsZireForm form(*session_, nullptr);
        form.HyperAwakeSysLimitMaskEdit->setText("99");
        form.show();
        QStringList shown;
        for (QLineEdit* edit : thresholdEdits(form))
            shown << edit->text();
        QCOMPARE(shown, (QStringList{"99", "90", "120", "70"}));
        form.HyperAwakeSysLimitMaskEdit->clear();
        QTest::keyClicks(form.HyperAwakeSysLimitMaskEdit, "12a345");
        QCOMPARE(form.HyperAwakeSysLimitMaskEdit->text(), QStringLiteral("123"));
    }

    void clinicalPage_data()
    {
        QTest::addColumn<QSize>("window");
        for (const QSize size : {QSize(600, 400), QSize(800, 600), QSize(1920, 1080)})
            QTest::addRow("%dx%d", size.width(), size.height()) << size;
    }

    // The texts worked out by hand (clinical-window.txt, 19 texts); then the
    // page as a tab of a window of that size: no text leaves the page, is
    // cut, or lies on another; the page scrolls only downwards.
    void clinicalPage()
    {
        QFETCH(QSize, window);
        QVERIFY(writeRecording(path(), kDipper));
        auto form = showSummary();
        QCOMPARE(form->SummaryPageControl->tabText(4), QStringLiteral("臨床指標"));
        QVERIFY(form->SummaryPageControl->isTabVisible(4));
        ClinicalPage* page = form->ClinicalTabSheet;
        const QStringList texts = page->texts();
        const QStringList wanted = QString::fromUtf8(test::golden("clinical-window.txt"))
                                       .split(QLatin1Char('\n'))
                                       .filter(QRegularExpression(QStringLiteral("^[^#]")));
        QCOMPARE(wanted.size(), 19);
        for (const QString& want : wanted)
            QVERIFY2(texts.contains(want), qPrintable(want));
        QVERIFY(texts.at(1).startsWith(QStringLiteral("REC:")));

        QTabWidget tabs;
        tabs.addTab(page, QStringLiteral("臨床指標"));
        tabs.resize(window - QSize(20, 50));
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QVERIFY(!page->scrollArea()->horizontalScrollBar()->isVisible());
        QWidget* inner = page->scrollArea()->widget();
        QList<QWidget*> items;
        for (QLabel* l : inner->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty())
                items << l;
        items << inner->findChild<QWidget*>(QStringLiteral("ClinicalProfile"));
        for (QWidget* w : items) {
            const QRect r = w->geometry();
            QVERIFY2(inner->rect().contains(r), qPrintable(w->objectName()));
            if (auto* l = qobject_cast<QLabel*>(w)) {
                const QSize need = l->wordWrap() ? QSize(1, l->heightForWidth(r.width())) : l->sizeHint();
                QVERIFY2(r.width() >= need.width() && r.height() >= need.height(),
                         qPrintable(l->objectName() + QStringLiteral(" cut: ") + l->text()));
            }
            for (QWidget* other : items)
                QVERIFY2(other == w || !r.intersects(other->geometry()),
                         qPrintable(w->objectName() + QStringLiteral(" on ") + other->objectName()));
        }
    }
};

QTEST_MAIN(TestDataWindows)
#include "tst_gui_datawindows.moc"
