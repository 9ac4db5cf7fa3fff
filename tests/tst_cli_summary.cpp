// ks318-cli summary: the summary page's lines on a small known recording,
// the companion file and data.d as sources (read, never written), the flags
// that override them, and the JSON table against the engine.
#include "analysis/periodstatistics.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/filenames.h"
#include "records/settings.h"
#include "support/synthetic.h"
#include "support/testfiles.h"
#include "session/session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

namespace {

test::CliRun cli(const QStringList& args, const QString& workingDirectory)
{
    return test::runCli(QStringList{QStringLiteral("summary")} + args, workingDirectory);
}

QByteArray recordLine(int day, int hour, int minute, int sys, int dia, int pulse, int error = 0)
{
    return test::recordLine(2026, 11, day, hour, minute, sys, dia, pulse, error);
}

// The value at a path such as "periods/0/stats/SYS/min".
QJsonValue at(QJsonValue v, const QString& path)
{
    for (const QString& key : path.split(QLatin1Char('/')))
        v = v.isArray() ? v.toArray().at(key.toInt()) : v.toObject().value(key);
    return v;
}

// Every line of `lines` is a whole line of `out`.
bool hasLines(const QString& out, const QStringList& lines)
{
    const QStringList all = out.split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (!all.contains(line))
            return false;
    return true;
}

// Six readings from 22:10 on 2 November to 23:50 on 3 November; the 08:00
// reading failed. Window 1 of the first opening: 22:00 for 26 hours.
QByteArray knownRecording()
{
    return recordLine(2, 22, 10, 150, 95, 80) + recordLine(2, 23, 30, 125, 75, 60) + recordLine(3, 3, 0, 118, 70, 58)
           + recordLine(3, 8, 0, 0, 0, 0, 2) + recordLine(3, 12, 0, 141, 91, 72) + recordLine(3, 23, 50, 140, 90, 70)
           + "#PATIENT\n#END\n#COMMENTS\n#END\n";
}

} // namespace

