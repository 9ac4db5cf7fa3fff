// Day-count dates, the first-opening scroll groups and window length, and the
// terminators forced into the patient record (its byte layout is the golden
// companion file of tst_companion).
#include "records/daycount.h"
#include "records/records.h"

#include <QtTest>

using namespace ks318;

class TstRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dayNumbers_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("origin") << 1899 << 12 << 30 << qint64(0);
        QTest::newRow("1900-03-01") << 1900 << 3 << 1 << qint64(61);
        QTest::newRow("2009-12-31") << 2009 << 12 << 31 << qint64(40178);
        QTest::newRow("leap day 2024") << 2024 << 2 << 29 << qint64(45351);
    }

    void dayNumbers()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(qint64, expected);
        QCOMPARE(qint64(dayNumber(year, month, day)), expected);
        const CivilDate back = civilFromDayNumber(expected);
        QCOMPARE((QList<int>{back.year, back.month, back.day}), (QList<int>{year, month, day}));
        QCOMPARE(qint64(minutesFromDayCount(expected + encodeTime(23, 59))), expected * 1440 + 1439);
    }

    void civilRoundTripOverCenturies()
    {
        for (std::int64_t n = 0; n < 80000; n += 7) {
            const CivilDate d = civilFromDayNumber(n);
            QCOMPARE(dayNumber(d.year, d.month, d.day), n);
        }
    }

    // A raw record without a NUL reads each text to its last byte, and packs
    // with the terminators forced; the binary fields keep their bytes.
    void patientRecordForcesTerminators()
    {
        std::array<std::uint8_t, 900> raw;
        raw.fill('A');
        const PatientRecord r = PatientRecord::unpack(raw.data());
        QCOMPARE((QList<std::size_t>{r.patientName.size(), r.physicianName.size(), r.medications.size(),
                                     r.comments.size()}),
                 (QList<std::size_t>{20, 62, 60, 400}));
        const auto packed = r.pack();
        for (std::size_t i = 6; i < packed.size(); ++i) {
            const bool forced = i == 59 || i == 194 || i == 454 || i == 855;
            QCOMPARE(int(packed[i]), forced ? 0 : int('A'));
        }
    }

    void scrollGroupsOfShortIntervals_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("offsetLarge");
        QTest::addColumn<int>("lengthLarge");
        QTest::newRow("1 hour") << 1 << 1 << 1;
        QTest::newRow("5 hours") << 5 << 1 << 1;
        QTest::newRow("9 hours") << 9 << 2 << 2;
        QTest::newRow("336 hours") << 336 << 83 << 84;
    }

    void scrollGroupsOfShortIntervals()
    {
        QFETCH(int, hours);
        QFETCH(int, offsetLarge);
        QFETCH(int, lengthLarge);
        const AnalysisIntervals a = AnalysisIntervals::defaults(2026, 1, 1, 0, std::uint32_t(hours));
        QCOMPARE(int(a.scroll[0].maximum), hours - 1);
        QCOMPARE(int(a.scroll[0].largeStep), offsetLarge);
        QCOMPARE(int(a.scroll[1].position), hours);
        QCOMPARE(int(a.scroll[1].largeStep), lengthLarge);
    }

    void defaultIntervalLength_data()
    {
        QTest::addColumn<double>("firstDate");
        QTest::addColumn<int>("firstHour");
        QTest::addColumn<double>("lastDate");
        QTest::addColumn<int>("lastHour");
        QTest::addColumn<int>("hours");
        QTest::newRow("same hour") << 46328.0 << 7 << 46328.0 << 7 << 1;
        QTest::newRow("across midnight") << 46328.0 << 22 << 46329.0 << 1 << 4;
        QTest::newRow("two weeks") << 46328.0 << 6 << 46341.0 << 22 << 329;
        QTest::newRow("last before first") << 46329.0 << 7 << 46328.0 << 7 << 1;
    }

    void defaultIntervalLength()
    {
        QFETCH(double, firstDate);
        QFETCH(int, firstHour);
        QFETCH(double, lastDate);
        QFETCH(int, lastHour);
        QFETCH(int, hours);
        QCOMPARE(int(defaultIntervalHours(firstDate, firstHour, lastDate, lastHour)), hours);
    }
};

QTEST_GUILESS_MAIN(TstRecords)
#include "tst_records.moc"
