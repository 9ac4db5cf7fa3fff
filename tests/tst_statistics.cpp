// The statistics engine: the documented edge cases as one table, the keeping
// of extreme times, and a cross-check of the whole table against a plain
// two-pass computation over generated recordings of many sizes.
#include "analysis/periodstatistics.h"
#include "records/bpdatafile.h"
#include "records/filenames.h"
#include "support/readingtext.h"
#include "support/synthetic.h"
#include "session/session.h"

#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

using namespace ks318;

namespace {

constexpr double kSkip = std::numeric_limits<double>::quiet_NaN();

BpThresholds parseThresholds(const QString& text)
{
    BpThresholds t;
    if (text.isEmpty())
        return t;
    const QStringList v = text.split(QRegularExpression(QStringLiteral("[/,]")));
    t.awakeSys = v[0].toInt();
    t.awakeDia = v[1].toInt();
    t.asleepSys = v[2].toInt();
    t.asleepDia = v[3].toInt();
    return t;
}

bool near(double actual, double expected, double tolerance)
{
    return std::fabs(actual - expected) <= tolerance;
}

QString hhmm(const ExtremeTime& t) { return QString::asprintf("%02d:%02d", t.hour, t.minute); }

// One edge case: the readings, the period and parameter looked at, and what
// is expected there. NaN statistics, an empty regression and an empty time
// are not checked.
struct Edge {
    QString readings;
    int period;
    int parameter;
    QList<double> stats;                            // MIN MEAN MAX SD SE CV
    int sysAbove;
    int diaAbove;
    int notCounted;
    QList<double> sysOnDia;                         // r, slope, intercept
    QString highestSysTime;
    QString thresholds;                             // "S1/D1,S2/D2", empty: 140/90,120/70
};

Edge edge(const QString& readings, int period = WholePeriod, int parameter = ParamSys,
          const QList<double>& stats = QList<double>(6, kSkip), int sysAbove = 0, int diaAbove = 0, int notCounted = 0,
          const QList<double>& sysOnDia = {}, const QString& highestSysTime = {}, const QString& thresholds = {})
{
    return Edge{readings, period, parameter, stats, sysAbove, diaAbove, notCounted, sysOnDia, highestSysTime, thresholds};
}

} // namespace

Q_DECLARE_METATYPE(Edge)

// ---- Cross-check ------------------------------------------------------------

