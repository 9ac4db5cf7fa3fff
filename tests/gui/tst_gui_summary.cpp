// The summary data window over the known recording (golden known.DAT):
// every text of the pages shown (summary-window.txt) for a home and an
// ambulatory recorder and for files without valid readings, which pages show,
// the end of the interval line, the page it opens on, and printing to a file.
#include "records/shortdate.h"
#include "support/testfiles.h"
#include "views/summarydataform.h"
#include "viewsupport.h"
#include "session/session.h"

#include <QBoxLayout>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::viewtest;

namespace {

// One line of the labels among `items` that are not hidden.
void addRow(QStringList& lines, const QList<QLayoutItem*>& items)
{
    QStringList texts;
    for (QLayoutItem* item : items) {
        auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
        if (label && !label->isHidden())
            texts << label->text();
    }
    if (!texts.isEmpty())
        lines << texts.join(QStringLiteral(" | "));
}

// A line per row of a page's layouts.
void addRows(QStringList& lines, QLayout* layout)
{
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        for (int r = 0; r < grid->rowCount(); ++r) {
            QList<QLayoutItem*> row;
            for (int c = 0; c < grid->columnCount(); ++c)
                row << grid->itemAtPosition(r, c);
            addRow(lines, row);
        }
    } else if (box && box->direction() == QBoxLayout::LeftToRight) {
        QList<QLayoutItem*> row;
        for (int i = 0; i < box->count(); ++i)
            row << box->itemAt(i);
        addRow(lines, row);
    } else {
        for (int i = 0; i < layout->count(); ++i) {
            if (layout->itemAt(i)->layout())
                addRows(lines, layout->itemAt(i)->layout());
            else
                addRow(lines, {layout->itemAt(i)});
        }
    }
}

QString clockAndDate(int hour, int minute, const QDate& date)
{
    return QString::asprintf("%02d:%02d ", hour, minute) + formatShortDate(date);
}

