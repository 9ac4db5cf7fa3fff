// The fixed layouts of the companion records and the day-count dates.
#include "records/bytes.h"
#include "records/daycount.h"
#include "records/records.h"

#include <QtTest>
#include <cstring>

using namespace ks318;

namespace {
std::string textAt(const std::uint8_t* bytes, std::size_t offset)
{
    return std::string(reinterpret_cast<const char*>(bytes + offset));
}
} // namespace

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
        QTest::newRow("1900-01-01") << 1900 << 1 << 1 << qint64(2);
        QTest::newRow("1900-03-01") << 1900 << 3 << 1 << qint64(61);
        QTest::newRow("2000-01-01") << 2000 << 1 << 1 << qint64(36526);
        QTest::newRow("2009-12-31") << 2009 << 12 << 31 << qint64(40178);
        QTest::newRow("leap day 2024") << 2024 << 2 << 29 << qint64(45351);
        QTest::newRow("2079-12-31") << 2079 << 12 << 31 << qint64(65745);
    }

    void dayNumbers()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(qint64, expected);
        QCOMPARE(qint64(dayNumber(year, month, day)), expected);
        const CivilDate back = civilFromDayNumber(expected);
        QCOMPARE(back.year, year);
        QCOMPARE(back.month, month);
        QCOMPARE(back.day, day);
    }

    void civilRoundTripOverCenturies()
    {
        for (std::int64_t n = 0; n < 80000; n += 7) {
            const CivilDate d = civilFromDayNumber(n);
            QCOMPARE(dayNumber(d.year, d.month, d.day), n);
        }
    }

    void timeFractions_data()
    {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<qint64>("minutes");
        QTest::newRow("midnight") << 0 << 0 << qint64(0);
        QTest::newRow("noon") << 12 << 0 << qint64(720);
        QTest::newRow("23:59") << 23 << 59 << qint64(1439);
        QTest::newRow("06:01") << 6 << 1 << qint64(361);
    }

    void timeFractions()
    {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(qint64, minutes);
        QCOMPARE(qint64(minutesFromDayCount(encodeTime(hour, minute))), minutes);
        QCOMPARE(qint64(minutesFromDayCount(40178.0 + encodeTime(hour, minute))), 40178 * 1440 + minutes);
    }

    void patientRecordOffsets()
    {
        PatientRecord r;
        r.valid = 1;
        r.recordingHours = 24;
        r.recorderType = 70;
        r.recorderId = 7;
        r.startDateText = "2026/11/02";
        r.startTimeText = "07:00";
        r.patientName.setQString(QStringLiteral("山田 太郎"));
        r.patientAddress = "addr";
        r.patientPhone = "pphone";
        r.physicianName = "doctor";
        r.physicianAddress = "daddr";
        r.physicianPhone = "dphone";
        r.socialSecurityNumber = "ssn";
        r.insurance = "ins";
        r.medicareNumber = "med";
        r.age = "58";
        r.sex = "M";
        r.height = "171";
        r.weight = "74";
        r.medications = "none";
        r.comments = "comment";
        r.day1SleepTime = "22:00";
        r.day1WakeTime = "06:00";
        r.day2SleepTime = "23:00";
        r.day2WakeTime = "07:00";
        const auto b = r.pack();
        QCOMPARE(b.size(), std::size_t(900));
        QCOMPARE(le::getU32(b.data()), 1u);
        QCOMPARE(int(b[4]), 24);
        QCOMPARE(int(b[5]), 70);
        QCOMPARE(int(b[38]), 7);
        const struct {
            std::size_t offset;
            const char* text;
        } expected[] = {{6, "2026/11/02"}, {27, "07:00"}, {39, "\x8e\x52\x93\x63\x20\x91\xbe\x98\x59"},
                        {60, "addr"},      {111, "pphone"}, {132, "doctor"}, {195, "daddr"}, {246, "dphone"},
                        {267, "ssn"},      {288, "ins"},    {329, "med"},    {350, "58"},    {361, "M"},
                        {372, "171"},      {383, "74"},     {394, "none"},   {455, "comment"}, {856, "22:00"},
                        {867, "06:00"},    {878, "23:00"},  {889, "07:00"}};
        for (const auto& e : expected)
            QCOMPARE(textAt(b.data(), e.offset), std::string(e.text));
        const PatientRecord back = PatientRecord::unpack(b.data());
        QCOMPARE(back.pack(), b);
    }

    void patientRecordForcesTerminators()
    {
        std::array<std::uint8_t, 900> raw;
        raw.fill('A');
        const PatientRecord r = PatientRecord::unpack(raw.data());
        QCOMPARE(r.patientName.size(), std::size_t(20));
        QCOMPARE(r.physicianName.size(), std::size_t(62));
        QCOMPARE(r.medications.size(), std::size_t(60));
        QCOMPARE(r.comments.size(), std::size_t(400));
        const auto packed = r.pack();
        for (std::size_t i = 0; i < packed.size(); ++i) {
            const bool forced = i == 59 || i == 194 || i == 454 || i == 855;
            if (i >= 6 && i != 38)  // the binary fields keep their 'A'
                QCOMPARE(int(packed[i]), forced ? 0 : int('A'));
        }
    }

    void analysisIntervalsLayout()
    {
        AnalysisIntervals a = AnalysisIntervals::defaults(2026, 11, 2, 7, 24);
        a.valid = 1;
        const auto b = a.pack();
        QCOMPARE(b.size(), std::size_t(144));
        QCOMPARE(le::getU32(b.data() + 0), 1u);
        QCOMPARE(le::getU32(b.data() + 4), 0u);
        QCOMPARE(le::getF64(b.data() + 8), double(dayNumber(2026, 11, 2)));
        QCOMPARE(le::getU32(b.data() + 16), 0u);
        QCOMPARE(le::getF64(b.data() + 24), double(dayNumber(2026, 11, 2)));
        QCOMPARE(le::getF64(b.data() + 32), 7.0 / 24.0);
        QCOMPARE(le::getU32(b.data() + 40), 24u);
        QCOMPARE(le::getF64(b.data() + 48), 7.0 / 24.0);
        QCOMPARE(le::getU32(b.data() + 56), 24u);
        const std::uint32_t groups[4][5] = {{0, 0, 23, 5, 1}, {24, 1, 24, 6, 1}, {0, 0, 23, 5, 1}, {24, 1, 24, 6, 1}};
        for (int g = 0; g < 4; ++g)
            for (int k = 0; k < 5; ++k)
                QCOMPARE(le::getU32(b.data() + 60 + g * 20 + k * 4), groups[g][k]);
        QCOMPARE(AnalysisIntervals::unpack(b.data()).pack(), b);
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

    void recordingSpanLayout()
    {
        RecordingSpan s;
        s.valid = 1;
        s.first = {2026, 11, 2, 7, 5, 46328.0, encodeTime(7, 5)};
        s.last = {2026, 11, 15, 22, 31, 46341.0, encodeTime(22, 31)};
        const auto b = s.pack();
        QCOMPARE(b.size(), std::size_t(56));
        QCOMPARE(le::getU16(b.data() + 4), std::uint16_t(2026));
        QCOMPARE(int(b[6]), 11);
        QCOMPARE(int(b[7]), 2);
        QCOMPARE(int(b[8]), 7);
        QCOMPARE(int(b[9]), 5);
        QCOMPARE(le::getF64(b.data() + 16), 46328.0);
        QCOMPARE(le::getF64(b.data() + 24), encodeTime(7, 5));
        QCOMPARE(le::getU16(b.data() + 32), std::uint16_t(2026));
        QCOMPARE(int(b[34]), 11);
        QCOMPARE(int(b[35]), 15);
        QCOMPARE(int(b[36]), 22);
        QCOMPARE(int(b[37]), 31);
        QCOMPARE(le::getF64(b.data() + 40), 46341.0);
        QCOMPARE(le::getF64(b.data() + 48), encodeTime(22, 31));
        QCOMPARE(RecordingSpan::unpack(b.data()).pack(), b);
    }

    void defaultIntervalLength_data()
    {
        QTest::addColumn<double>("firstDate");
        QTest::addColumn<int>("firstHour");
        QTest::addColumn<double>("lastDate");
        QTest::addColumn<int>("lastHour");
        QTest::addColumn<int>("hours");
        QTest::newRow("same hour") << 46328.0 << 7 << 46328.0 << 7 << 1;
        QTest::newRow("one day") << 46328.0 << 7 << 46328.0 << 22 << 16;
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
