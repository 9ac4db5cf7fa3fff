// The clinical measures whose inputs are missing or would divide by zero as
// rows of one table (golden clinical-missing.txt), the conditions of
// isolated nocturnal hypertension and of enough readings, the hourly profile. Two recordings worked out
// by hand are checked through what ks318-cli prints of them (tst_cli_summary,
// golden clinical-measures.txt).
#include "analysis/clinicalmeasures.h"
#include "support/readingtext.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

namespace {

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

} // namespace

class TestClinical : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestClinical)
#include "tst_clinical.moc"
