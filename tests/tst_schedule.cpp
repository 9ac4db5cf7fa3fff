// Recorder setup: the settings block's six slots, the dialog's slot texts
// and duplicate rule, the clock values, and the transfer's order of frames;
// the clear-data flow.
#include "linksupport.h"
#include "recorder/recorderflows.h"

#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

ScheduleSlot at(int h, int m) { return ScheduleSlot{h, m}; }
const ScheduleSlot off{};

} // namespace

class TstSchedule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void slotsFromBlock_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QStringList>("texts");   // hour and minute text of each slot
        QTest::addColumn<QByteArray>("sentBack"); // the schedule sent back unchanged
        const QByteArray example("00000000" "07000C1EFFFF1500FFFFFFFF" "3A");
        QTest::newRow("documented example")
            << example << QStringList{"7", "00", "12", "30", "off", "", "21", "00", "off", "", "off", ""} << example;
        QTest::newRow("FF in the minute only")
            << QByteArray("00000000" "08FFFF00" "0005" "173B" "FFFFFFFF" "00")
            << QStringList{"off", "", "off", "", "0", "05", "23", "59", "off", "", "off", ""}
            << QByteArray("00000000" "FFFFFFFF" "0005" "173B" "FFFFFFFF" "00");
        QTest::newRow("lower-case digits")
            << QByteArray("00000000" "0a0bFFFFFFFFFFFFFFFFFFFF" "00")
            << QStringList{"10", "11", "off", "", "off", "", "off", "", "off", "", "off", ""}
            << QByteArray("00000000" "0A0BFFFFFFFFFFFFFFFFFFFF" "00");
    }

    void slotsFromBlock()
    {
        QFETCH(QByteArray, block);
        QFETCH(QStringList, texts);
        QFETCH(QByteArray, sentBack);
        const Schedule schedule = slotsFromSettings(block.constData());
        QStringList got;
        for (const ScheduleSlot& s : schedule) {
            const SlotTexts t = textsOfSlot(s);
            got << t.hour << t.minute;
        }
        QCOMPARE(got, texts);
        int hours[6];
        int minutes[6];
        for (int i = 0; i < 6; ++i) {
            hours[i] = schedule[std::size_t(i)].hour;
            minutes[i] = schedule[std::size_t(i)].minute;
        }
        QCOMPARE(scheduleDataPart(hours, minutes, block.constData() + 32), sentBack);
    }

    void minuteEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("75") << "75" << "59";
        QTest::newRow("60") << "60" << "59";
        QTest::newRow("59") << "59" << "59";
        QTest::newRow("10") << "10" << "10";
        QTest::newRow("5") << "5" << "05";
        QTest::newRow("0") << "0" << "00";
        QTest::newRow("-3") << "-3" << "00";
        QTest::newRow("empty") << "" << "00";
        QTest::newRow("not a number") << "ab" << "00";
    }

    void minuteEdit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(leaveMinuteEdit(typed), shown);
    }

    void hourBox_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("hourAfter");
        QTest::addColumn<QString>("minuteAfter");
        QTest::newRow("30 gives 23") << "30" << "15" << "23" << "15";
        QTest::newRow("-2 gives 0") << "-2" << "15" << "0" << "15";
        QTest::newRow("emptied") << "" << "15" << "off" << "";
        QTest::newRow("off") << "off" << "0" << "off" << "";
        QTest::newRow("hour with empty minute") << "7" << "" << "7" << "00";
        QTest::newRow("not a number") << "x" << "15" << "off" << "";
    }

    void hourBox()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QString, hourAfter);
        QFETCH(QString, minuteAfter);
        const SlotTexts after = leaveHourBox({hour, minute});
        QCOMPARE(after.hour, hourAfter);
        QCOMPARE(after.minute, minuteAfter);
    }

    void duplicates_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<bool>>("marked");
        const QStringList offs{"off", "", "off", "", "off", "", "off", "", "off", "", "off", ""};
        QStringList t = offs;
        t[0] = "8"; t[1] = "00"; t[6] = "8"; t[7] = "00";
        QTest::newRow("slots 1 and 4 at 8:00") << t << QList<bool>{false, false, false, true, false, false};
        QTest::newRow("all off") << offs << QList<bool>(6, false);
        t = offs;
        t[0] = "8"; t[1] = "00"; t[2] = "8"; t[3] = "00"; t[4] = "8"; t[5] = "00";
        QTest::newRow("three times the same") << t << QList<bool>{false, true, true, false, false, false};
        t = offs;
        t[0] = "8"; t[1] = "00"; t[2] = "8"; t[3] = "01";
        QTest::newRow("different minutes") << t << QList<bool>(6, false);
        t = offs;
        t[0] = "8"; t[1] = "00"; t[2] = "08"; t[3] = "00";
        QTest::newRow("compared as text") << t << QList<bool>(6, false);
    }

    void duplicates()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<bool>, marked);
        std::array<SlotTexts, kScheduleSlots> slotTexts;
        for (int i = 0; i < kScheduleSlots; ++i)
            slotTexts[std::size_t(i)] = {texts[2 * i], texts[2 * i + 1]};
        const auto dup = duplicateSlots(slotTexts);
        QCOMPARE(QList<bool>(dup.begin(), dup.end()), marked);
    }

    void slotFromDialog_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<int>("sentHour");
        QTest::addColumn<int>("sentMinute");
        QTest::newRow("7:05") << "7" << "05" << 7 << 5;
        QTest::newRow("off") << "off" << "" << -1 << -1;
        QTest::newRow("design state: off with 0") << "off" << "0" << -1 << -1;
        QTest::newRow("empty minute") << "7" << "" << -1 << -1;
        QTest::newRow("modulo 256") << "300" << "10" << 44 << 10;
        QTest::newRow("not a number") << "7" << "x" << -1 << -1;
    }

    void slotFromDialog()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(int, sentHour);
        QFETCH(int, sentMinute);
        const ScheduleSlot s = slotFromTexts({hour, minute});
        QCOMPARE(s.hour, sentHour);
        QCOMPARE(s.minute, sentMinute);
    }

    void clockValues_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QByteArray>("dataPart");
        QTest::newRow("31 Dec 2009 23:59") << QDateTime(QDate(2009, 12, 31), QTime(23, 59)) << QByteArray("6D0C1F173B");
        QTest::newRow("1996 stays 96") << QDateTime(QDate(1996, 1, 1), QTime(0, 0)) << QByteArray("6001010000");
        QTest::newRow("1995 becomes 195") << QDateTime(QDate(1995, 6, 7), QTime(8, 9)) << QByteArray("C306070809");
        QTest::newRow("2026") << QDateTime(QDate(2026, 11, 2), QTime(7, 30)) << QByteArray("7E0B02071E");
    }

    void clockValues()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QByteArray, dataPart);
        const std::array<int, 5> v = clockValuesFor(moment);
        QCOMPARE(clockDataPart(v.data()), dataPart);
    }

    void dateOrder_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("text");
        QTest::newRow("ja_JP") << "ja_JP" << 2 << "2009/12/31";
        QTest::newRow("en_US") << "en_US" << 0 << "12/31/2009";
        QTest::newRow("de_DE") << "de_DE" << 1 << "31/12/2009";
    }

    void dateOrder()
    {
        QFETCH(QString, locale);
        QFETCH(int, order);
        QFETCH(QString, text);
        QCOMPARE(dateOrderOf(QLocale(locale)), order);
        QCOMPARE(dateTextInOrder(QDate(2009, 12, 31), order), text);
    }

    // The transfer: clear, clock, schedule, in that order, each optional but
    // the schedule.
    void transfer_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("clock");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("dataFrames");
        QTest::newRow("no to both") << false << false << QStringList{"05", "30"} << 1;
        QTest::newRow("clear only") << true << false << QStringList{"05", "12", "05", "30"} << 1;
        QTest::newRow("clock only") << false << true << QStringList{"05", "31", "05", "30"} << 2;
        QTest::newRow("both") << true << true << QStringList{"05", "12", "05", "31", "05", "30"} << 2;
    }

    void transfer()
    {
        QFETCH(bool, clear);
        QFETCH(bool, clock);
        QFETCH(QStringList, codes);
        QFETCH(int, dataFrames);
        Rig rig;
        for (int i = 0; i < 8; ++i)
            rig.port.replies.push_back(Reply::ack());
        SetupRequest request;
        request.clear = clear;
        // The moment is taken once the clear is acknowledged, not before.
        QStringList codesWhenTimeTaken{"none"};
        request.clock = [&]() -> std::optional<QDateTime> {
            codesWhenTimeTaken = rig.port.commandCodes();
            return clock ? std::optional<QDateTime>(QDateTime(QDate(2009, 12, 31), QTime(23, 59))) : std::nullopt;
        };
        request.schedule = {at(7, 0), at(12, 30), off, at(21, 0), off, off};
        const SetupResults results = runSetupTransfer(*rig.link, request);
        QCOMPARE(codesWhenTimeTaken, codes.mid(0, clear ? 2 : 0));
        QCOMPARE(results.schedule, LinkOk);
        QCOMPARE(results.clear.has_value(), clear);
        QCOMPARE(results.clock.has_value(), clock);
        QCOMPARE(rig.port.commandCodes(), codes);
        QList<QByteArray> data;
        for (const WrittenFrame& f : rig.port.frames) {
            if (f.kind == FrameAssembler::Kind::Data)
                data.append(f.bytes.mid(9, f.bytes.size() - 10));
        }
        QCOMPARE(data.size(), dataFrames);
        if (clock)
            QCOMPARE(data.first(), QByteArray("6D0C1F173B"));
        QCOMPARE(data.last(), QByteArray("00000000" "07000C1EFFFF1500FFFFFFFF" "00"));
        // One beep for an acknowledged clear, one for the schedule.
        QCOMPARE(rig.beeps, clear ? 2 : 1);
    }

    // After a settings read, the schedule carries the block's tail.
    void readThenWrite()
    {
        Rig rig;
        const QByteArray block("ABCDEFGH" "0700FFFFFFFFFFFFFFFFFFFF" "7Q");
        rig.port.replies = {Reply::ack(), Reply::ack().then(settingsFrame(block), 50), Reply::silence(),
                            Reply::ack(), Reply::ack(), Reply::ack()};
        const std::optional<Schedule> read = readSchedule(*rig.link);
        QVERIFY(read.has_value());
        QCOMPARE((*read)[0].hour, 7);
        QVERIFY((*read)[1].off());
        SetupRequest request;
        request.schedule = *read;
        request.schedule[5] = at(22, 15);
        QCOMPARE(runSetupTransfer(*rig.link, request).schedule, LinkOk);
        const QByteArray last = rig.port.frames.back().bytes;
        QCOMPARE(last.mid(9, 34), QByteArray("00000000" "0700FFFFFFFFFFFFFFFF160F" "7Q"));
    }

    void readScheduleFails()
    {
        Rig rig;
        QVERIFY(!readSchedule(*rig.link).has_value());
    }

    void clearFlow_data()
    {
        QTest::addColumn<QList<Reply>>("script");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<int>("beeps");
        QTest::newRow("acknowledged") << QList<Reply>{Reply::ack(), Reply::ack()} << int(LinkOk) << QList<int>{}
                                      << 2;
        QTest::newRow("unplugged") << QList<Reply>{} << int(LinkFailed) << QList<int>{224} << 0;
    }

    void clearFlow()
    {
        QFETCH(QList<Reply>, script);
        QFETCH(int, result);
        QFETCH(QList<int>, messages);
        QFETCH(int, beeps);
        Rig rig;
        MessageLog sink;
        rig.link->recordCount = 4;
        rig.port.replies.assign(script.begin(), script.end());
        QCOMPARE(int(clearDataFlow(*rig.link, &sink)), result);
        QCOMPARE(sink.ids(), messages);
        QCOMPARE(rig.beeps, beeps);
        // Nothing follows the acknowledged "12": the last frame is it.
        QCOMPARE(rig.port.commandCodes().last(), QStringLiteral("12"));
        QCOMPARE(rig.port.written.size(), rig.port.frames.size() * 7);
        if (result == LinkOk)
            QCOMPARE(rig.link->recordCount, 0);
    }
};

QTEST_GUILESS_MAIN(TstSchedule)
#include "tst_schedule.moc"