namespace {

struct Reference {
    int n = 0;
    double stat[kParameterCount][kStatCount] = {};
    int sysAbove = 0;
    int diaAbove = 0;
    int extremeIndex[kExtremeCount] = {-1, -1, -1, -1};
    Regression regression[kRegressionPairCount];
};

using Values = std::array<double, kParameterCount>;   // SYS, DIA, MAP, pulse, double product

// Membership written out per period, independently of the engine.
bool inPeriod(const BpReading& r, int p)
{
    if (r.windowMembership == 0 || r.errorCode != 0 || r.excluded != 0)
        return false;
    switch (p) {
    case 1: return true;
    case 2: return r.windowMembership == 2;
    case 3: return r.periodClass == 3;
    default: return r.periodClass == 4;
    }
}

// Least squares of value `y` on value `x`.
Regression fit(const std::vector<Values>& v, int x, int y)
{
    Regression g;
    if (v.empty())
        return g;
    double mx = 0, my = 0, sxx = 0, syy = 0, sxy = 0;
    for (const Values& r : v) {
        mx += r[x];
        my += r[y];
    }
    mx /= double(v.size());
    my /= double(v.size());
    for (const Values& r : v) {
        sxx += (r[x] - mx) * (r[x] - mx);
        syy += (r[y] - my) * (r[y] - my);
        sxy += (r[x] - mx) * (r[y] - my);
    }
    if (sxx * syy > 0)
        g.r = sxy / std::sqrt(sxx * syy);
    if (sxx != 0 && v.size() >= 2) {
        g.slope = sxy / sxx;
        g.intercept = my - g.slope * mx;
    }
    return g;
}

Reference reference(const SessionData& d, int p, const BpThresholds& t)
{
    Reference ref;
    std::vector<Values> v;
    std::vector<int> index;
    for (std::uint32_t i = 0; i < d.readingCount(); ++i) {
        const BpReading& r = d.readings[i];
        if (!inPeriod(r, p))
            continue;
        v.push_back({double(r.sys), double(r.dia), double(r.map), double(r.pulse), double(r.doubleProduct)});
        index.push_back(int(i));
        const bool night = p == 4 || r.periodClass == 4;
        ref.sysAbove += int(r.sys) > (night ? t.asleepSys : t.awakeSys);
        ref.diaAbove += int(r.dia) > (night ? t.asleepDia : t.awakeDia);
    }
    ref.n = int(v.size());
    for (int k = 0; k < kParameterCount; ++k) {
        double* s = ref.stat[k];
        s[StatMin] = 300;
        double sum = 0, squares = 0;
        for (const Values& r : v) {
            s[StatMin] = std::min(s[StatMin], r[k]);
            s[StatMax] = std::max(s[StatMax], r[k]);
            sum += r[k];
        }
        if (ref.n < 2)
            continue;
        s[StatMean] = sum / ref.n;
        for (const Values& r : v)
            squares += (r[k] - s[StatMean]) * (r[k] - s[StatMean]);
        s[StatSd] = std::sqrt(squares / (ref.n - 1));
        s[StatSe] = s[StatSd] / std::sqrt(double(ref.n));
        s[StatCv] = s[StatMean] != 0 ? s[StatSd] / s[StatMean] * 100 : 0;
    }
    // Earliest reading holding each extreme.
    const auto earliest = [&](int k, bool highest) {
        int best = -1;
        for (int i = 0; i < ref.n; ++i)
            if (best < 0 || (highest ? v[i][k] > v[best][k] : v[i][k] < v[best][k]))
                best = i;
        return best < 0 ? -1 : index[std::size_t(best)];
    };
    ref.extremeIndex[LowestSys] = earliest(0, false);
    ref.extremeIndex[HighestSys] = earliest(0, true);
    ref.extremeIndex[LowestDia] = earliest(1, false);
    ref.extremeIndex[HighestDia] = earliest(1, true);
    if (p <= 2) {
        ref.regression[SysOnDia] = fit(v, 1, 0);
        ref.regression[SysOnPulse] = fit(v, 3, 0);
    }
    return ref;
}

bool close(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void edgeCases_data()
    {
        QTest::addColumn<Edge>("edge");
        const QString two = QStringLiteral("08:00 120/80/70; 09:00 140/85/70");
        const QList<double> twoSys = {120, 130, 140, 14.1421356, 10.0, 10.8785658};
        const QString three = QStringLiteral("08:00 120/80/70; 09:00 130/90/70; 10:00 150/100/70");
        const QList<double> threeSys = {120, 133.333333, 150, 15.2752523, 8.8191710, 11.4564392};
        const QList<double> threeReg = {0.9819805, 1.5, -1.6666667};
        const QList<double> empty = {300, 0, 0, 0, 0, 0};
        const QList<double> none = {0, 0, 0};

        QTest::newRow("two readings: n-1 divisor") << edge(two, 1, ParamSys, twoSys, 0, 0, 0, {}, "09:00");
        QTest::newRow("three readings with regression") << edge(three, 1, ParamSys, threeSys, 1, 1, 0, threeReg, "10:00");
        QTest::newRow("period 2 equals period 1") << edge(three, 2, ParamSys, threeSys, 1, 1, 0, threeReg, "10:00");
        QTest::newRow("three readings, DIA") << edge(three, 1, ParamDia, {80, 90, 100, 10, 5.7735027, 11.1111111}, 1, 1);
        QTest::newRow("MAP from pulse pressure")
            << edge("08:00 120/80/70; 09:00 140/86/70", 1, ParamMap, {93, 98.5, 104, 7.7781746, 5.5, 7.8966239});
        QTest::newRow("double product")
            << edge("08:00 120/80/70; 09:00 140/86/80", 1, ParamDp, {84, 98, 112, 19.7989899, 14, 20.2030509});
        QTest::newRow("single reading: mean 0")
            << edge("08:00 135/85/70", 1, ParamSys, {135, 0, 135, 0, 0, 0}, 0, 0, 0, none, "08:00");
        QTest::newRow("all equal: no spread") << edge("08:00 130/85/70; 09:00 130/85/70; 10:00 130/85/70", 1, ParamSys,
                                                      {130, 130, 130, 0, 0, 0}, 0, 0, 0, none, "08:00");
        QTest::newRow("SYS never varies: r 0, line still fitted")
            << edge("08:00 130/80/70; 09:00 130/90/70; 10:00 130/85/70", 1, ParamSys, {130, 130, 130, 0, 0, 0}, 0, 0, 0,
                    {0, 0, 130}, "08:00");
        QTest::newRow("equal extremes: earliest kept") << edge("08:00 150/85/70; 12:00 130/85/70; 20:00 150/85/70", 1,
                                                               ParamSys, {130, kSkip, 150, kSkip, kSkip, kSkip}, 2, 0, 0,
                                                               {}, "08:00");
        QTest::newRow("at the awake threshold: not above") << edge("08:00 140/90/70; 09:00 120/80/70");
        QTest::newRow("one above the awake threshold")
            << edge("08:00 141/91/70; 09:00 120/80/70", 1, ParamSys, QList<double>(6, kSkip), 1, 1);
        QTest::newRow("other thresholds") << edge("08:00 141/91/70; 09:00 120/80/70", 1, ParamSys,
                                                  QList<double>(6, kSkip), 0, 0, 0, {}, "", "150/95,130/80");

        // 125/75 asleep is above 120/70 in every period holding it; awake it is not.
        const QString asleep125 = QStringLiteral("02:00 125/75/60 n");
        QTest::newRow("asleep 125: period 1") << edge(asleep125, 1, ParamSys, {125, 0, 125, 0, 0, 0}, 1, 1, 0, {}, "02:00");
        for (int p : {2, 4})
            QTest::addRow("asleep 125: period %d", p) << edge(asleep125, p, ParamSys, QList<double>(6, kSkip), 1, 1);
        QTest::newRow("asleep 125: not in period 3") << edge(asleep125, 3, ParamSys, empty);
        for (int p : {1, 3})
            QTest::addRow("awake 125: period %d", p) << edge("14:00 125/75/60", p);
        QTest::newRow("mixed classes: each by its own pair")
            << edge("14:00 125/75/60; 02:00 125/75/60 n; 15:00 145/95/60", 1, ParamSys, QList<double>(6, kSkip), 2, 2);

        // Exclusions and error readings only raise "not counted".
        for (int p : {1, 2, 3})
            QTest::addRow("excluded: period %d unchanged", p)
                << edge(two + "; 10:00 200/120/90 x", p, ParamSys, twoSys, 0, 0, 1, {}, "09:00");
        QTest::newRow("error reading: MIN not 0") << edge(two + "; 10:00 0/0/0 e", 1, ParamSys, twoSys, 0, 0, 1, {}, "09:00");
        const QString excludedAsleep = two + QStringLiteral("; 02:00 200/120/90 n x");
        QTest::newRow("excluded asleep: period 1") << edge(excludedAsleep, 1, ParamSys, twoSys, 0, 0, 1, {}, "09:00");
        QTest::newRow("excluded asleep: awake period untouched")
            << edge(excludedAsleep, 3, ParamSys, twoSys, 0, 0, 0, {}, "09:00");
        QTest::newRow("excluded asleep: asleep period empty") << edge(excludedAsleep, 4, ParamSys, empty, 0, 0, 1);

        const QString outside = two + QStringLiteral("; 23:00 200/120/90 o; 23:30 0/0/0 o e");
        QTest::newRow("outside window 1: no period") << edge(outside, 1, ParamSys, twoSys, 0, 0, 0, {}, "09:00");
        QTest::newRow("outside window 1: no total") << edge(outside, 3, ParamSys, twoSys, 0, 0, 0, {}, "09:00");
        QTest::newRow("window 1 only: not in period 2")
            << edge(two + "; 10:00 200/120/90 w1", 2, ParamSys, twoSys, 0, 0, 0, {}, "09:00");
        QTest::newRow("no reading at all") << edge("", 1, ParamSys, empty, 0, 0, 0, none);
        QTest::newRow("only error readings") << edge("08:00 0/0/0 e; 09:00 0/0/0 e", 1, ParamPulse, empty, 0, 0, 2, none);
    }

    void edgeCases()
    {
        QFETCH(Edge, edge);
        const auto block = test::makeBlock(edge.readings);
        PeriodStatistics st;
        computePeriodStatistics(st, block.get(), parseThresholds(edge.thresholds));
        const int period = edge.period;

        static const char* const kNames[] = {"MIN", "MEAN", "MAX", "SD", "SE", "CV"};
        for (int k = 0; k < kStatCount; ++k) {
            const double actual = st.stat[period][edge.parameter][k];
            QVERIFY2(std::isnan(edge.stats[k]) || near(actual, edge.stats[k], 5e-6),
                     qPrintable(QStringLiteral("%1 is %2, expected %3").arg(kNames[k]).arg(actual, 0, 'g', 10).arg(edge.stats[k])));
        }
        QCOMPARE(int(st.sysAboveCount[period]), edge.sysAbove);
        QCOMPARE(int(st.diaAboveCount[period]), edge.diaAbove);
        QCOMPARE(notCountedCount(periodTotal(block->counters, period), periodCount(block->counters, period)),
                 edge.notCounted);
        if (!edge.sysOnDia.isEmpty()) {
            const Regression& g = st.regression[period][SysOnDia];
            const QList<double> fitted{g.r, g.slope, g.intercept};
            for (int i = 0; i < 3; ++i)
                QVERIFY2(near(fitted[i], edge.sysOnDia[i], 5e-6), qPrintable(QString::number(fitted[i], 'g', 10)));
        }
        if (!edge.highestSysTime.isEmpty())
            QCOMPARE(hhmm(st.extremes[period][HighestSys]), edge.highestSysTime);
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

    void derivedValues_data()
    {
        QTest::addColumn<int>("above");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("abovePercent");    // "%5.1f%%"
        QTest::addColumn<QString>("notCountedText");  // "%d (%3.1f%%)"

        QTest::newRow("6 of 30 above") << 6 << 30 << 30 << " 20.0%" << "0 (0.0%)";
        QTest::newRow("5 of 50 not counted") << 0 << 45 << 50 << "  0.0%" << "5 (10.0%)";
        QTest::newRow("3 errors and 2 excluded of 48") << 43 << 43 << 48 << "100.0%" << "5 (10.4%)";
        QTest::newRow("1 of 3 above") << 1 << 3 << 3 << " 33.3%" << "0 (0.0%)";
        QTest::newRow("nothing counted") << 0 << 0 << 4 << "  0.0%" << "4 (100.0%)";
        QTest::newRow("no reading at all") << 0 << 0 << 0 << "  0.0%" << "0 (0.0%)";
    }

    void derivedValues()
    {
        QFETCH(int, above);
        QFETCH(int, n);
        QFETCH(int, total);
        QFETCH(QString, abovePercent);
        QFETCH(QString, notCountedText);
        QCOMPARE(QString::asprintf("%5.1f%%", aboveThresholdPercent(above, std::uint32_t(n))), abovePercent);
        QCOMPARE(QString::asprintf("%d (%3.1f%%)", notCountedCount(std::uint32_t(total), std::uint32_t(n)),
                                   notCountedPercent(std::uint32_t(total), std::uint32_t(n))),
                 notCountedText);
    }

    void matchesTwoPassReference_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<bool>("sleepTimes");
        QTest::addColumn<bool>("shortWindow");  // window 1 leaves readings out
        QTest::addColumn<QString>("thresholds");

        const int sizes[] = {0, 1, 2, 3, 7, 50, 333, 1000, kMaxReadings};
        for (int size : sizes) {
            const unsigned seed = unsigned(size) * 7u + 3u;
            QTest::addRow("%d readings", size) << size << seed << true << false << QString();
            QTest::addRow("%d readings, no sleep times", size) << size << seed + 1 << false << false << "135/85,125/75";
            QTest::addRow("%d readings, short window", size) << size << seed + 2 << true << true << "150/100,130/80";
        }
    }

    void matchesTwoPassReference()
    {
        QFETCH(int, count);
        QFETCH(unsigned, seed);
        QFETCH(bool, sleepTimes);
        QFETCH(bool, shortWindow);
        QFETCH(QString, thresholds);

        synth::Options o;
        o.count = count;
        o.seed = seed;
        o.errorEvery = 7;
        o.excludedEvery = 5;
        o.minutesApart = 97;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("GEN.DAT"));
        QVERIFY(writeFileAtomically(path, synth::makeFile(o)));

        Session session;
        if (sleepTimes) {
            session.state.sleepHour = 22;
            session.state.sleepMinute = 30;
            session.state.wakeHour = 6;
            session.state.wakeMinute = 15;
        }
        if (shortWindow) {
            // Window 1 from 09:00 of the first day for a third of the recording.
            session.intervals = AnalysisIntervals::defaults(o.year, o.month, o.day, 9, std::uint32_t(count * 97 / 3 / 60 + 1));
            session.intervals.valid = 1;
        }
        QVERIFY(session.allocateData());
        QVERIFY(readBpDataFile(session, path, BpMode::OscillometricOnly));
        const SessionData& d = *session.data();
        QCOMPARE(int(d.readingCount()), count);

        const BpThresholds t = parseThresholds(thresholds);
        computePeriodStatistics(session, t);
        const PeriodStatistics& st = session.stats;

        for (int p = kFirstPeriod; p <= kLastPeriod; ++p) {
            const Reference ref = reference(d, p, t);
            QCOMPARE(int(periodCount(d.counters, p)), ref.n);
            for (int k = 0; k < kParameterCount; ++k)
                for (int s = 0; s < kStatCount; ++s)
                    QVERIFY2(close(st.stat[p][k][s], ref.stat[k][s]),
                             qPrintable(QStringLiteral("period %1 parameter %2 stat %3: %4 vs %5")
                                            .arg(p).arg(k).arg(s)
                                            .arg(st.stat[p][k][s], 0, 'g', 17)
                                            .arg(ref.stat[k][s], 0, 'g', 17)));
            QCOMPARE(int(st.sysAboveCount[p]), ref.sysAbove);
            QCOMPARE(int(st.diaAboveCount[p]), ref.diaAbove);
            for (int e = 0; e < kExtremeCount; ++e) {
                if (ref.extremeIndex[e] < 0)
                    continue;
                const BpReading& r = d.readings[std::size_t(ref.extremeIndex[e])];
                const ExtremeTime& x = st.extremes[p][e];
                QCOMPARE(QString::asprintf("%04d-%02d-%02d %02d:%02d", x.year, x.month, x.day, x.hour, x.minute),
                         QString::asprintf("%04u-%02u-%02u %02u:%02u", r.year, unsigned(r.month), unsigned(r.day),
                                           unsigned(r.hour), unsigned(r.minute)));
            }
            if (p <= PartialPeriod) {
                for (int g = 0; g < kRegressionPairCount; ++g) {
                    const Regression& a = st.regression[p][g];
                    const Regression& b = ref.regression[g];
                    QVERIFY2(std::fabs(a.r - b.r) < 1e-9, qPrintable(QStringLiteral("r %1 vs %2").arg(a.r).arg(b.r)));
                    QVERIFY2(close(a.slope, b.slope), qPrintable(QStringLiteral("slope %1 vs %2").arg(a.slope).arg(b.slope)));
                    QVERIFY2(std::fabs(a.intercept - b.intercept) < 1e-7,
                             qPrintable(QStringLiteral("intercept %1 vs %2").arg(a.intercept).arg(b.intercept)));
                }
            }
        }
        if (count > 0 && !shortWindow) {
            // Nothing lies outside window 1 and no period is left out of 1 and 2.
            QCOMPARE(st.stat[PartialPeriod][ParamSys][StatSd], st.stat[WholePeriod][ParamSys][StatSd]);
        }
        if (shortWindow && count >= 50)
            QVERIFY(d.counters.inWindow1 < d.counters.readingCount);
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
