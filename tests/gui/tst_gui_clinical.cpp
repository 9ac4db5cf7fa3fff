// The summary window's clinical measures page: the texts a user reads on it
// for a recording worked out by hand (the dipper of tst_clinical), and the
// page at window sizes from 600x400 to 1920x1080 with every text inside the
// page, whole and apart from the others.
#include "viewsupport.h"

#include "analysis/clinicalmeasures.h"
#include "views/clinicalpage.h"
#include "views/summarydataform.h"

#include <QLabel>
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

} // namespace

class TestClinicalPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsOfTheWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("REC.DAT"));
        Session session;
        bool shown = false;
        QVERIFY(writeRecording(path, kDipper) && makeCurrent(session, path, sleepWake()));
        TSummaryDataForm form(session, shown);
        form.show();
        QCOMPARE(form.SummaryPageControl->tabText(4), QStringLiteral("臨床指標"));
        QVERIFY(form.SummaryPageControl->isTabVisible(4));
        form.SummaryPageControl->setCurrentIndex(4);
        const QStringList texts = form.ClinicalTabSheet->texts();
        // Values as worked out in tst_clinical: day 700/5, 436/5, 355/5,
        // PP 52.8; dip 12.857 and 15.138; morning 147/90 of 2; ARV
        // 10020/900 and 6.4; AASI 1 - 705.5/1087.5; CV 9.354.
        for (const char* want : {"臨床指標", "SYS | DIA | 脈拍 | 脈圧", "昼間平均 (mmHg, BPM) | 140.0 | 87.2 | 71.0 | 52.8",
                                 "夜間平均 (mmHg, BPM) | 122.0 | 74.0 | 60.0 | 48.0", "夜間降圧率 (%) | 12.9 | 15.1",
                                 "早朝平均 (mmHg) | 147.0 | 90.0 | n=2", "就寝前平均 (mmHg) | 130.0 | 80.0 | n=1",
                                 "朝夕平均 ME (mmHg) | 138.5", "朝夕差 ME (mmHg) | 17.0", "起床前サージ (mmHg) | 13.0",
                                 "夜間最低値サージ (mmHg) | 25.0", "ARV (mmHg) | 11.13 | 6.40", "CV (%) | 9.35",
                                 "AASI | 0.35", "夜間降圧パターン: dipper", "全体平均 130/80 mmHg以上: 該当",
                                 "夜間単独高血圧: 非該当",
                                 "有効データ率: 80.0%  昼間: 5件  夜間: 3件  日数: 2日",
                                 "測定数が少なく、各指標は参考値です"})
            QVERIFY2(texts.contains(QString::fromUtf8(want)), want);
        QVERIFY(texts.at(1).startsWith(QStringLiteral("REC:")));
    }

    void fitsTheWindow_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("600x400") << QSize(600, 400);
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }

    // The page as a tab of a window of that size: no text leaves the page,
    // is cut, or lies on another; the page scrolls only downwards.
    void fitsTheWindow()
    {
        QFETCH(QSize, window);
        const auto block = blockOf(kDipper);
        for (std::size_t i = 0; i < std::size_t(kDipper.size()); ++i) {
            BpReading& r = block->readings[i];
            r.sys = std::uint32_t(r.oscDia + r.oscPulsePressure);
            r.dia = r.oscDia;
            r.pulse = r.oscPulse;
            r.errorCode = r.oscError;
            r.windowMembership = InWindows1And2;
            r.periodClass = (r.hour >= 23 || r.hour < 6) ? PeriodAsleep : PeriodAwake;
        }
        block->counters.inWindow1 = std::uint32_t(kDipper.size());
        block->counters.validInWindow1 = 8;
        const ClinicalMeasures m = computeClinicalMeasures(block.get(), 23, 0, 6, 0);

        QTabWidget tabs;
        auto* page = new ClinicalPage;
        tabs.addTab(page, QStringLiteral("臨床指標"));
        page->showMeasures(m, QStringLiteral("REC:山田 花子"), QStringLiteral(" (Oscillometric only)"));
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

QTEST_MAIN(TestClinicalPage)
#include "tst_gui_clinical.moc"
