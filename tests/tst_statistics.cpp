// The statistics engine: the documented edge cases (golden
// statistics-edges.txt, readings written as short texts, and the derived
// percentages), the keeping of extreme times, and the whole table of a full
// generated recording (golden statistics.txt).
#include "analysis/periodstatistics.h"
#include "records/bpdatafile.h"
#include "records/filenames.h"
#include "support/readingtext.h"
#include "support/testfiles.h"
#include "synthetic.h"
#include "session/session.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

namespace {

// "S1/D1,S2/D2"; "-" for 140/90 awake and 120/70 asleep.
BpThresholds parseThresholds(const QString& text)
{
    BpThresholds t;
    const QStringList v = text.split(QRegularExpression(QStringLiteral("[/,]")));
    if (v.size() == 4)
        std::tie(t.awakeSys, t.awakeDia, t.asleepSys, t.asleepDia) =
            std::tuple(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt());
    return t;
}

QString hhmm(const ExtremeTime& t) { return QString::asprintf("%02d:%02d", t.hour, t.minute); }

// The table of `periods` as text: the counts, the six
// statistics of each parameter, the times of the four extremes (lowest and
// highest SYS, lowest and highest DIA) and, in periods 1 and 2, the two
// regressions (SYS on DIA, SYS on pulse).
QByteArray table(const PeriodStatistics& st, const PeriodCounters& c, const QList<int>& periods)
{
    static const char* const kNames[] = {"SYS", "DIA", "MAP", "PULSE", "DP"};
    QString out;
    for (int p : periods) {
        const std::uint32_t n = periodCount(c, p);
        const std::uint32_t total = periodTotal(c, p);
        out += QString::asprintf("period %d: n %u of %u, %d not counted, above %d/%d\n", p, n, total,
                                 notCountedCount(total, n), st.sysAboveCount[p], st.diaAboveCount[p]);
        for (int k = 0; k < kParameterCount; ++k) {
            out += QString::asprintf("  %-5s", kNames[k]);
            for (int s = 0; s < kStatCount; ++s)
                out += QString::asprintf(" %.8g", st.stat[p][k][s]);
            out += '\n';
        }
        out += QStringLiteral("  extremes");
        for (const ExtremeTime& t : st.extremes[p])
            out += QString::asprintf(" %04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
        out += '\n';
        for (int g = 0; p <= PartialPeriod && g < kRegressionPairCount; ++g) {
            const Regression& r = st.regression[p][g];
            out += QString::asprintf("  regression %d: r %.8g slope %.8g intercept %.8g\n", g, r.r, r.slope,
                                     r.intercept);
        }
    }
    return out.toUtf8();
}

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each "READINGS | PERIODS | THRESHOLDS" line of statistics-edges.txt
    // computed anew; the file holds the table expected below it.
    void edgeCases()
    {
        KS318_COMPARE_GOLDEN_TABLE("statistics-edges.txt", [](const QByteArray& line) {
            if (line.startsWith("percent")) {   // "percent ABOVE N TOTAL": the derived texts
                const QList<QByteArray> v = line.split(' ');
                const auto n = std::uint32_t(v[2].toUInt()), total = std::uint32_t(v[3].toUInt());
                return QString::asprintf("%5.1f%% above, %d (%3.1f%%) not counted", aboveThresholdPercent(v[1].toInt(), n),
                                         notCountedCount(total, n), notCountedPercent(total, n))
                    .toUtf8();
            }
            const QStringList f = QString::fromUtf8(line).split(QLatin1Char('|'));
            const auto block = test::makeBlock(f.value(0));
            PeriodStatistics st;
            computePeriodStatistics(st, block.get(), parseThresholds(f.value(2).trimmed()));
            QList<int> periods;
            for (const QString& p : f.value(1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                periods << p.toInt();
            return table(st, block->counters, periods);
        });
    }

    void extremeTimesSurviveAnEmptyPeriod()
    {
        PeriodStatistics st;
        const auto withNight = test::makeBlock(
            QStringLiteral("08:00 130/85/70; 01:10 118/66/58 n; 03:20 126/72/61 n; 20:00 150/95/75"));
        computePeriodStatistics(st, withNight.get(), BpThresholds());
        QCOMPARE(hhmm(st.extremes[AsleepPeriod][LowestSys]), QStringLiteral("01:10"));
        QCOMPARE(hhmm(st.extremes[AsleepPeriod][HighestDia]), QStringLiteral("03:20"));
        QCOMPARE(hhmm(st.extremes[WholePeriod][HighestSys]), QStringLiteral("20:00"));

        // Same day, no night-time reading: period 4 keeps the earlier times while
        // its statistics start over.
        const auto dayOnly = test::makeBlock(QStringLiteral("09:00 128/84/70; 11:00 122/80/70 d+1"));
        computePeriodStatistics(st, dayOnly.get(), BpThresholds());
        QCOMPARE(hhmm(st.extremes[AsleepPeriod][LowestSys]), QStringLiteral("01:10"));
        QCOMPARE(hhmm(st.extremes[AsleepPeriod][HighestDia]), QStringLiteral("03:20"));
        QCOMPARE(st.stat[AsleepPeriod][ParamSys][StatMin], 300.0);
        QCOMPARE(st.stat[AsleepPeriod][ParamSys][StatMax], 0.0);
        QCOMPARE(hhmm(st.extremes[WholePeriod][HighestSys]), QStringLiteral("09:00"));
        QCOMPARE(int(st.extremes[WholePeriod][LowestSys].day), 3);
    }

    void noBlockResetsTheTable()
    {
        PeriodStatistics st;
        const auto block = test::makeBlock(QStringLiteral("08:00 150/95/70; 09:00 160/100/80; 02:00 130/80/60 n"));
        computePeriodStatistics(st, block.get(), BpThresholds());
        QVERIFY(st.sysAboveCount[WholePeriod] > 0);
        QVERIFY(st.regression[WholePeriod][SysOnPulse].slope != 0);

        computePeriodStatistics(st, nullptr, BpThresholds());
        for (int p = kFirstPeriod; p <= kLastPeriod; ++p) {
            QCOMPARE(int(st.sysAboveCount[p]), 0);
            QCOMPARE(int(st.diaAboveCount[p]), 0);
            for (int k = 0; k < kParameterCount; ++k) {
                QCOMPARE(st.stat[p][k][StatMin], 300.0);
                for (int s = StatMean; s < kStatCount; ++s)
                    QCOMPARE(st.stat[p][k][s], 0.0);
            }
        }
        QCOMPARE(st.regression[WholePeriod][SysOnPulse].slope, 0.0);
        QCOMPARE(st.regression[PartialPeriod][SysOnDia].r, 0.0);
        QCOMPARE(hhmm(st.extremes[WholePeriod][HighestSys]), QStringLiteral("09:00"));
    }

    // 1828 generated readings with errors and exclusions, sleep times, other
    // thresholds, and window 1 over the first third of the recording.
    void tableOfAFullRecording()
    {
        synth::Options o;
        o.count = kMaxReadings;
        o.seed = 12799;
        o.errorEvery = 7;
        o.excludedEvery = 5;
        o.minutesApart = 97;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GEN.DAT"));
        QVERIFY(writeFileAtomically(path, synth::makeFile(o)));
        Session session;
        std::tie(session.state.sleepHour, session.state.sleepMinute, session.state.wakeHour, session.state.wakeMinute) =
            std::tuple(22, 30, 6, 15);
        session.intervals = AnalysisIntervals::defaults(o.year, o.month, o.day, 9, kMaxReadings * 97 / 3 / 60);
        session.intervals.valid = 1;
        QVERIFY(session.allocateData());
        QVERIFY(readBpDataFile(session, path, BpMode::OscillometricOnly));
        computePeriodStatistics(session, parseThresholds(QStringLiteral("150/100,130/80")));
        KS318_COMPARE_GOLDEN(table(session.stats, session.data()->counters, {1, 2, 3, 4}), "statistics.txt");
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