QByteArray pagesOf(const TSummaryDataForm& form)
{
    QStringList lines;
    for (int i = 0; i < form.SummaryPageControl->count(); ++i) {
        if (form.SummaryPageControl->isTabVisible(i)) {
            lines << QStringLiteral("== ") + form.SummaryPageControl->tabText(i);
            addRows(lines, form.SummaryPageControl->widget(i)->layout());
        }
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

} // namespace

class TestSummary : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Session> session_;
    bool shown_ = false;

    QString path() const { return dir_->filePath(QStringLiteral("REC.DAT")); }

    // The known recording (of `type`) made current with `current` in a new window.
    std::unique_ptr<TSummaryDataForm> showKnown(const Current& current = sleepWake(),
                                                const char* type = "KS-318  70")
    {
        if (!test::writeFile(path(), test::golden("known.DAT").replace("KS-318  70", type))
            || !makeCurrent(*session_, path(), current))
            return nullptr;
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
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        session_ = std::make_unique<Session>();
        shown_ = false;
    }

    // Sleep 23:00 to 06:00; the ambulatory recorder names the pages and the
    // periods otherwise and the thresholds come from the settings; then the
    // zero-filled page of a file without valid readings, of a file gone and
    // of no file open, each after a first showing of the known recording.
    void pages()
    {
        QByteArray out = "### KS-318P, sleep 23:00 to 06:00\n";
        auto form = showKnown();
        QVERIFY(form);
        out += pagesOf(*form);
        std::tie(session_->settings.analysis.sysThreshold1, session_->settings.analysis.diaThreshold1,
                 session_->settings.analysis.sysThreshold2, session_->settings.analysis.diaThreshold2) =
            std::tuple(135, 85, 99, 60);
        form = showKnown(sleepWake(), "RV5730  30");
        QVERIFY(form);
        out += "### RV5730, thresholds 135/85 and 99/60\n" + pagesOf(*form);
        session_->settings.analysis = AnalysisSettings();
        for (const char* kind : {"only error readings", "file gone", "no file open"}) {
            form = showKnown();
            QVERIFY(form && text(*form, "HighestSysValue0") == QStringLiteral("150"));
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
        KS318_COMPARE_GOLDEN(out, "summary-window.txt");
    }

    // Day and night show only with sleep times and valid readings in both.
    void onlyTheFullPage_data()
    {
        QTest::addColumn<QString>("sleep");
        QTest::addColumn<QString>("wake");
        QTest::newRow("no sleep times") << QString() << QString();
        QTest::newRow("only an error reading at night") << "07:00" << "08:30";
        QTest::newRow("no reading at night") << "12:30" << "12:31";
    }

    void onlyTheFullPage()
    {
        QFETCH(QString, sleep);
        QFETCH(QString, wake);
        auto form = showKnown(sleepWake(sleep, wake));
        QVERIFY(form);
        QVERIFY(pagesOf(*form).startsWith("== Full\n") && !pagesOf(*form).contains("\n== "));
        QCOMPARE(form->SummaryPageControl->currentIndex(), 0);
    }

    void intervalLine_data()
    {
        QTest::addColumn<int>("startHour");
        QTest::addColumn<int>("startMinute");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("end");
        const QDate d0 = kFirstDate;
        QTest::newRow("an hour from 23:30") << 23 << 30 << 1 << clockAndDate(0, 30, d0.addDays(1));
        QTest::newRow("ending just before midnight") << 0 << 0 << 23 << clockAndDate(23, 0, d0);
        QTest::newRow("a week") << 7 << 15 << 168 << clockAndDate(7, 15, d0.addDays(7));
    }

    void intervalLine()
    {
        QFETCH(int, startHour);
        QFETCH(int, startMinute);
        QFETCH(int, hours);
        QFETCH(QString, end);
        auto form = showKnown(window1(startHour, startMinute, hours));
        QVERIFY(form);
        QCOMPARE(text(*form, "TimeInterval0"), QString::number(hours));
        QCOMPARE(text(*form, "StartTimeDate0"), clockAndDate(startHour, startMinute, kFirstDate));
        QCOMPARE(text(*form, "EndTimeDate0"), end);
    }

    void opensOnFullOnlyTheFirstTime()
    {
        auto form = showKnown();
        QVERIFY(form);
        QVERIFY(shown_);
        form->SummaryPageControl->setCurrentIndex(3);
        form->hide();
        form->show();
        QCOMPARE(form->SummaryPageControl->currentIndex(), 3);
        // Cleared by the main window: the next paint opens on "Full" again.
        shown_ = false;
        form->FormPaint();
        QCOMPARE(form->SummaryPageControl->currentIndex(), 0);
        QVERIFY(shown_);
        // A page that disappears does not stay chosen.
        form->SummaryPageControl->setCurrentIndex(2);
        session_->patient.day1SleepTime.clear();
        applyDataSetRecords(*session_);
        form->FormPaint();
        QCOMPARE(form->SummaryPageControl->currentIndex(), 0);
    }

    void print_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("printed") << true;
        QTest::newRow("cancelled") << false;
    }

    void print()
    {
        QFETCH(bool, confirmed);
        auto form = showKnown();
        QVERIFY(form);
        const QString pdf = dir_->filePath(QStringLiteral("summary.pdf"));
        int asked = 0;
        form->setPrintDialog([&](QPrinter& printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return confirmed;
        });
        form->SummaryDataPrintButton->click();
        QCOMPARE(asked, 1);
        QVERIFY(form->isVisible());
        QCOMPARE(QFile::exists(pdf), confirmed);
        if (confirmed) {
            const QByteArray bytes = test::readFile(pdf);
            QVERIFY(bytes.startsWith("%PDF") && bytes.contains("/Image"));
            // One page object besides the page tree.
            QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
        }
    }
};

QTEST_MAIN(TestSummary)
#include "tst_gui_summary.moc"
