// The analysis of a recording, from readings written as short texts: the
// statistics engine's documented edge cases (golden statistics-edges.txt,
// with the keeping of extreme times and the derived percentages), the
// numbers of the correlation, histogram and grade pages (distributions.txt),
// the clinical measures whose inputs are missing (clinical-missing.txt) and
// those of isolated nocturnal hypertension, enough readings and the hourly
// profile; and generated recordings against a reference computation. Two
// recordings worked out by hand: tst_cli_summary, clinical-measures.txt.
#include "analysis/clinicalmeasures.h"
#include "analysis/distributions.h"
#include "analysis/periodstatistics.h"
#include "records/bpdatafile.h"
#include "support/readingtext.h"
#include "support/testfiles.h"
#include "synthetic.h"
#include "session/session.h"

#include <QtTest>
#include <array>
#include <cmath>
#include <vector>

using namespace ks318;

namespace {

const QList<QByteArray> kQuantities{"SYS", "DIA", "MAP", "PULSE", "DP"};

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

// The table of `periods` as text, as the head of statistics-edges.txt describes it
// (regressions in periods 1 and 2 only).
QByteArray table(const PeriodStatistics& st, const PeriodCounters& c, const QList<int>& periods)
{
    QString out;
    for (int p : periods) {
        const std::uint32_t n = periodCount(c, p);
        const std::uint32_t total = periodTotal(c, p);
        out += QString::asprintf("period %d: n %u of %u, %d not counted, above %d/%d\n", p, n, total,
                                 notCountedCount(total, n), st.sysAboveCount[p], st.diaAboveCount[p]);
        for (int k = 0; k < kParameterCount; ++k) {
            out += QString::asprintf("  %-5s", kQuantities[k].constData());
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

// The statistics of a recording computed here from scratch, as a textbook
// would: window membership and day/night class from the readings' times,
// means and standard deviations in two passes, the regression from the
// deviations. Only the readings' values and flags come from the reader.
struct Reference {
    PeriodStatistics figures;   // in the engine's layout, extremes left out
    int n[5] = {};
};

// The window [start, end); sleep and wake invalid when not given.
Reference referenceStatistics(const SessionData& data, const QDateTime& start, const QDateTime& end,
                              const QTime& sleep, const QTime& wake, const BpThresholds& thresholds)
{
    std::vector<std::array<double, kParameterCount>> values[5];
    std::vector<bool> asleepOf[5];
    for (std::size_t i = 0; i < data.readingCount(); ++i) {
        const BpReading& b = data.readings[i];
        const QDateTime t(QDate(int(b.year), b.month, b.day), QTime(b.hour, b.minute), Qt::UTC);
        if (t < start || t >= end || b.errorCode != 0 || b.excluded != 0)
            continue;
        const QTime tod(b.hour, b.minute);
        bool asleep = false;
        if (sleep.isValid() && wake.isValid())
            asleep = sleep > wake ? (tod >= sleep || tod < wake) : (tod >= sleep && tod < wake);
        const std::array<double, kParameterCount> v{double(b.sys), double(b.dia), double(b.map), double(b.pulse),
                                                    double(b.doubleProduct)};
        for (int p : {1, 2, asleep ? 4 : 3}) {
            values[p].push_back(v);
            asleepOf[p].push_back(asleep);
        }
    }
    Reference ref;
    for (int p = 1; p <= 4; ++p) {
        const auto& vs = values[p];
        const int n = int(vs.size());
        ref.n[p] = n;
        for (int i = 0; i < n; ++i) {
            const bool night = p == 4 || (p != 3 && asleepOf[p][i]);
            ref.figures.sysAboveCount[p] += vs[i][0] > (night ? thresholds.asleepSys : thresholds.awakeSys);
            ref.figures.diaAboveCount[p] += vs[i][1] > (night ? thresholds.asleepDia : thresholds.awakeDia);
        }
        double mean[kParameterCount] = {};
        for (int k = 0; k < kParameterCount; ++k) {
            double lo = kStatMinStart, hi = 0, sum = 0;
            for (const auto& v : vs) {
                lo = std::min(lo, v[k]);
                hi = std::max(hi, v[k]);
                sum += v[k];
            }
            double* st = ref.figures.stat[p][k];
            st[StatMin] = lo;
            st[StatMax] = hi;
            if (n < 2)
                continue;
            mean[k] = sum / n;
            double squares = 0;
            for (const auto& v : vs)
                squares += (v[k] - mean[k]) * (v[k] - mean[k]);
            st[StatMean] = mean[k];
            st[StatSd] = std::sqrt(squares / (n - 1));
            st[StatSe] = st[StatSd] / std::sqrt(double(n));
            st[StatCv] = mean[k] != 0 ? st[StatSd] / mean[k] * 100 : 0;
        }
        if (p > 2 || n < 2)
            continue;
        for (int g = 0; g < 2; ++g) {
            const int x = g == 0 ? ParamDia : ParamPulse;
            double sxx = 0, syy = 0, sxy = 0;
            for (const auto& v : vs) {
                sxx += (v[x] - mean[x]) * (v[x] - mean[x]);
                syy += (v[0] - mean[0]) * (v[0] - mean[0]);
                sxy += (v[x] - mean[x]) * (v[0] - mean[0]);
            }
            Regression& line = ref.figures.regression[p][g];
            line.r = sxx > 0 && syy > 0 ? sxy / std::sqrt(sxx * syy) : 0;
            line.slope = sxx > 0 ? sxy / sxx : 0;
            line.intercept = sxx > 0 ? mean[0] - line.slope * mean[x] : 0;
        }
    }
    return ref;
}

const QList<QByteArray> kGrades{"optimal", "normal", "high normal", "mild", "moderate", "severe"};

// One input line of distributions.txt: a function and its arguments.
QByteArray distributionLine(const QByteArray& line)
{
    const QList<QByteArray> f = line.simplified().split(' ');
    const QByteArray what = f[0];
    const double a = f.value(1).toDouble();
    const double b = f.value(2).toDouble();
    if (what == "class")
        return QByteArray::number(histogramClass(int(b), histogramClassWidth(int(kQuantities.indexOf(f[1])))));
    if (what == "bar")
        return QByteArray::number(histogramBarLength(int(a), int(b), f[3] == "0-100", f[4].toInt()));
    if (what == "grade")
        return kGrades.value(int(whoIshGrade(int(a), int(b))));
    if (what == "axis") {
        const int range = gradeAxisRange(a, b);
        return QByteArray::number(range) + " with " + QByteArray::number(gradeAxisTicks(range)) + " ticks";
    }
    if (what == "line") {
        const LineEnds l = regressionLineEnds(a, b);
        return QString::asprintf("%d,%d %d,%d", l.first.x, l.first.y, l.second.x, l.second.y).toUtf8();
    }
    // histograms READINGS: n, the scale, and per quantity its classes "class:count (percent %)".
    const Histograms h = computeHistograms(*test::makeBlock(QString::fromUtf8(line.mid(11))));
    QByteArray out = "n " + QByteArray::number(h.n) + ", scale " + (h.hundredPercentScale ? "0-100" : "0-50")
                     + (h.hundredPercentScale == needsHundredPercentScale(h) ? "" : " (needs the other)");
    for (int q = 0; q < kQuantities.size(); ++q) {
        out += '\n' + kQuantities[q];
        for (std::size_t c = 0; c < h.counts[std::size_t(q)].size(); ++c)
            if (h.counts[std::size_t(q)][c] != 0)
                out += QString::asprintf(" %zu:%d (%d %%)", c, h.counts[std::size_t(q)][c], h.percents[std::size_t(q)][c])
                           .toUtf8();
    }
    return out;
}

// The names of the measures that are empty, in a fixed order.
QString emptyOnes(const ClinicalMeasures& m)
{
    const std::pair<const char*, bool> all[] = {
        {"whole", !m.whole.sys},        {"day", !m.day.sys},
        {"night", !m.night.sys},        {"pp", !m.whole.pp},
        {"dip", !m.dipSysPercent},      {"class", !m.dipping},
        {"morning", !m.morningSys},     {"morningCount", !m.morningCount},
        {"evening", !m.eveningSys},     {"me", !m.meAverage},
        {"prewaking", !m.prewakingSurge}, {"trough", !m.sleepTroughSurge},
        {"arv", !m.arvSys},             {"wsd", !m.weightedSdSys},
        {"cv", !m.cvSys},               {"aasi", !m.aasi},
        {"flagWhole", !m.highWhole},    {"flagNight", !m.highNight},
        {"flagMorning", !m.highMorning}, {"isolated", !m.isolatedNocturnal},
        {"valid", !m.validPercent},
    };
    QStringList out;
    for (const auto& [name, empty] : all)
        if (empty)
            out << QString::fromLatin1(name);
    return out.join(QLatin1Char(' '));
}

// Equal but for rounding: the engine sums squares in one pass.
bool close(double engine, double reference) { return std::abs(engine - reference) <= 1e-6 + 1e-9 * std::abs(reference); }

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
            PeriodStatistics st;
            std::unique_ptr<SessionData> block;
            for (const QString& readings : f.value(0).split(QStringLiteral(">>"))) {   // one block after the other
                block = readings.trimmed() == QLatin1String("none") ? nullptr : test::makeBlock(readings);
                computePeriodStatistics(st, block.get(), parseThresholds(f.value(2).trimmed()));
            }
            QList<int> periods;
            for (const QString& p : f.value(1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                periods << p.toInt();
            return table(st, block ? block->counters : PeriodCounters(), periods);
        });
    }

    void distributions() { KS318_COMPARE_GOLDEN_TABLE("distributions.txt", distributionLine); }

    // Generated recordings of many sizes, BP modes, sleep times, windows and
    // thresholds: the engine agrees with the reference computation above in
    // every period, parameter, statistic, count and regression.
    void agreesWithAReferenceComputation_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("minutesApart");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("sleepWake");   // "HH:MM-HH:MM" or "-"
        QTest::addColumn<int>("windowHours");     // 0: the whole recording
        QTest::addColumn<QString>("thresholds");
        QTest::newRow("one reading") << 1 << 60 << 0 << "22:00-06:00" << 0 << "-";
        QTest::newRow("two readings, both awake") << 2 << 45 << 1 << "23:00-05:00" << 0 << "-";
        QTest::newRow("three days, night across midnight") << 30 << 131 << 0 << "22:30-06:15" << 0 << "150/100,130/80";
        QTest::newRow("a week, afternoon rest") << 60 << 167 << 2 << "13:00-15:30" << 0 << "135/85,125/75";
        QTest::newRow("no sleep times") << 80 << 100 << 3 << "-" << 0 << "-";
        QTest::newRow("a five-hour window") << 200 << 20 << 1 << "21:00-07:00" << 5 << "-";
        QTest::newRow("full recording, window over a third") << int(kMaxReadings) << 97 << 3 << "00:10-07:40"
                                                            << int(kMaxReadings) * 97 / 3 / 60 << "145/95,115/65";
    }
    void agreesWithAReferenceComputation()
    {
        QFETCH(int, count);
        QFETCH(int, minutesApart);
        QFETCH(int, mode);
        QFETCH(QString, sleepWake);
        QFETCH(int, windowHours);
        QFETCH(QString, thresholds);
        synth::Options o;
        o.count = count;
        o.seed = unsigned(count * 31 + mode);
        o.errorEvery = 9;
        o.excludedEvery = 6;
        o.minutesApart = minutesApart;
        // The KS-318P measures oscillometrically only; a recorder with both
        // methods makes the other modes choose other values.
        o.type = mode == 0 ? RecorderType::Ks318 : RecorderType::Rv5721;

        Session session;
        const QTime sleep = QTime::fromString(sleepWake.section(QLatin1Char('-'), 0, 0), QStringLiteral("hh:mm"));
        const QTime wake = QTime::fromString(sleepWake.section(QLatin1Char('-'), 1, 1), QStringLiteral("hh:mm"));
        if (sleep.isValid())
            std::tie(session.state.sleepHour, session.state.sleepMinute, session.state.wakeHour,
                     session.state.wakeMinute) = std::tuple(sleep.hour(), sleep.minute(), wake.hour(), wake.minute());
        // Without analysis intervals the window runs from the first reading's day for 1829 days.
        QDateTime start(QDate(o.year, o.month, o.day), QTime(0, 0), Qt::UTC);
        QDateTime end = start.addDays(1829);
        if (windowHours > 0) {
            session.intervals = AnalysisIntervals::defaults(o.year, o.month, o.day, o.firstHour + 1, windowHours);
            session.intervals.valid = 1;
            start = start.addSecs(3600 * (o.firstHour + 1));
            end = start.addSecs(3600 * windowHours);
        }
        QVERIFY(session.allocateData());
        QVERIFY(parseBpDataText(session, synth::makeFile(o), BpMode(mode)));   // the file's text, as read
        computePeriodStatistics(session, parseThresholds(thresholds));
        const Reference ref =
            referenceStatistics(*session.data(), start, end, sleep, wake, parseThresholds(thresholds));
        const PeriodStatistics& st = session.stats;
        QVERIFY(ref.n[1] > 0);
        const PeriodStatistics& want = ref.figures;
        for (int p = 1; p <= 4; ++p) {
            QCOMPARE(int(periodCount(session.data()->counters, p)), ref.n[p]);
            QCOMPARE(st.sysAboveCount[p], want.sysAboveCount[p]);
            QCOMPARE(st.diaAboveCount[p], want.diaAboveCount[p]);
            for (int k = 0; k < kParameterCount; ++k)
                for (int s = 0; s < kStatCount; ++s)
                    QVERIFY2(close(st.stat[p][k][s], want.stat[p][k][s]),
                             qPrintable(QString::asprintf("period %d parameter %d statistic %d: %.10g, reference %.10g",
                                                          p, k, s, st.stat[p][k][s], want.stat[p][k][s])));
        }
        for (int p = 1; p <= 2; ++p)
            for (int g = 0; g < 2; ++g) {
                const Regression& r = st.regression[p][g];
                const Regression& w = want.regression[p][g];
                QVERIFY2(close(r.r, w.r) && close(r.slope, w.slope) && close(r.intercept, w.intercept),
                         qPrintable(QString::asprintf("period %d regression %d: %.10g %.10g %.10g, reference %.10g "
                                                      "%.10g %.10g", p, g, r.r, r.slope, r.intercept, w.r, w.slope,
                                                      w.intercept)));
            }
    }

    void missingInputs_data() { test::dataRows("clinical-missing.txt", {"readings", "times", "empty"}); }

    void missingInputs()
    {
        QFETCH(QString, readings);
        QFETCH(QString, times);
        QFETCH(QString, empty);
        const auto block = test::makeBlock(readings);
        const bool known = times != QLatin1String("none");
        const int h = known ? 23 : -1, w = known ? 6 : -1;
        const ClinicalMeasures m = computeClinicalMeasures(readings == QLatin1String("none") ? nullptr : block.get(),
                                                           h, 0, w, 0);
        QCOMPARE(emptyOnes(m), empty);
        QVERIFY(!m.enough);
        for (const Measure& v : {m.dipSysPercent, m.arvSys, m.cvSys, m.aasi, m.weightedSdSys, m.validPercent})
            QVERIFY(!v || std::isfinite(*v));
    }

    // Night high, day below its threshold: isolated nocturnal hypertension;
    // 20 day and 7 night readings all valid, and one excluded: enough to
    // judge. The hourly profile: each hour's mean of its valid readings over
    // the days (08:00: 128 twice; 09:00: 129 twice; 00:00: 124/72 twice), an
    // hour with an excluded reading only (22:00) or none (20:00) empty.
    void isolatedNocturnalAndEnough()
    {
        QString text = QStringLiteral("22:00 200/120/90 x;");
        for (int i = 0; i < 20; ++i)
            text += QStringLiteral("%1:00 %2/80/70 d+%3;").arg(8 + i % 12).arg(128 + i % 3).arg(i / 12);
        for (int i = 0; i < 7; ++i)
            text += QStringLiteral("0%1:00 124/72/60 n d+%2;").arg(i % 5).arg(i / 5);
        const auto block = test::makeBlock(text);
        const ClinicalMeasures m = computeClinicalMeasures(block.get(), 23, 0, 6, 0);
        QVERIFY(!*m.highDay);
        QVERIFY(*m.highNight);
        QVERIFY(*m.isolatedNocturnal);
        QCOMPARE(m.dayCount, 20);
        QCOMPARE(m.nightCount, 7);
        QVERIFY(m.enough);
        QCOMPARE(m.hourSys[8], Measure(128.0));
        QCOMPARE(m.hourSys[9], Measure(129.0));
        QCOMPARE(m.hourDia[0], Measure(72.0));
        QCOMPARE(m.hourCount[0], 2);
        QVERIFY(!m.hourSys[22] && !m.hourSys[20]);
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
