// The clinical measures whose inputs are missing or would divide by zero as
// rows of one table, the hourly profile, and the conditions of isolated
// nocturnal hypertension and of enough readings. Two recordings worked out
// by hand are checked through what ks318-cli prints of them (tst_cli_summary,
// golden clinical-measures.txt).
#include "analysis/clinicalmeasures.h"
#include "support/readingtext.h"

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

    // The mean of each hour of the day over the valid readings; an hour
    // with an excluded or an error reading only stays empty.
    void hourlyProfile()
    {
        const auto block = test::makeBlock(QStringLiteral(
            "03:00 112/68/58 n; 22:30 130/80/68; 13:00 200/120/90 x; 14:00 0/0/0 e; 03:40 120/74/60 n d+1"));
        const ClinicalMeasures m = computeClinicalMeasures(block.get(), 23, 0, 6, 0);
        QCOMPARE(m.hourSys[3], Measure(116.0));
        QCOMPARE(m.hourDia[3], Measure(71.0));
        QCOMPARE(m.hourDia[22], Measure(80.0));
        QCOMPARE(m.hourCount[3], 2);
        QVERIFY(!m.hourSys[13] && !m.hourSys[14] && !m.hourSys[12]);
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
