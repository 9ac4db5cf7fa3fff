// The summary data window over the known recording (golden known.DAT):
// every text of the pages shown (summary-window.txt) for a home and an
// ambulatory recorder and for files without valid readings, which pages show
// for other sleep times, the interval line of other windows, the page it
// opens on, and printing to a file.
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
    // periods otherwise and the thresholds come from the settings (the SYS and
    // DIA shares above them differ on every page); then the
    // zero-filled page of a file without valid readings, of a file gone and
    // of no file open, each after a first showing of the known recording;
    // the pages shown for other sleep times and the interval line of other
    // windows.
    void pages()
    {
        QByteArray out = "### KS-318P, sleep 23:00 to 06:00\n";
        auto form = showKnown();
        QVERIFY(form);
        out += pagesOf(*form);
        std::tie(session_->settings.analysis.sysThreshold1, session_->settings.analysis.diaThreshold1,
                 session_->settings.analysis.sysThreshold2, session_->settings.analysis.diaThreshold2) =
            std::tuple(145, 90, 130, 72);
        form = showKnown(sleepWake(), "RV5730  30");
        QVERIFY(form);
        out += "### RV5730, thresholds 145/90 and 130/72\n" + pagesOf(*form);
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
        // Day and night show only with sleep times and valid readings in both.
        for (const auto& [sleep, wake] : QList<std::pair<const char*, const char*>>{{"", ""}, {"07:00", "08:30"}, {"12:30", "12:31"}}) {
            form = showKnown(sleepWake(sleep, wake));
            QVERIFY(form);
            out += QStringLiteral("### sleep '%1' to '%2': ").arg(sleep, wake).toUtf8();
            for (int i = 0; i < form->SummaryPageControl->count(); ++i)
                if (form->SummaryPageControl->isTabVisible(i))
                    out += form->SummaryPageControl->tabText(i).toUtf8() + ' ';
            out += "open on " + QByteArray::number(form->SummaryPageControl->currentIndex()) + '\n';
        }
        for (const Current& c : {window1(23, 30, 1), window1(0, 0, 23), window1(7, 15, 168)}) {
            form = showKnown(c);
            QVERIFY(form);
            out += "### window of " + text(*form, "TimeInterval0").toUtf8() + " h: " + text(*form, "StartTimeDate0").toUtf8()
                   + " to " + text(*form, "EndTimeDate0").toUtf8() + '\n';
        }
        KS318_COMPARE_GOLDEN(out, "summary-window.txt");
    }

    void opensOnFullOnlyTheFirstTime()
    {
        auto form = showKnown();
        QVERIFY(form);
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
        QVERIFY(form);
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
        const QString bytes = QString::fromLatin1(test::readFile(pdf));
        QVERIFY(bytes.contains("/Image"));
        QCOMPARE(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
    }
};

QTEST_MAIN(TestSummary)
#include "tst_gui_summary.moc"
