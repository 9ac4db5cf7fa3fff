// The clinical measures: two small recordings worked out by hand (a dipper,
// and a reverse dipper with a morning surge), and the cases whose inputs are
// missing or would divide by zero as rows of one table.
#include "analysis/clinicalmeasures.h"
#include "support/readingtext.h"

#include <QtTest>

using namespace ks318;

namespace {

void near(const Measure& got, double want, const char* what)
{
    QVERIFY2(got.has_value(), what);
    QVERIFY2(std::fabs(*got - want) < 1e-6, qPrintable(QStringLiteral("%1: %2, expected %3")
                                                         .arg(QLatin1String(what)).arg(*got, 0, 'g', 12).arg(want)));
}
#define NEAR(got, want) near((got), (want), #got)

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
    // Sleep 23:00, wake 06:00 (night 7 h, day 17 h). Day: 21:00 140/90/70,
    // 22:30 130/80/68, 06:30 150/92/75, 07:00 144/88/72, 12:00 136/86/70;
    // night: 01:00 120/74/60, 03:00 112/68/58, 05:00 134/80/62. An error
    // reading and an excluded 200/120 count only in the valid share.
    void dipper()
    {
        const auto block = test::makeBlock(QStringLiteral(
            "21:00 140/90/70; 22:30 130/80/68; 01:00 120/74/60 n d+1; 03:00 112/68/58 n d+1;"
            "05:00 134/80/62 n d+1; 06:30 150/92/75 d+1; 07:00 144/88/72 d+1; 12:00 136/86/70 d+1;"
            "13:00 200/120/90 x d+1; 14:00 0/0/0 e d+1"));
        const ClinicalMeasures m = computeClinicalMeasures(block.get(), 23, 0, 6, 0);
        // Whole: SYS 1066/8, DIA 658/8, pulse 535/8, PP 51. Day: 700/5, 436/5,
        // 355/5. Night: 366/3, 222/3, 180/3.
        NEAR(m.whole.sys, 133.25);
        NEAR(m.whole.dia, 82.25);
        NEAR(m.whole.pulse, 66.875);
        NEAR(m.whole.pp, 51.0);
        NEAR(m.day.sys, 140.0);
        NEAR(m.day.dia, 87.2);
        NEAR(m.day.pp, 52.8);
        NEAR(m.night.sys, 122.0);
        NEAR(m.night.pulse, 60.0);
        NEAR(m.night.pp, 48.0);
        // Dip: (1 - 122/140) x 100 = 12.857..., (1 - 74/87.2) x 100 = 15.1376...
        NEAR(m.dipSysPercent, 1800.0 / 140.0);
        NEAR(m.dipDiaPercent, 1320.0 / 87.2);
        QCOMPARE(int(*m.dipping), int(DippingClass::Dipper));
        // Morning [06:00, 07:00], both ends: 06:30 and 07:00. Evening [22:00,
        // 23:00): 22:30 only.
        NEAR(m.morningSys, 147.0);
        NEAR(m.morningDia, 90.0);
        QCOMPARE(*m.morningCount, 2);
        NEAR(m.eveningSys, 130.0);
        QCOMPARE(*m.eveningCount, 1);
        NEAR(m.meAverage, 138.5);
        NEAR(m.meDifference, 17.0);
        // Two hours after waking 147 (06:30, 07:00); [04:00, 06:00) 134; the
        // lowest night reading 112 at 03:00 with 120 and 134 around it: 122.
        NEAR(m.prewakingSurge, 13.0);
        NEAR(m.sleepTroughSurge, 25.0);
        // Gaps 90, 150, 120, 120, 90, 30, 300 minutes (sum 900); SYS steps
        // 10, 10, 8, 22, 16, 6, 8 give 10020; DIA steps 10, 6, 6, 12, 12, 4, 2
        // give 5760.
        NEAR(m.arvSys, 10020.0 / 900.0);
        NEAR(m.arvDia, 6.4);
        // Day SD SYS sqrt(232/4), night sqrt(248/2); DIA sqrt(84.8/4) and 6.
        NEAR(m.weightedSdSys, (std::sqrt(58.0) * 17 + std::sqrt(124.0) * 7) / 24);
        NEAR(m.weightedSdDia, (std::sqrt(21.2) * 17 + 6.0 * 7) / 24);
        // Whole SYS: squared deviations 1087.5 over 7; cross deviations 705.5.
        NEAR(m.cvSys, std::sqrt(1087.5 / 7) / 133.25 * 100);
        NEAR(m.aasi, 1 - 705.5 / 1087.5);
        QVERIFY(*m.highWhole && *m.highDay && *m.highNight && *m.highMorning);
        QVERIFY(!*m.isolatedNocturnal);
        // 8 of 10 valid; 5 day, 3 night readings on 2 days: too few.
        NEAR(m.validPercent, 80.0);
        QCOMPARE(m.dayCount, 5);
        QCOMPARE(m.nightCount, 3);
        QCOMPARE(m.days, 2);
        QVERIFY(!m.enough);
        NEAR(m.hourSys[3], 112.0);
        NEAR(m.hourDia[22], 80.0);
        QVERIFY(!m.hourSys[13] && !m.hourSys[14]);
    }

