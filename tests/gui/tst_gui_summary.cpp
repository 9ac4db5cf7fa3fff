// The summary data window over the known recording (golden known.DAT) and,
// for its clinical measures page, over the dipper of tst_clinical; the
// default BP settings dialog, where the pages' thresholds are set.
#include "app/defaultbpsettingszireform.h"
#include "app/messageservice.h"
#include "support/testfiles.h"
#include "views/clinicalpage.h"
#include "views/summarydataform.h"
#include "viewsupport.h"
#include "session/session.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::viewtest;

namespace {

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
        if (!test::writeFile(path(), test::golden("known.DAT").replace("KS-318  70", type)))
            return nullptr;
        return show(current);
    }

    std::unique_ptr<TSummaryDataForm> show(const Current& current = sleepWake())
    {
        if (!makeCurrent(*session_, path(), current))
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

    // The BP settings dialog shows the thresholds read; Save stores the four
    // numbers typed unless a systolic threshold is not above its diastolic
    // one (message 197); Cancel stores nothing.
    void bpSettings_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("stored");
        QTest::newRow("awake equal") << QStringList{"120", "120", "120", "70"} << false;
        QTest::newRow("asleep equal") << QStringList{"140", "90", "70", "70"} << false;
        QTest::newRow("asleep out of range is not the dialog's business") << QStringList{"140", "90", "500", "70"}
                                                                          << true;
        QTest::newRow("two digits") << QStringList{"99", "60", "95", "55"} << true;
        QTest::newRow("cancel") << QStringList{"160", "100", "130", "80"} << false;
    }

    void bpSettings()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, stored);
        AnalysisSettings& a = session_->settings.analysis;
        a.valid = 1;
        std::tie(a.sysThreshold1, a.diaThreshold1, a.sysThreshold2, a.diaThreshold2) = std::tuple(135, 85, 115, 65);
        const QStringList before{"135", "85", "115", "65"};
        GuiMessageService messages(true);
        TDefaultBpSettingsZireForm form(*session_, &messages);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QList<QLineEdit*> edits = thresholdEdits(form);
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            shown << edits[i]->text();
            edits[i]->setText(typed[i]);
        }
        QCOMPARE(shown, before);
        const bool cancel = QByteArray(QTest::currentDataTag()) == "cancel";
        (cancel ? form.DefaultBpCancelButton : form.DefaultBpSaveButton)->click();
        const bool refused = !stored && !cancel;
        QCOMPARE(messages.shownIds(), refused ? QList<int>{197} : QList<int>{});
        QCOMPARE(form.isVisible(), refused);
        QCOMPARE(form.result(), int(stored ? QDialog::Accepted : QDialog::Rejected));
        const QList<int> thresholds{a.sysThreshold1, a.diaThreshold1, a.sysThreshold2, a.diaThreshold2};
        QStringList kept;
        for (int value : thresholds)
            kept << QString::number(value);
        QCOMPARE(kept, stored ? typed : before);
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
        QTest::newRow("600x400") << QSize(600, 400);
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }

    // The texts worked out by hand (clinical-window.txt, 19 texts); then the
    // page as a tab of a window of that size: no text leaves the page, is
    // cut, or lies on another; the page scrolls only downwards.
    void clinicalPage()
    {
        QFETCH(QSize, window);
        QVERIFY(writeRecording(path(), kDipper));
        auto form = show();
        QVERIFY(form);
        QCOMPARE(form->SummaryPageControl->tabText(4), QStringLiteral("臨床指標"));
        QVERIFY(form->SummaryPageControl->isTabVisible(4));
        ClinicalPage* page = form->ClinicalTabSheet;
        const QStringList texts = page->texts();
        int wanted = 0;
        for (const QByteArray& want : test::golden("clinical-window.txt").split('\n')) {
            if (want.isEmpty() || want.startsWith('#'))
                continue;
            ++wanted;
            QVERIFY2(texts.contains(QString::fromUtf8(want)), want.constData());
        }
        QCOMPARE(wanted, 19);
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

QTEST_MAIN(TestSummary)
#include "tst_gui_summary.moc"
