// The summary data window: which pages show, the interval lines, counts,
// thresholds and percentages as formatted, the zero-filled page of a file
// without valid readings, the page it opens on, and printing to a file.
#include "analysis/periodstatistics.h"
#include "records/shortdate.h"
#include "views/summarydataform.h"
#include "viewsupport.h"
#include "session/session.h"

#include <QFile>
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

// Night readings are those between 23:00 and 06:00.
enum class Night { Valid, ErrorOnly, None };

QList<Reading> dayAndNight(Night night)
{
    QList<Reading> r{{0, 8, 0, 128, 82}, {0, 12, 0, 136, 88}, {0, 18, 0, 131, 84}};
    if (night == Night::Valid)
        r << Reading{0, 23, 30, 118, 72} << Reading{1, 2, 0, 112, 68};
    else if (night == Night::ErrorOnly)
        r << Reading{0, 23, 30, 0, 0, 0, 5};
    r << Reading{1, 7, 0, 142, 91};
    return r;
}

QString clockAndDate(int hour, int minute, const QDate& date)
{
    return QString::asprintf("%02d:%02d ", hour, minute) + formatShortDate(date);
}

} // namespace

class TestSummary : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Session> session_;
    bool shown_ = false;

    QString path() const { return dir_->filePath(QStringLiteral("REC.DAT")); }

    QString text(const TSummaryDataForm& form, const char* name) const
    {
        const QLabel* l = form.label(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
    }

    // Writes `readings`, makes them current and shows a new window on them.
    std::unique_ptr<TSummaryDataForm> show(const QList<Reading>& readings, const Current& current = Current(),
                                           RecorderType type = RecorderType::Ks318)
    {
        if (!writeRecording(path(), readings, kFirstDate, type) || !makeCurrent(*session_, path(), current))
            return nullptr;
        auto form = std::make_unique<TSummaryDataForm>(*session_, shown_);
        form->show();
        return form;
    }

    static QStringList visibleTabs(const TSummaryDataForm& form)
    {
        QStringList tabs;
        for (int i = 0; i < form.SummaryPageControl->count(); ++i) {
            if (form.SummaryPageControl->isTabVisible(i))
                tabs << form.SummaryPageControl->tabText(i);
        }
        return tabs;
    }

private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        session_ = std::make_unique<Session>();
        shown_ = false;
    }

    void pages_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("sleepTimes");
        QTest::addColumn<int>("night");
        QTest::addColumn<QStringList>("tabs");
        const int home = code(RecorderType::Ks318);
        const QStringList all{"Full", "Day", "Night"};
        const QStringList full{"Full"};
        QTest::newRow("sleep times, readings day and night") << home << true << int(Night::Valid) << all;
        QTest::newRow("no sleep times") << home << false << int(Night::Valid) << full;
        QTest::newRow("only an error reading at night") << home << true << int(Night::ErrorOnly) << full;
        QTest::newRow("no reading at night") << home << true << int(Night::None) << full;
        QTest::newRow("ambulatory recorder") << code(RecorderType::Rv5730) << true << int(Night::Valid)
                                             << QStringList{"Full", "Awake", "Sleep"};
    }

    void pages()
    {
        QFETCH(int, type);
        QFETCH(bool, sleepTimes);
        QFETCH(int, night);
        QFETCH(QStringList, tabs);
        auto form = show(dayAndNight(Night(night)), sleepTimes ? sleepWake() : Current(), RecorderType(type));
        QVERIFY(form);
        QCOMPARE(visibleTabs(*form), tabs);
        QCOMPARE(form->SummaryPageControl->currentIndex(), 0);
        QVERIFY(!form->SummaryPageControl->isTabVisible(1));
        QCOMPARE(text(*form, "FileName0"), QStringLiteral("REC:TEST"));
        QCOMPARE(text(*form, "BpMethod0"), QStringLiteral(" (Oscillometric only)"));
        const bool home = type == code(RecorderType::Ks318);
        QCOMPARE(text(*form, "AwakeLabel0"), home ? QStringLiteral("昼間:") : QStringLiteral("起床時:"));
        QCOMPARE(text(*form, "SleepLabel0"), home ? QStringLiteral("夜間:") : QStringLiteral("睡眠時:"));
        if (tabs.size() == 3) {
            QCOMPARE(text(*form, "SummaryType2"), home ? QStringLiteral("昼間サマリー") : QStringLiteral("起床時サマリー"));
            QCOMPARE(text(*form, "SummaryType3"), home ? QStringLiteral("夜間サマリー") : QStringLiteral("睡眠時サマリー"));
            // The day page names the sleep period as excluded, the night page as analysed.
            QCOMPARE(text(*form, "TimeintervalLabel2a"), QStringLiteral("削除区間:"));
            QCOMPARE(text(*form, "TimeintervalLabel3a"), QStringLiteral("解析区間:"));
            for (const char* name : {"StartTimeDate2a", "StartTimeDate3a"})
                QCOMPARE(text(*form, name), QStringLiteral("23:00"));
            for (const char* name : {"EndTimeDate2a", "EndTimeDate3a"})
                QCOMPARE(text(*form, name), QStringLiteral("06:00"));
            QVERIFY(form->label(QStringLiteral("EndTimeDate2b"))->isHidden());
            QVERIFY(form->label(QStringLiteral("TimeintervalLabel3b"))->isHidden());
            QCOMPARE(text(*form, "ValidReadings2"), QStringLiteral("4"));
            QCOMPARE(text(*form, "ValidReadings3"), QStringLiteral("2"));
            QCOMPARE(text(*form, "SysMax3"), QStringLiteral("118"));
        }
    }

    void intervalLine_data()
    {
        QTest::addColumn<int>("startHour");
        QTest::addColumn<int>("startMinute");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("end");
        const QDate d0 = kFirstDate;
        QTest::newRow("26 hours from 22:00 cross two midnights") << 22 << 0 << 26 << clockAndDate(0, 0, d0.addDays(2));
        QTest::newRow("a day from 08:00") << 8 << 0 << 24 << clockAndDate(8, 0, d0.addDays(1));
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
        auto form = show({{0, 23, 45, 130, 80}, {1, 0, 30, 125, 78}}, window1(startHour, startMinute, hours));
        QVERIFY(form);
        QCOMPARE(text(*form, "TimeInterval0"), QString::number(hours));
        QCOMPARE(text(*form, "StartTimeDate0"), clockAndDate(startHour, startMinute, kFirstDate));
        QCOMPARE(text(*form, "EndTimeDate0"), end);
    }

    void counts_data()
    {
        QTest::addColumn<int>("readings");
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("excluded");
        QTest::addColumn<QString>("valid");
        QTest::addColumn<QString>("deleted");
        QTest::newRow("3 errors and 2 exclusions of 48") << 48 << 3 << 2 << "43" << "5 (10.4%)";
        QTest::newRow("5 of 50") << 50 << 0 << 5 << "45" << "5 (10.0%)";
        QTest::newRow("none left out") << 12 << 0 << 0 << "12" << "0 (0.0%)";
        QTest::newRow("one error of 3") << 3 << 1 << 0 << "2" << "1 (33.3%)";
    }

    void counts()
    {
        QFETCH(int, readings);
        QFETCH(int, errors);
        QFETCH(int, excluded);
        QFETCH(QString, valid);
        QFETCH(QString, deleted);
        QList<Reading> list;
        for (int i = 0; i < readings; ++i) {
            Reading r{i / 12, 8 + i % 12, 0, 120 + i % 30, 75 + i % 10, 70};
            if (i < errors)
                r.error = 5;
            else if (i < errors + excluded)
                r.excluded = true;
            list << r;
        }
        auto form = show(list);
        QVERIFY(form);
        QCOMPARE(text(*form, "ValidReadings0"), valid);
        QCOMPARE(text(*form, "ExcludedReadings0"), deleted);
    }

    void thresholds()
    {
        QList<Reading> list;
        for (int i = 0; i < 30; ++i) {
            // Day readings; six above 140 systolic, three above 90 diastolic.
            list << Reading{i / 10, 8 + i % 10, 0, i < 6 ? 150 : 130, i < 3 ? 95 : 85, 70};
        }
        list << Reading{3, 23, 30, 125, 72} << Reading{4, 1, 0, 110, 65};
        auto form = show(list, sleepWake());
        QVERIFY(form);
        QCOMPARE(text(*form, "AwakeBpLimit0"), QStringLiteral("140/ 90"));
        QCOMPARE(text(*form, "SleepBpLimit0"), QStringLiteral("120/ 70"));
        QCOMPARE(text(*form, "SysLimit2"), QStringLiteral("140"));
        QCOMPARE(text(*form, "DiaLimit2"), QStringLiteral(" 90"));
        QCOMPARE(text(*form, "SysLimit3"), QStringLiteral("120"));
        QCOMPARE(text(*form, "DiaLimit3"), QStringLiteral(" 70"));
        QCOMPARE(text(*form, "ReadingsGTSysLimit2"), QStringLiteral(" 20.0%"));
        QCOMPARE(text(*form, "ReadingsGTDiaLimit2"), QStringLiteral(" 10.0%"));
        // The night reading of 125/72 is above the asleep pair in both.
        QCOMPARE(text(*form, "ReadingsGTSysLimit3"), QStringLiteral(" 50.0%"));
        QCOMPARE(text(*form, "ReadingsGTDiaLimit3"), QStringLiteral(" 50.0%"));
        // 7 of 32 on the whole page: six by day, one at night.
        QCOMPARE(text(*form, "ReadingsGTSysLimit0"), QStringLiteral(" 21.9%"));
    }

    void thresholdsFollowTheSettings()
    {
        session_->settings.analysis.sysThreshold1 = 135;
        session_->settings.analysis.diaThreshold1 = 85;
        session_->settings.analysis.sysThreshold2 = 99;
        session_->settings.analysis.diaThreshold2 = 60;
        auto form = show(dayAndNight(Night::None));
        QVERIFY(form);
        QCOMPARE(text(*form, "AwakeBpLimit0"), QStringLiteral("135/ 85"));
        QCOMPARE(text(*form, "SleepBpLimit0"), QStringLiteral(" 99/ 60"));
        // 136/88 and 142/91 of four day readings.
        QCOMPARE(text(*form, "ReadingsGTSysLimit0"), QStringLiteral(" 50.0%"));
    }

    void statistics()
    {
        auto form = show({{0, 8, 0, 140, 90, 72}, {0, 12, 5, 120, 80, 66}, {0, 20, 0, 140, 85, 70}});
        QVERIFY(form);
        QCOMPARE(text(*form, "SysMin0"), QStringLiteral("120"));
        QCOMPARE(text(*form, "SysMean0"), QStringLiteral("133"));
        QCOMPARE(text(*form, "SysMax0"), QStringLiteral("140"));
        QCOMPARE(text(*form, "SysSd0"), QStringLiteral("11.55"));
        QCOMPARE(text(*form, "SysSe0"), QStringLiteral(" 6.67"));
        QCOMPARE(text(*form, "SysCv0"), QStringLiteral(" 8.66"));
        QCOMPARE(text(*form, "PulseMin0"), QStringLiteral(" 66"));
        QCOMPARE(text(*form, "HighestSysValue0"), QStringLiteral("140"));
        // Of two equal highest values the earlier one is named.
        QCOMPARE(text(*form, "HighestSysTimeDate0"), QStringLiteral("08:00  ") + formatShortDate(kFirstDate));
        QCOMPARE(text(*form, "LowestSysValue0"), QStringLiteral("120"));
        QCOMPARE(text(*form, "LowestSysTimeDate0"), QStringLiteral("12:05  ") + formatShortDate(kFirstDate));
        QCOMPARE(text(*form, "HighestDiaValue0"), QStringLiteral(" 90"));
        QCOMPARE(text(*form, "LowestDiaTimeDate0"), QStringLiteral("12:05  ") + formatShortDate(kFirstDate));
    }

    void withoutValidReadings_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("deleted");
        QTest::newRow("missing data file") << 0 << "0 (0.0%)";
        QTest::newRow("only error readings") << 1 << "2 (100.0%)";
        QTest::newRow("no file open") << 2 << "0 (0.0%)";
    }

    void withoutValidReadings()
    {
        QFETCH(int, kind);
        QFETCH(QString, deleted);
        // A first showing of a good recording leaves numbers the zero fill must replace.
        auto form = show(dayAndNight(Night::Valid), sleepWake());
        QVERIFY(form);
        QCOMPARE(text(*form, "HighestSysValue0"), QStringLiteral("142"));
        if (kind == 0)
            QVERIFY(QFile::remove(path()));
        else if (kind == 1)
            QVERIFY(writeRecording(path(), {{0, 8, 0, 0, 0, 0, 5}, {0, 23, 30, 0, 0, 0, 6}}));
        else
            session_->state.currentFilePath.clear();
        form->FormPaint();
        QCOMPARE(visibleTabs(*form), QStringList{"Full"});
        QCOMPARE(text(*form, "ValidReadings0"), QStringLiteral("0"));
        QCOMPARE(text(*form, "ExcludedReadings0"), deleted);
        for (const char* name : {"SysMin0", "DiaMean0", "MapMax0", "PulseMin0"})
            QCOMPARE(text(*form, name), QStringLiteral("  0"));
        for (const char* name : {"SysSd0", "DiaSe0", "PulseCv0", "ReadingsGTSysLimit0", "ReadingsGTDiaLimit0"})
            QCOMPARE(text(*form, name), QStringLiteral(" 0.00"));
        for (const char* name : {"HighestSysValue0", "LowestDiaValue0"})
            QCOMPARE(text(*form, name), QStringLiteral("0"));
        for (const char* name : {"HighestSysTimeDate0", "LowestSysTimeDate0", "HighestDiaTimeDate0",
                                 "LowestDiaTimeDate0"})
            QCOMPARE(text(*form, name), QStringLiteral("00:00  0000/00/00"));
    }

    void opensOnFullOnlyTheFirstTime()
    {
        auto form = show(dayAndNight(Night::Valid), sleepWake());
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
        auto form = show(dayAndNight(Night::None));
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
            QFile f(pdf);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QVERIFY(bytes.startsWith("%PDF"));
            // One page object besides the page tree.
            const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
            QCOMPARE(QString::fromLatin1(bytes).count(page), 1);
            QVERIFY(bytes.contains("/Image"));
        }
    }
};

QTEST_MAIN(TestSummary)
#include "tst_gui_summary.moc"