    // Sleep 22:00, wake 07:00 (night 9 h, day 15 h). Day: 20:00 128/82/66,
    // 21:30 124/78/64, 07:30 166/96/80, 08:00 158/94/78, 09:00 172/98/76,
    // 21:00 120/80/68; night: 23:00 140/88/60, 02:00 156/92/58, 04:00
    // 140/86/56, 06:00 150/90/62.
    void reverseDipperWithSurge()
    {
        const auto block = test::makeBlock(QStringLiteral(
            "20:00 128/82/66; 21:30 124/78/64; 23:00 140/88/60 n; 02:00 156/92/58 n d+1; 04:00 140/86/56 n d+1;"
            "06:00 150/90/62 n d+1; 07:30 166/96/80 d+1; 08:00 158/94/78 d+1; 09:00 172/98/76 d+1;"
            "21:00 120/80/68 d+1"));
        const ClinicalMeasures m = computeClinicalMeasures(block.get(), 22, 0, 7, 0);
        // Day SYS 868/6, DIA 528/6; night SYS 586/4, DIA 356/4.
        NEAR(m.day.sys, 868.0 / 6);
        NEAR(m.night.sys, 146.5);
        NEAR(m.night.dia, 89.0);
        NEAR(m.whole.pp, 57.0);
        NEAR(m.dipSysPercent, (1 - 146.5 / (868.0 / 6)) * 100);   // -1.267
        NEAR(m.dipDiaPercent, (1 - 89.0 / 88.0) * 100);
        QCOMPARE(int(*m.dipping), int(DippingClass::ReverseDipper));
        // Morning [07:00, 08:00]: 166, 158; evening [21:00, 22:00): 124 and
        // 120 (21:00 on the second day, the start included).
        NEAR(m.morningSys, 162.0);
        NEAR(m.morningDia, 95.0);
        NEAR(m.eveningSys, 122.0);
        QCOMPARE(*m.eveningCount, 2);
        NEAR(m.meAverage, 142.0);
        NEAR(m.meDifference, 40.0);
        // [07:00, 09:00] with 09:00 included: 496/3; [05:00, 07:00): 150.
        // Lowest night SYS 140 at 23:00 and at 04:00: the earlier one, with
        // the day reading 124 before it and 156 after it: 140.
        NEAR(m.prewakingSurge, 496.0 / 3 - 150);
        NEAR(m.sleepTroughSurge, 496.0 / 3 - 140);
        // Gaps 90, 90, 180, 120, 120, 90, 30, 60, 720 (sum 1500); SYS steps
        // 4, 16, 16, 16, 10, 16, 8, 14, 52 give 47760.
        NEAR(m.arvSys, 47760.0 / 1500);
        QVERIFY(*m.highNight && *m.highDay && *m.highMorning);
        QVERIFY(!*m.isolatedNocturnal);
        QCOMPARE(m.days, 2);
    }

    void missingInputs_data()
    {
        QTest::addColumn<QString>("readings");   // "none": no block at all
        QTest::addColumn<bool>("times");         // sleep 23:00, wake 06:00
        QTest::addColumn<QString>("empty");

        const QString all = QStringLiteral(
            "whole day night pp dip class morning evening me prewaking trough arv wsd cv aasi flagWhole "
            "flagNight flagMorning isolated");
        QTest::newRow("no block") << QStringLiteral("none") << true
                                  << QString(all + QStringLiteral(" valid")).replace(QStringLiteral("morning "),
                                                                                     QStringLiteral("morning morningCount "));
        QTest::newRow("no readings") << QString() << true << all + QStringLiteral(" valid");
        QTest::newRow("outside the window only") << QStringLiteral("08:00 130/80/70 o") << true
                                                 << all + QStringLiteral(" valid");
        QTest::newRow("error readings only") << QStringLiteral("08:00 0/0/0 e; 09:00 0/0/0 e") << true << all;
        QTest::newRow("one day reading")
            << QStringLiteral("12:00 130/80/70") << true
            << QStringLiteral("night dip class morning evening me prewaking trough arv wsd cv aasi flagNight "
                              "flagMorning isolated");
        QTest::newRow("no sleep times")
            << QStringLiteral("06:30 130/80/70; 12:00 140/85/72; 13:00 136/84/70") << false
            << QStringLiteral("night dip class morning morningCount evening me prewaking trough wsd flagNight "
                              "flagMorning isolated");
        // Equal SYS: no slope of DIA on SYS; both at one minute: no time
        // between them to weight.
        QTest::newRow("equal SYS at one minute")
            << QStringLiteral("12:00 130/80/70; 12:00 130/84/72") << true
            << QStringLiteral("night dip class morning evening me prewaking trough arv wsd aasi flagNight "
                              "flagMorning isolated");
        QTest::newRow("one night reading")
            << QStringLiteral("12:00 130/80/70; 13:00 132/82/70; 02:00 120/70/60 n") << true
            << QStringLiteral("morning evening me prewaking trough wsd flagMorning");
    }

    void missingInputs()
    {
        QFETCH(QString, readings);
        QFETCH(bool, times);
        QFETCH(QString, empty);
        const auto block = test::makeBlock(readings);
        const int h = times ? 23 : -1, w = times ? 6 : -1;
        const ClinicalMeasures m = computeClinicalMeasures(readings == QLatin1String("none") ? nullptr : block.get(),
                                                           h, 0, w, 0);
        QCOMPARE(emptyOnes(m), empty);
        QVERIFY(!m.enough);
        for (const Measure& v : {m.dipSysPercent, m.arvSys, m.cvSys, m.aasi, m.weightedSdSys, m.validPercent})
            QVERIFY(!v || std::isfinite(*v));
    }

    // Night high, day below its threshold: isolated nocturnal hypertension;
    // 20 day and 7 night readings all valid: enough to judge.
    void isolatedNocturnalAndEnough()
    {
        QString text;
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
    }
};

QTEST_GUILESS_MAIN(TestClinical)
#include "tst_clinical.moc"
