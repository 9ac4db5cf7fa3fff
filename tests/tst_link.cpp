// The recorder link against a scripted recorder on a simulated clock: frames
// byte for byte, reply polling, NAK loops, block reception, XON/XOFF and ESC.
#include "linksupport.h"

#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

QByteArray records(int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data.append(QString::asprintf("5A5046%02X126D0C1F%02X%02X01", i % 100, (i / 60) % 24, i % 60).toLatin1());
    return data;
}

const QByteArray kSettings("12345678" "07000C1EFFFF1500FFFFFFFF" "5A");

} // namespace

class TstLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frames_data()
    {
        QTest::addColumn<QByteArray>("made");
        QTest::addColumn<QByteArray>("frame");
        const char* const sums[] = {"3B", "37", "38", "39", "39", "3A", "3A"};
        const char* const codes[] = {"05", "10", "11", "12", "30", "31", "40"};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(codes[i]) << commandFrame(codes[i])
                                    << hex(QByteArray("024350433") + codes[i][0] + "3" + codes[i][1] + sums[i]);
        QTest::newRow("ACK") << ackFrame(true) << hex("015043373006");
        QTest::newRow("NAK") << ackFrame(false) << hex("015043373015");
    }

    void frames()
    {
        QFETCH(QByteArray, made);
        QFETCH(QByteArray, frame);
        QCOMPARE(made, frame);
    }

    // A reply arriving in various shapes; WaitReply polls every 100 ms.
    void waitReply_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");   // delivered at 50, 450, 850 ... ms
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("elapsed");
        const QByteArray ack = Reply::frame(ctl::ACK);
        const QByteArray nak = Reply::frame(ctl::NAK);
        QTest::newRow("ACK") << QList<QByteArray>{ack} << int(LinkOk) << 0 << qint64(100);
        QTest::newRow("NAK") << QList<QByteArray>{nak} << int(LinkOk) << 1 << qint64(100);
        QTest::newRow("two stray bytes first") << QList<QByteArray>{"xy" + ack} << int(LinkOk) << 0 << qint64(300);
        QTest::newRow("split after SOH") << QList<QByteArray>{ack.left(1), ack.mid(1)} << int(LinkOk) << 0
                                         << qint64(500);
        QTest::newRow("split after four bytes")
            << QList<QByteArray>{ack.left(4), ack.mid(4)} << int(LinkOk) << 0 << qint64(500);
        QTest::newRow("sixth byte neither") << QList<QByteArray>{Reply::frame('?')} << int(LinkFailed) << 0
                                            << qint64(1600);
        QTest::newRow("silence") << QList<QByteArray>{} << int(LinkFailed) << 0 << qint64(1600);
        QTest::newRow("reply too late") << QList<QByteArray>{QByteArray(), QByteArray(), QByteArray(), QByteArray(), ack}
                                        << int(LinkFailed) << 0 << qint64(1600);
    }

    void waitReply()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(int, result);
        QFETCH(int, status);
        QFETCH(qint64, elapsed);
        Rig rig;
        for (int i = 0; i < chunks.size(); ++i)
            rig.port.deliverAt(50 + 400 * i, chunks[i]);
        QCOMPARE(int(rig.link->WaitReply()), result);
        QCOMPARE(rig.link->replyStatus, status);
        QCOMPARE(rig.clock.now, elapsed);
        QVERIFY(rig.port.maxReadAsked <= 5);
    }

    // The opening presence check: "05" twice per attempt, one retry.
    void presence_data()
    {
        QTest::addColumn<QList<Reply>>("script");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("frames");
        QTest::addColumn<qint64>("elapsed");
        QTest::newRow("answered") << QList<Reply>{Reply::ack(), Reply::ack()} << int(LinkOk) << 2 << qint64(200);
        QTest::newRow("answered with NAK") << QList<Reply>{Reply::nak(), Reply::nak()} << int(LinkOk) << 2
                                           << qint64(200);
        QTest::newRow("second attempt")
            << QList<Reply>{Reply::silence(), Reply::silence(), Reply::ack(), Reply::ack()} << int(LinkOk) << 4
            << qint64(1600 + 1600 + 350 + 100 + 100);
        QTest::newRow("silent") << QList<Reply>{} << int(LinkFailed) << 4 << qint64(4 * 1600 + 350);
    }

    void presence()
    {
        QFETCH(QList<Reply>, script);
        QFETCH(int, result);
        QFETCH(int, frames);
        QFETCH(qint64, elapsed);
        SimClock clock;
        ScriptedPort port(clock);
        SimEscape escape(clock);
        MessageLog sink;
        port.replies.assign(script.begin(), script.end());
        auto session = OpenSession(port, clock, escape, {}, &sink);
        QCOMPARE(session != nullptr, result == LinkOk);
        QCOMPARE(sink.ids(), result == LinkOk ? QList<int>{} : QList<int>{224});
        QCOMPARE(port.commandCodes(), QStringList(frames, QStringLiteral("05")));
        QCOMPARE(clock.now, elapsed);
        for (const QByteArray& f : port.frameBytes())
            QCOMPARE(f, hex("0243504330353B"));
    }

    void clearData_data()
    {
        QTest::addColumn<QList<Reply>>("script");
        QTest::addColumn<bool>("pause");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<qint64>("elapsed");
        QTest::newRow("ACK") << QList<Reply>{Reply::ack(), Reply::ack()} << true << int(LinkOk)
                             << QStringList{"05", "12"} << 1 << qint64(300);
        QTest::newRow("NAK then ACK")
            << QList<Reply>{Reply::ack(), Reply::nak(), Reply::ack(), Reply::ack()} << true << int(LinkOk)
            << QStringList{"05", "12", "05", "12"} << 1 << qint64(600);
        QTest::newRow("no pause") << QList<Reply>{Reply::ack(), Reply::ack()} << false << int(LinkOk)
                                  << QStringList{"05", "12"} << 1 << qint64(200);
        QTest::newRow("unplugged") << QList<Reply>{} << true << int(LinkFailed) << QStringList{"05", "12"} << 0
                                   << qint64(100 + 3200);
        QTest::newRow("NAK then silence") << QList<Reply>{Reply::ack(), Reply::nak()} << true << int(LinkFailed)
                                          << QStringList{"05", "12", "05", "12"} << 0 << qint64(300 + 100 + 3200);
    }

    void clearData()
    {
        QFETCH(QList<Reply>, script);
        QFETCH(bool, pause);
        QFETCH(int, result);
        QFETCH(QStringList, codes);
        QFETCH(int, beeps);
        QFETCH(qint64, elapsed);
        Rig rig;
        rig.link->recordCount = 7;
        rig.port.replies.assign(script.begin(), script.end());
        QCOMPARE(int(rig.link->ClearRecorderData(pause)), result);
        QCOMPARE(rig.port.commandCodes(), codes);
        QCOMPARE(rig.beeps, beeps);
        QCOMPARE(rig.link->recordCount, result == LinkOk ? 0 : 7);
        QCOMPARE(rig.clock.now, elapsed);
    }

    void startMeasurement_data()
    {
        QTest::addColumn<int>("answered");
        QTest::newRow("silent at once") << 0;
        QTest::newRow("three answers") << 3;
    }

    void startMeasurement()
    {
        QFETCH(int, answered);
        Rig rig;
        for (int i = 0; i < answered; ++i) {
            rig.port.replies.push_back(Reply::ack());
            rig.port.replies.push_back(i == 1 ? Reply::nak() : Reply::ack());
        }
        rig.link->StartMeasurement();
        QStringList codes;
        for (int i = 0; i <= answered; ++i)
            codes << "05" << "40";
        QCOMPARE(rig.port.commandCodes(), codes);
        // Each answered exchange takes 300 ms; the silent one 100 ms and two
        // time-outs of 1.6 s.
        QCOMPARE(rig.clock.now, qint64(answered * 300 + 100 + 3200));
    }

    // The "10" block: header, length decoding, the wait per record, the
    // acknowledgement that always follows.
    void retrieve_data()
    {
        QTest::addColumn<QByteArray>("length");
        QTest::addColumn<int>("dataBytes");       // sent after the header
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("recordCount");
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<qint64>("ackAt");       // time the ACK frame goes out
        // 05/10 exchange: 100 + 100 + 100, then 100 ms, first byte poll at 430,
        // 2 s of length digits.
        const qint64 decoded = 430 + 2000;
        QTest::newRow("one record") << QByteArray("0016") << 22 << int(LinkOk) << 1 << 22
                                    << decoded + 150 + 30 + 350;
        QTest::newRow("five records") << QByteArray("006E") << 110 << int(LinkOk) << 5 << 110
                                      << decoded + 750 + 30 + 350;
        QTest::newRow("2200 characters: 15 s") << QByteArray("0898") << 2200 << int(LinkOk) << 100 << 2200
                                               << decoded + 15000 + 30 + 350;
        QTest::newRow("longest taken") << QByteArray("2000") << 8192 << int(LinkOk) << 372 << 8192
                                       << decoded + 372 * 150 + 30 + 350;
        QTest::newRow("empty") << QByteArray("0000") << 0 << int(LinkFailed) << 0 << 0 << decoded + 350;
        QTest::newRow("shorter than a record") << QByteArray("0015") << 21 << int(LinkFailed) << 0 << 21
                                               << decoded + 350;
        QTest::newRow("one past the buffer") << QByteArray("2001") << 8193 << int(LinkFailed) << 0 << 0
                                             << decoded + 350;
        QTest::newRow("FFFF") << QByteArray("FFFF") << 100 << int(LinkFailed) << 0 << 0 << decoded + 350;
        QTest::newRow("data never comes") << QByteArray("0042") << 0 << int(LinkFailed) << 3 << 66
                                          << decoded + 450 + 61 * 30 + 350;
        QTest::newRow("data cut short") << QByteArray("0042") << 50 << int(LinkFailed) << 3 << 66
                                        << decoded + 450 + 61 * 30 + 350;
    }

    void retrieve()
    {
        QFETCH(QByteArray, length);
        QFETCH(int, dataBytes);
        QFETCH(int, result);
        QFETCH(int, recordCount);
        QFETCH(int, dataLength);
        QFETCH(qint64, ackAt);
        Rig rig;
        QByteArray data = records(dataBytes / 22 + 1).left(dataBytes);
        rig.port.replies = {Reply::ack(), Reply::ack().then(dataHeader(length.constData()), 50).then(data, 80)};
        QCOMPARE(int(rig.link->RetrieveDataBlock()), result);
        QCOMPARE(rig.link->recordCount, recordCount);
        QCOMPARE(rig.link->dataLength, dataLength);
        if (result == LinkOk)
            QCOMPARE(QByteArray(rig.link->dataBuffer, dataLength), data);
        const QList<QByteArray> frames = rig.port.frameBytes();
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames.last(), ackFrame(true));
        QCOMPARE(rig.port.frames.back().at, ackAt);
        QVERIFY(rig.port.maxReadAsked <= RecorderService::kReceiveSize);
    }

    // What comes beyond the data part is read away: a checksum byte 0x13
    // would otherwise hold the acknowledgement for three minutes, and the
    // rest of a refused block would stand before the next reply.
    void leftoversDrained_data()
    {
        QTest::addColumn<QByteArray>("length");
        QTest::addColumn<QList<QByteArray>>("chunks");   // 80, 100, 120 ... ms after the "10" frame
        QTest::addColumn<int>("result");
        QTest::addColumn<qint64>("ackAt");
        const qint64 decoded = 430 + 2000;
        QTest::newRow("0x13 after the block") << QByteArray("0016") << QList<QByteArray>{records(1) + ctl::XOFF}
                                              << int(LinkOk) << decoded + 150 + 30 + 350;
        QList<QByteArray> longBlock;   // 248 pieces: still arriving well after the ACK
        const QByteArray all = records(450);
        for (qsizetype at = 0; at < all.size(); at += 40)
            longBlock.append(all.mid(at, 40));
        QTest::newRow("refused block still arriving") << QByteArray("26AC") << longBlock << int(LinkFailed)
                                                      << decoded + 350;
    }

    void leftoversDrained()
    {
        QFETCH(QByteArray, length);
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(int, result);
        QFETCH(qint64, ackAt);
        Rig rig;
        Reply block = Reply::ack().then(dataHeader(length.constData()), 50);
        for (int i = 0; i < chunks.size(); ++i)
            block = block.then(chunks[i], 80 + 20 * i);
        rig.port.replies = {Reply::ack(), block, Reply::silence(), Reply::ack(), Reply::ack()};
        QCOMPARE(int(rig.link->RetrieveDataBlock()), result);
        QCOMPARE(rig.port.frameBytes().last(), ackFrame(true));
        QCOMPARE(rig.port.frames.back().at, ackAt);
        rig.clock.sleepMs(1000);
        QCOMPARE(rig.port.bytesAvailable(), 0);
        // The next command is answered at once.
        QCOMPARE(int(rig.link->CheckPresence()), int(LinkOk));
        QCOMPARE(rig.port.commandCodes().size(), 4);
    }

    // Bad headers are answered with NAK, at most twice.
    void retrieveBadHeaders_data()
    {
        QTest::addColumn<int>("badHeaders");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("naks");
        QTest::newRow("one") << 1 << int(LinkOk) << 1;
        QTest::newRow("two") << 2 << int(LinkOk) << 2;
        QTest::newRow("three") << 3 << int(LinkFailed) << 2;
    }

    void retrieveBadHeaders()
    {
        QFETCH(int, badHeaders);
        QFETCH(int, result);
        QFETCH(int, naks);
        Rig rig;
        const QByteArray bad = dataHeader("0016").replace(1, 1, "E");
        const QByteArray good = dataHeader("0016") + records(1);
        rig.port.replies = {Reply::ack(), Reply::ack().then(bad, 50)};
        for (int i = 1; i < badHeaders; ++i)
            rig.port.replies.push_back(Reply::bytes(bad, 50));   // answer to a NAK
        rig.port.replies.push_back(Reply::bytes(good, 50));
        QCOMPARE(int(rig.link->RetrieveDataBlock()), result);
        QCOMPARE(int(rig.port.frameBytes().count(ackFrame(false))), naks);
        QCOMPARE(rig.port.frameBytes().last(), result == LinkOk ? ackFrame(true) : ackFrame(false));
        QCOMPARE(rig.link->errorCount, badHeaders);
    }

    void retrieveAfterNak()
    {
        Rig rig;
        rig.port.replies = {Reply::ack(), Reply::nak(), Reply::ack(),
                            Reply::ack().then(dataHeader("0016") + records(1), 50)};
        QCOMPARE(int(rig.link->RetrieveDataBlock()), int(LinkOk));
        QCOMPARE(rig.port.commandCodes(), (QStringList{"05", "10", "05", "10"}));
        QCOMPARE(rig.link->recordCount, 1);
    }

    void readSettings_data()
    {
        QTest::addColumn<QList<QByteArray>>("blocks");   // one per request (the first after "11", then per NAK)
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("naks");
        QTest::addColumn<int>("acks");
        const QByteArray good = settingsFrame(kSettings);
        QByteArray badSum = good;
        badSum[badSum.size() - 1] = char(badSum.back() + 1);
        const QByteArray wrongLength = dataHeader("0021");
        QTest::newRow("good") << QList<QByteArray>{good} << int(LinkOk) << 0 << 1;
        QTest::newRow("bad checksum, then good") << QList<QByteArray>{badSum, good} << int(LinkOk) << 1 << 1;
        QTest::newRow("wrong length, then good") << QList<QByteArray>{wrongLength, good} << int(LinkOk) << 1 << 1;
        QTest::newRow("three wrong lengths") << QList<QByteArray>{wrongLength, wrongLength, wrongLength}
                                             << int(LinkFailed) << 2 << 0;
        QTest::newRow("three bad checksums") << QList<QByteArray>{badSum, badSum, badSum} << int(LinkFailed) << 2
                                             << 0;
        // Byte 4 of the length is not looked at.
        QTest::newRow("length from bytes 5 to 7") << QList<QByteArray>{settingsFrame(kSettings, "Z022")}
                                                  << int(LinkOk) << 0 << 1;
        QTest::newRow("no checksum byte") << QList<QByteArray>{good.chopped(1)} << int(LinkFailed) << 0 << 0;
    }

    void readSettings()
    {
        QFETCH(QList<QByteArray>, blocks);
        QFETCH(int, result);
        QFETCH(int, naks);
        QFETCH(int, acks);
        Rig rig;
        rig.link->errorCount = 2;   // reset by the read
        rig.port.replies = {Reply::ack(), Reply::ack().then(blocks[0], 50)};
        for (int i = 1; i < blocks.size(); ++i)
            rig.port.replies.push_back(Reply::bytes(blocks[i], 50));
        QCOMPARE(int(rig.link->ReadSettingsBlock()), result);
        QCOMPARE(int(rig.port.frameBytes().count(ackFrame(false))), naks);
        QCOMPARE(int(rig.port.frameBytes().count(ackFrame(true))), acks);
        QCOMPARE(rig.link->settingsReceived, result == LinkOk);
        if (result == LinkOk)
            QCOMPARE(QByteArray(rig.link->settingsText), kSettings);
    }

    // The schedule frame: the settings block's last two characters go back.
    void writeSchedule_data()
    {
        QTest::addColumn<bool>("settingsRead");
        QTest::addColumn<Reply>("answer");
        QTest::addColumn<QByteArray>("dataPart");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("beeps");
        const QByteArray part("00000000" "07000C1EFFFF1500FFFFFFFF");
        QTest::newRow("acknowledged") << true << Reply::ack() << part + "5A" << int(LinkOk) << 1;
        QTest::newRow("rejected: not sent again") << true << Reply::nak() << part + "5A" << int(LinkFailed) << 0;
        QTest::newRow("no answer") << true << Reply::silence() << part + "5A" << int(LinkFailed) << 0;
        QTest::newRow("no settings block read") << false << Reply::ack() << part + "00" << int(LinkOk) << 1;
    }

    void writeSchedule()
    {
        QFETCH(bool, settingsRead);
        QFETCH(Reply, answer);
        QFETCH(QByteArray, dataPart);
        QFETCH(int, result);
        QFETCH(int, beeps);
        Rig rig;
        if (settingsRead) {
            qstrcpy(rig.link->settingsText, kSettings.constData());
            rig.link->settingsReceived = true;
        }
        rig.link->slotHour = {7, 12, -1, 21, 5, -1};
        rig.link->slotMinute = {0, 30, 0, 0, -1, 3};
        rig.port.replies = {Reply::ack(), Reply::ack(), answer};
        QCOMPARE(int(rig.link->WriteSchedule()), result);
        QCOMPARE(rig.beeps, beeps);
        const QList<QByteArray> frames = rig.port.frameBytes();
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[2], dataFrame(dataPart));
        QCOMPARE(frames[2].mid(1, 8), QByteArray("DPC00220"));
        // 350 ms after the acknowledged "30".
        QCOMPARE(rig.port.frames[2].at - rig.port.frames[1].at, qint64(100 + 350));
    }

    // A frame whose checksum comes to 0x00 ends before it.
    void zeroChecksumEndsFrame()
    {
        Rig rig;
        rig.link->slotHour = {-1, -1, -1, -1, -1, -1};
        rig.link->slotMinute = {-1, -1, -1, -1, -1, -1};
        bool found = false;
        for (int h = 0; h < 24 && !found; ++h) {
            for (int m = 0; m < 60 && !found; ++m) {
                rig.link->slotHour[0] = h;
                rig.link->slotMinute[0] = m;
                const int hours[6] = {h, -1, -1, -1, -1, -1};
                const int minutes[6] = {m, -1, -1, -1, -1, -1};
                found = std::uint8_t(dataFrame(scheduleDataPart(hours, minutes, "00")).back()) == 0;
            }
        }
        QVERIFY(found);
        rig.port.replies = {Reply::ack(), Reply::ack(), Reply::ack()};
        QCOMPARE(int(rig.link->WriteSchedule()), int(LinkOk));
        const int hours[6] = {rig.link->slotHour[0], -1, -1, -1, -1, -1};
        const int minutes[6] = {rig.link->slotMinute[0], -1, -1, -1, -1, -1};
        const QByteArray full = dataFrame(scheduleDataPart(hours, minutes, "00"));
        QCOMPARE(rig.port.frameBytes()[2], full.chopped(1));
        QCOMPARE(rig.port.written.size(), 7 + 7 + full.size() - 1);
    }

    void setClock_data()
    {
        QTest::addColumn<QList<Reply>>("answers");   // to the clock frame
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("clockFrames");
        QTest::newRow("ACK") << QList<Reply>{Reply::ack()} << int(LinkOk) << 1;
        QTest::newRow("NAK, NAK, ACK") << QList<Reply>{Reply::nak(), Reply::nak(), Reply::ack()} << int(LinkOk) << 3;
        QTest::newRow("NAK then silence") << QList<Reply>{Reply::nak()} << int(LinkFailed) << 2;
    }

    void setClock()
    {
        QFETCH(QList<Reply>, answers);
        QFETCH(int, result);
        QFETCH(int, clockFrames);
        Rig rig;
        rig.link->clockValues = {109, 12, 31, 23, 59};
        rig.port.replies = {Reply::ack(), Reply::ack()};
        for (const Reply& r : answers)
            rig.port.replies.push_back(r);
        QCOMPARE(int(rig.link->SetRecorderClock()), result);
        const QList<QByteArray> frames = rig.port.frameBytes();
        QCOMPARE(frames.size(), 2 + clockFrames);
        const QByteArray expected = dataFrame("6D0C1F173B");
        QCOMPARE(expected.mid(1, 8), QByteArray("DPC000A0"));
        for (int i = 2; i < frames.size(); ++i)
            QCOMPARE(frames[i], expected);
    }

    // XOFF from the recorder while a frame goes out.
    void flowControl_data()
    {
        QTest::addColumn<QByteArray>("afterThirdByte");
        QTest::addColumn<qint64>("xonAt");      // -1: never
        QTest::addColumn<qint64>("escapeAt");   // -1: never
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("bytesSent");
        QTest::addColumn<qint64>("fourthByteAt");   // -1: not sent
        QTest::newRow("stray byte discarded") << QByteArray("Z") << qint64(-1) << qint64(-1) << int(LinkOk) << 7
                                              << qint64(0);
        QTest::newRow("XON after 2 s") << QByteArray(1, ctl::XOFF) << qint64(2000) << qint64(-1) << int(LinkOk)
                                       << 7 << qint64(2000);
        QTest::newRow("XON late in a poll") << QByteArray(1, ctl::XOFF) << qint64(2050) << qint64(-1)
                                            << int(LinkOk) << 7 << qint64(2100);
        QTest::newRow("no XON: rest dropped") << QByteArray(1, ctl::XOFF) << qint64(-1) << qint64(-1)
                                              << int(LinkFailed) << 3 << qint64(-1);
        QTest::newRow("ESC ends the hold") << QByteArray(1, ctl::XOFF) << qint64(-1) << qint64(5000)
                                           << int(LinkOk) << 7 << qint64(5000);
        QTest::newRow("other bytes do not release")
            << QByteArray(1, ctl::XOFF) + "ab" << qint64(1000) << qint64(-1) << int(LinkOk) << 7 << qint64(1000);
    }

    void flowControl()
    {
        QFETCH(QByteArray, afterThirdByte);
        QFETCH(qint64, xonAt);
        QFETCH(qint64, escapeAt);
        QFETCH(int, result);
        QFETCH(int, bytesSent);
        QFETCH(qint64, fourthByteAt);
        Rig rig;
        rig.escape.pressAt = escapeAt;
        rig.port.deliverAfterWrites(3, afterThirdByte);
        if (xonAt >= 0)
            rig.port.deliverAt(xonAt, QByteArray(1, ctl::XON));
        const QByteArray frame = commandFrame("05");
        qstrcpy(rig.link->transmitBuffer, frame.constData());
        QCOMPARE(int(rig.link->SendText()), result);
        QCOMPARE(rig.port.written, frame.left(bytesSent));
        if (fourthByteAt >= 0)
            QCOMPARE(rig.port.writeTimes[3], fourthByteAt);
        if (result == LinkFailed)   // 1800 polls of 100 ms, and the poll that gives up
            QCOMPARE(rig.clock.now, qint64(1801 * 100));
    }

    // ESC during the hold is LinkCancelled from the flow check itself.
    void escapeCancels()
    {
        Rig rig;
        rig.escape.pressAt = 250;
        rig.port.deliverAt(0, QByteArray(1, ctl::XOFF));
        QCOMPARE(int(rig.link->CheckFlowControl()), int(LinkCancelled));
        QCOMPARE(rig.clock.now, qint64(300));
    }
};

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