class TstCliSummary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(QFile::exists(qEnvironmentVariable("KS318_CLI"))); }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        const QString demo = qEnvironmentVariable("KS318_SAMPLES") + QStringLiteral("/DEMO.DAT");
        QTest::newRow("demo") << QStringList{demo} << 0;
        QTest::newRow("demo, json, day and night") << QStringList{demo, "--json", "--sleep", "22:00", "--wake", "6:00"}
                                                   << 0;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("missing file") << QStringList{"/nonexistent/X.DAT"} << 1;
        QTest::newRow("no file") << QStringList{} << 2;
        QTest::newRow("sleep without wake") << QStringList{demo, "--sleep", "22:00"} << 2;
        QTest::newRow("hour 24") << QStringList{demo, "--sleep", "24:00", "--wake", "06:00"} << 2;
        QTest::newRow("minute 60") << QStringList{demo, "--sleep", "23:60", "--wake", "06:00"} << 2;
        QTest::newRow("SYS not above DIA") << QStringList{demo, "--thresholds", "80/90,120/70"} << 2;
        QTest::newRow("threshold above 300") << QStringList{demo, "--thresholds", "301/90,120/70"} << 2;
        QTest::newRow("threshold below 10") << QStringList{demo, "--thresholds", "140/9,120/70"} << 2;
        QTest::newRow("one pair only") << QStringList{demo, "--thresholds", "140/90"} << 2;
        QTest::newRow("bad mode") << QStringList{demo, "--mode", "4"} << 2;
        QTest::newRow("two files") << QStringList{demo, demo} << 2;
    }

    void exitStatuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QTemporaryDir cwd;
        const test::CliRun r = cli(args, cwd.path());
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode == 1)
            QCOMPARE(r.err.count('\n'), 1);
        if (exitCode == 0 && !args.contains(QStringLiteral("--help")))
            QVERIFY(r.text().contains(QStringLiteral("全区間サマリー")) || r.text().startsWith(QLatin1Char('{')));
    }

    void summaryLines_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QStringList>("present");  // whole lines
        QTest::addColumn<QStringList>("absent");   // substrings

        const QString sysRow = QStringLiteral("収縮期血圧(mmHg)  118   135  150  12.99   5.81   9.64");
        QTest::newRow("whole interval only")
            << QStringList{}
            << QStringList{"血圧測定法:Oscillometric only", "全区間サマリー-------------------------",
                           "解析区間:26 時間, 22:00 2026/11/02 --> 00:00 2026/11/04", "有効データ数 = 5",
                           "削除データ数 = 1 (16.7%)", "                  MIN  MEAN  MAX    SD     SE   CV(%)", sysRow,
                           "SYS/DIA 閾値:", " 昼間: 140/ 90 mmHg", " 夜間: 120/ 70 mmHg", "収縮期血圧 > 閾値:   40.0%",
                           "拡張期血圧 > 閾値:   40.0%", "収縮期血圧最大値: 150 mmHg  22:10  2026/11/02",
                           "拡張期血圧最大値:  95 mmHg  22:10  2026/11/02", "収縮期血圧最小値: 118 mmHg   3:00  2026/11/03",
                           "拡張期血圧最小値:  70 mmHg   3:00  2026/11/03", QString(68, QLatin1Char('-'))}
            << QStringList{"昼間サマリー", "夜間サマリー", "区間解析サマリー"};
        QTest::newRow("day and night")
            << QStringList{"--sleep", "23:00", "--wake", "06:00"}
            << QStringList{sysRow, "収縮期血圧 > 閾値:   80.0%", "拡張期血圧 > 閾値:   80.0%",
                           "昼間サマリー-------------------------", "除外区間:23:00 --> 06:00", "有効データ数 = 2",
                           "削除データ数 = 1 (33.3%)", "収縮期血圧 > 140 mmHg:  100.0%", "拡張期血圧 >  90 mmHg:  100.0%",
                           "夜間サマリー-------------------------", "解析区間:23:00 --> 06:00", "有効データ数 = 3",
                           "削除データ数 = 0 (0.0%)", "収縮期血圧 > 120 mmHg:   66.7%", "拡張期血圧 >  70 mmHg:   66.7%",
                           "収縮期血圧最大値: 140 mmHg  23:50  2026/11/03"}
            << QStringList{"区間解析サマリー"};
        QTest::newRow("night without readings: counts only")
            << QStringList{"--sleep", "12:30", "--wake", "12:31"}
            << QStringList{"夜間サマリー-------------------------", "解析区間:12:30 --> 12:31", "有効データ数 = 0"}
            << QStringList{"削除データ数 = 0", "収縮期血圧 > 120 mmHg"};
        QTest::newRow("thresholds for this run")
            << QStringList{"--thresholds", "150/95,130/80"}
            << QStringList{" 昼間: 150/ 95 mmHg", " 夜間: 130/ 80 mmHg", "収縮期血圧 > 閾値:    0.0%",
                           "拡張期血圧 > 閾値:    0.0%"}
            << QStringList{" 昼間: 140/ 90 mmHg"};
    }

    void summaryLines()
    {
        QFETCH(QStringList, flags);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KNOWN.DAT"));
        QVERIFY(writeFileAtomically(path, knownRecording()));
        const test::CliRun r = cli(QStringList{path} + flags, dir.path());
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.text().split(QLatin1Char('\n'));
        for (const QString& line : present)
            QVERIFY2(lines.contains(line), qPrintable(QStringLiteral("missing line \"%1\" in\n%2").arg(line, r.text())));
        for (const QString& text : absent)
            QVERIFY2(!r.text().contains(text), qPrintable(QStringLiteral("unexpected \"%1\" in\n%2").arg(text, r.text())));
        // A summary reads; it leaves neither a companion file nor settings behind.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("KNOWN.p30"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("data.d"))));
    }

    void companionFileAndSettingsAreRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KNOWN.DAT"));
        QVERIFY(writeFileAtomically(path, knownRecording()));

        // A companion file with sleep times and a 12-hour window, and a data.d
        // whose awake pair is out of order (loads as 140/90).
        PatientRecord patient;
        AnalysisIntervals intervals;
        RecordingSpan span;
        QVERIFY(companionRecordsFromDataFile(path, QString(), patient, intervals, span));
        patient.day1SleepTime = "23:00";
        patient.day1WakeTime = "06:00";
        intervals.interval1Hours = 12;
        const QByteArray companion = formatCompanionFile(patient, intervals, span);
        QVERIFY(writeFileAtomically(companionFilePath(path), companion));
        AnalysisSettings settings;
        settings.sysThreshold1 = 90;
        settings.diaThreshold1 = 95;
        settings.sysThreshold2 = 125;
        settings.diaThreshold2 = 72;
        const QByteArray dataD = formatDataD(settings);
        QVERIFY(writeFileAtomically(dir.filePath(QStringLiteral("data.d")), dataD));

        test::CliRun r = cli({path}, dir.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(hasLines(r.text(), {"解析区間:12 時間, 22:00 2026/11/02 --> 10:00 2026/11/03", "削除データ数 = 1 (25.0%)",
                                     " 昼間: 140/ 90 mmHg", " 夜間: 125/ 72 mmHg", "除外区間:23:00 --> 06:00"}),
                 qPrintable(r.text()));

        // The flags win for this run; the files stay as they were.
        r = cli({path, "--sleep", "22:00", "--wake", "05:00", "--thresholds", "135/85,115/65"}, dir.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(hasLines(r.text(), {"除外区間:22:00 --> 05:00", " 夜間: 115/ 65 mmHg"}), qPrintable(r.text()));
        QCOMPARE(test::readFile(companionFilePath(path)), companion);
        QCOMPARE(test::readFile(dir.filePath(QStringLiteral("data.d"))), dataD);
    }

    void jsonMatchesTheEngine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GEN.DAT"));
        synth::Options o;
        o.count = 700;
        o.seed = 41;
        o.errorEvery = 9;
        o.excludedEvery = 13;
        QVERIFY(writeFileAtomically(path, synth::makeFile(o)));

        const test::CliRun r = cli({path, "--json", "--sleep", "22:30", "--wake", "06:45", "--mode", "1"}, dir.path());
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonValue json = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(at(json, "bpMode").toInt(), 1);
        QCOMPARE((QStringList{at(json, "sleep").toString(), at(json, "wake").toString()}), (QStringList{"22:30", "06:45"}));
        QCOMPARE(at(json, "thresholds/asleep").toArray(), QJsonArray({120, 70}));

        // The same computation in this process, as the open sequence sets it up.
        Session session;
        PatientRecord patient;
        RecordingSpan span;
        QVERIFY(companionRecordsFromDataFile(path, QString(), patient, session.intervals, span));
        session.intervals.valid = 1;
        session.state.sleepHour = 22;
        session.state.sleepMinute = 30;
        session.state.wakeHour = 6;
        session.state.wakeMinute = 45;
        QVERIFY(session.allocateData());
        QVERIFY(readBpDataFile(session, path, BpMode::OscillometricThenKorotkoff));
        computePeriodStatistics(session, BpThresholds());
        const PeriodCounters& c = session.data()->counters;
        const PeriodStatistics& st = session.stats;
        QCOMPARE(at(json, "counters/validAsleep").toInt(), int(c.validAsleep));

        QCOMPARE(at(json, "periods").toArray().size(), 3);
        static const char* const kParams[] = {"SYS", "DIA", "MAP", "PULSE", "DP"};
        static const char* const kStats[] = {"min", "mean", "max", "sd", "se", "cv"};
        const int expectedPeriods[] = {1, 3, 4};
        for (int i = 0; i < 3; ++i) {
            const QJsonValue period = at(json, QStringLiteral("periods/%1").arg(i));
            const int p = expectedPeriods[i];
            QCOMPARE((QList<int>{at(period, "period").toInt(), at(period, "n").toInt(), at(period, "total").toInt(),
                                 at(period, "sysAbove").toInt(), at(period, "notCounted").toInt()}),
                     (QList<int>{p, int(periodCount(c, p)), int(periodTotal(c, p)), int(st.sysAboveCount[p]),
                                 int(periodTotal(c, p) - periodCount(c, p))}));
            for (int k = 0; k < kParameterCount; ++k)
                for (int s = 0; s < kStatCount; ++s)
                    QCOMPARE(at(period, QStringLiteral("stats/%1/%2").arg(kParams[k], kStats[s])).toDouble(),
                             st.stat[p][k][s]);
            QCOMPARE(at(period, "diaAbovePct").toDouble(), aboveThresholdPercent(st.diaAboveCount[p], periodCount(c, p)));
            const ExtremeTime& t = st.extremes[p][HighestSys];
            QCOMPARE(at(period, "extremes/highestSys").toString(),
                     QString::asprintf("%04d-%02d-%02dT%02d:%02d", t.year, t.month, t.day, t.hour, t.minute));
            QCOMPARE(period.toObject().contains(QStringLiteral("regression")), p == 1);
        }
        QCOMPARE(at(json, "periods/0/regression/sysOnPulse/slope").toDouble(), st.regression[1][SysOnPulse].slope);
        QCOMPARE(at(json, "periods/0/regression/sysOnDia/r").toDouble(), st.regression[1][SysOnDia].r);
    }

    void jsonOfAnEmptyPeriod()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KNOWN.DAT"));
        QVERIFY(writeFileAtomically(path, knownRecording()));
        test::CliRun r = cli({path, "--json", "--sleep", "12:30", "--wake", "12:31"}, dir.path());
        QCOMPARE(r.exitCode, 0);
        const QJsonValue night = at(QJsonDocument::fromJson(r.out).object(), "periods/2");
        QCOMPARE((QList<double>{at(night, "n").toDouble(), at(night, "total").toDouble(),
                                at(night, "notCountedPct").toDouble(), at(night, "sysAbovePct").toDouble(),
                                at(night, "stats/SYS/min").toDouble()}),
                 (QList<double>{0, 0, 0, 0, 300}));
        QVERIFY(at(night, "extremes/lowestDia").isNull());

        r = cli({path, "--json"}, dir.path());
        const QJsonObject whole = QJsonDocument::fromJson(r.out).object();
        QVERIFY(whole.value(QStringLiteral("sleep")).isNull());
        QCOMPARE(at(whole, "periods").toArray().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstCliSummary)
#include "tst_cli_summary.moc"
