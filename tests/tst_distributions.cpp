// Numbers of the correlation, histogram and grade pages.
#include "analysis/distributions.h"
#include "support/readingtext.h"

#include <QtTest>

using namespace ks318;

Q_DECLARE_METATYPE(ks318::WhoGrade)

class TestDistributions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void histogramClass_data()
    {
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");

        QTest::newRow("SYS 4") << int(HistSys) << 4 << 0;
        QTest::newRow("SYS 5") << int(HistSys) << 5 << 1;
        QTest::newRow("SYS 299") << int(HistSys) << 299 << 59;
        QTest::newRow("SYS 305 in class 59") << int(HistSys) << 305 << 59;
        QTest::newRow("pulse 72") << int(HistPulse) << 72 << 14;
        QTest::newRow("DP width 12, not 10") << int(HistDp) << 120 << 10;
        QTest::newRow("DP 119") << int(HistDp) << 119 << 9;
        QTest::newRow("DP 719") << int(HistDp) << 719 << 59;
        QTest::newRow("DP 720 beyond") << int(HistDp) << 720 << 59;
    }

    void histogramClass()
    {
        QFETCH(int, quantity);
        QFETCH(int, value);
        QFETCH(int, expected);
        QCOMPARE(ks318::histogramClass(value, histogramClassWidth(quantity)), expected);
    }

    void histograms_data()
    {
        QTest::addColumn<QString>("readings");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("classIndex");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("hundredScale");

        QTest::newRow("n = 0: nothing counted, no division")
            << QStringLiteral("08:00 0/0/0 e; 09:00 140/90/70 x") << int(HistSys) << 28 << 0 << 0 << false;
        QTest::newRow("SYS 305 in class 59") << QStringLiteral("08:00 305/100/60; 09:00 120/80/70; 10:00 130/90/80")
                                             << int(HistSys) << 59 << 1 << 33 << false;
        QTest::newRow("1 of 3 is 33 %") << QStringLiteral("08:00 120/80/60; 09:00 130/85/70; 10:00 140/90/80")
                                        << int(HistPulse) << 12 << 1 << 33 << false;
        QTest::newRow("2 of 3 is 66 %, scale 0-100") << QStringLiteral("08:00 120/80/60; 09:00 121/85/70; 10:00 140/90/80")
                                                     << int(HistSys) << 24 << 2 << 66 << true;
        QTest::newRow("exactly 50 % keeps 0-50") << QStringLiteral("08:00 120/80/60; 09:00 140/90/80") << int(HistSys)
                                                 << 24 << 1 << 50 << false;
        // Only the double product passes 50 %: 120×100/100 and 125×96/100 both
        // fall in class 10 of width 12; SYS, DIA, MAP and pulse split evenly.
        QTest::newRow("double product alone switches the scale")
            << QStringLiteral("08:00 120/80/100; 09:00 125/90/96") << int(HistDp) << 10 << 2 << 100 << true;
        QTest::newRow("readings outside window 1 and excluded ones not counted")
            << QStringLiteral("08:00 120/80/60; 09:00 150/95/70 o; 10:00 151/96/75 x; 11:00 140/90/80") << int(HistSys)
            << 30 << 0 << 0 << false;
        // `inClass` of 100 readings in SYS class 30, the others spread out.
        const auto hundred = [](int inClass) {
            QStringList r;
            for (int i = 0; i < 100; ++i)
                r << QStringLiteral("08:00 %1/%2/%3").arg(i < inClass ? 150 : 160 + i).arg(60 + i % 40).arg(50 + i);
            return r.join(QLatin1Char(';'));
        };
        QTest::newRow("51 % switches to 0-100") << hundred(51) << int(HistSys) << 30 << 51 << 51 << true;
        QTest::newRow("50 of 100 stays 0-50") << hundred(50) << int(HistSys) << 30 << 50 << 50 << false;
    }

    void histograms()
    {
        QFETCH(QString, readings);
        QFETCH(int, quantity);
        QFETCH(int, classIndex);
        QFETCH(int, count);
        QFETCH(int, percent);
        QFETCH(bool, hundredScale);

        const auto block = test::makeBlock(readings);
        const Histograms h = computeHistograms(*block);
        QCOMPARE(h.n, block->counters.validInWindow1);
        QCOMPARE(h.counts[std::size_t(quantity)][std::size_t(classIndex)], count);
        QCOMPARE(h.percents[std::size_t(quantity)][std::size_t(classIndex)], percent);
        QCOMPARE(h.hundredPercentScale, hundredScale);
        QCOMPARE(needsHundredPercentScale(h), hundredScale);
        int total = 0;
        for (int c : h.counts[std::size_t(quantity)])
            total += c;
        QCOMPARE(std::uint32_t(total), h.n);
    }

    void barLength_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("u");
        QTest::addColumn<bool>("hundredScale");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected");

        QTest::newRow("empty class") << 0 << 20 << false << 0 << 0;
        QTest::newRow("0 % but readings: one pixel") << 0 << 20 << false << 1 << 1;
        QTest::newRow("1 % on a narrow axis rounds to 0: one pixel") << 1 << 2 << false << 1 << 1;
        QTest::newRow("50 % fills the 0-50 axis") << 50 << 20 << false << 10 << 180;
        QTest::newRow("100 % fills the 0-100 axis") << 100 << 20 << true << 10 << 180;
        QTest::newRow("33 % on 0-50, rounded") << 33 << 10 << false << 1 << 59;
        QTest::newRow("rounds half up") << 25 << 2 << true << 1 << 5;
    }

    void barLength()
    {
        QFETCH(int, percent);
        QFETCH(int, u);
        QFETCH(bool, hundredScale);
        QFETCH(int, count);
        QFETCH(int, expected);
        QCOMPARE(histogramBarLength(percent, u, hundredScale, count), expected);
    }

    void grade_data()
    {
        QTest::addColumn<int>("sys");
        QTest::addColumn<int>("dia");
        QTest::addColumn<WhoGrade>("expected");

        QTest::newRow("159/95 mild") << 159 << 95 << WhoGrade::Mild;
        QTest::newRow("160/95 moderate") << 160 << 95 << WhoGrade::Moderate;
        QTest::newRow("125/85 high normal") << 125 << 85 << WhoGrade::HighNormal;
        QTest::newRow("119/79 optimal") << 119 << 79 << WhoGrade::Optimal;
        QTest::newRow("120/60 normal by SYS") << 120 << 60 << WhoGrade::Normal;
        QTest::newRow("100/80 normal by DIA") << 100 << 80 << WhoGrade::Normal;
        QTest::newRow("129/84 normal") << 129 << 84 << WhoGrade::Normal;
        QTest::newRow("139/89 high normal") << 139 << 89 << WhoGrade::HighNormal;
        QTest::newRow("110/90 mild by DIA") << 110 << 90 << WhoGrade::Mild;
        QTest::newRow("179/109 moderate") << 179 << 109 << WhoGrade::Moderate;
        QTest::newRow("180/70 severe by SYS") << 180 << 70 << WhoGrade::Severe;
        QTest::newRow("130/110 severe by DIA") << 130 << 110 << WhoGrade::Severe;
    }

    void grade()
    {
        QFETCH(int, sys);
        QFETCH(int, dia);
        QFETCH(WhoGrade, expected);
        QCOMPARE(whoIshGrade(sys, dia), expected);
    }

    void gradeAxisRange_data()
    {
        QTest::addColumn<double>("maxSys");
        QTest::addColumn<double>("maxDia");
        QTest::addColumn<int>("range");

        QTest::newRow("199.94 reads as 199") << 199.94 << 100.0 << 200;
        QTest::newRow("199.96 reads as 200") << 199.96 << 100.0 << 250;
        QTest::newRow("DIA 149.96 reads as 150") << 180.0 << 149.96 << 250;
        QTest::newRow("DIA 149.94 reads as 149") << 180.0 << 149.94 << 200;
        QTest::newRow("249.96 reads as 250") << 249.96 << 100.0 << 300;
        QTest::newRow("240, DIA 200") << 240.0 << 200.0 << 300;
        QTest::newRow("no reading: MAX 0") << 0.0 << 0.0 << 200;
    }

    void gradeAxisRange()
    {
        QFETCH(double, maxSys);
        QFETCH(double, maxDia);
        QFETCH(int, range);
        QCOMPARE(ks318::gradeAxisRange(maxSys, maxDia), range);
        QCOMPARE(gradeAxisTicks(range), range / 50 + 1);
    }

    void regressionLine_data()
    {
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("intercept");
        QTest::addColumn<QString>("ends");  // "x1,y1 x2,y2"

        QTest::newRow("no fit: y = 0") << 0.0 << 0.0 << "1,0 300,0";
        QTest::newRow("inside the box") << 0.5 << 60.0 << "1,60 300,210";
        QTest::newRow("top end clipped") << 1.0 << 10.0 << "1,11 290,300";
        QTest::newRow("both ends clipped") << 2.0 << -50.0 << "25,0 175,300";
        QTest::newRow("falling line clipped at 0") << -1.0 << 250.0 << "1,249 250,0";
        QTest::newRow("truncated towards zero, not clipped") << 1.5 << -1.6666667 << "1,0 201,300";
        QTest::newRow("300.5 truncates to 300") << 1.0 << 0.5 << "1,1 300,300";
        QTest::newRow("horizontal above the box") << 0.0 << 320.0 << "1,300 300,300";
    }

    void regressionLine()
    {
        QFETCH(double, slope);
        QFETCH(double, intercept);
        QFETCH(QString, ends);
        const LineEnds l = regressionLineEnds(slope, intercept);
        QCOMPARE(QStringLiteral("%1,%2 %3,%4").arg(l.first.x).arg(l.first.y).arg(l.second.x).arg(l.second.y), ends);
    }
};

QTEST_GUILESS_MAIN(TestDistributions)
#include "tst_distributions.moc"
