// The recorder link and the recorder menu's flows against a scripted recorder
// on a simulated clock. Each scenario's transcript (every frame written, with
// its time, then the outcome and the session's state) is compared with
// golden/link.txt: frames byte for byte, reply polling, NAK loops, block
// reception and the drain after it, XON/XOFF, ESC, setup and clear flows.
#include "linksupport.h"
#include "recorder/recorderflows.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

const Reply A = Reply::ack(), N = Reply::nak(), S = Reply::silence();
const QByteArray kAck = Reply::frame(ctl::ACK);
const QByteArray kSettings("12345678" "07000C1EFFFF1500FFFFFFFF" "5A");

QByteArray records(int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data.append(QString::asprintf("5A5046%02X126D0C1F%02X%02X01", i % 100, (i / 60) % 24, i % 60).toLatin1());
    return data;
}

// "05" and "10" acknowledged, the header 50 ms and `chunks` from 80 ms on
// (20 ms apart) after the "10".
QList<Reply> block(const char* length, const QList<QByteArray>& chunks, const QList<Reply>& after = {})
{
    Reply r = A.then(dataHeader(length), 50);
    for (int i = 0; i < chunks.size(); ++i)
        r = r.then(chunks[i], 80 + 20 * i);
    return QList<Reply>{A, r} + after;
}

// "05" and "11" acknowledged, then one settings frame per request (the
// first after "11", the others after each NAK).
QList<Reply> settings(const QList<QByteArray>& frames)
{
    QList<Reply> r{A, A.then(frames[0], 50)};
    for (int i = 1; i < frames.size(); ++i)
        r << Reply().then(frames[i], 50);
    return r;
}

using Run = std::function<int(Rig&)>;   // the result; -1 for none
#define RUN(...) [](Rig& r) { return int(__VA_ARGS__); }

// WaitReply with `chunks` arriving at 50, 450, 850 ... ms.
Run reply(const QList<QByteArray>& chunks)
{
    return [chunks](Rig& r) {
        for (int i = 0; i < chunks.size(); ++i)
            r.port.deliverAt(50 + 400 * i, chunks[i]);
        return int(r.link->WaitReply());
    };
}

// A "05" frame sent while `afterThirdByte` comes in after its third byte;
// XON and ESC at the given times (-1: never).
Run flow(const QByteArray& afterThirdByte, std::int64_t xonAt, std::int64_t escapeAt)
{
    return [=](Rig& r) {
        r.escape.pressAt = escapeAt;
        r.port.deliverAfterWrites(3, afterThirdByte);
        if (xonAt >= 0)
            r.port.deliverAt(xonAt, QByteArray(1, ctl::XON));
        qstrcpy(r.link->transmitBuffer, commandFrame("05").constData());
        return int(r.link->SendText());
    };
}

QString optional(const std::optional<LinkResult>& r) { return r ? QString::number(*r) : QStringLiteral("-"); }

// The setup transfer of 7:00, 12:30, 21:00 (or of the schedule read),
// noting when the moment for the clock is asked.
Run transfer(bool clear, bool clock, bool readFirst = false)
{
    return [=](Rig& r) {
        Schedule schedule{{{7, 0}, {12, 30}, {}, {21, 0}, {}, {}}};
        if (readFirst) {
            schedule = readSchedule(*r.link).value_or(Schedule{});
            schedule[5] = {22, 15};
        }
        const QDateTime moment(QDate(2009, 12, 31), QTime(23, 59));
        SetupRequest request{clear, [&r, clock, moment]() -> std::optional<QDateTime> {
                                 r.port.note(QStringLiteral("moment asked"));
                                 return clock ? std::optional(moment) : std::nullopt;
                             },
                             schedule};
        const SetupResults results = runSetupTransfer(*r.link, request);
        r.port.note(QStringLiteral("clear %1, clock %2").arg(optional(results.clear), optional(results.clock)));
        return int(results.schedule);
    };
}

struct Scenario {
    QString name;
    QList<Reply> replies;
    Run run;
};

QList<Scenario> scenarios()
{
    const QByteArray good = settingsFrame(kSettings);
    QByteArray badSum = good;
    badSum.back() = char(badSum.back() + 1);
    const QByteArray shortLength = dataHeader("0021");
    const QByteArray badHeader = dataHeader("0016").replace(1, 1, "E");
    QList<QByteArray> longBlock;   // 248 pieces: still arriving well after the ACK
    for (qsizetype at = 0; at < 450 * 22; at += 40)
        longBlock << records(450).mid(at, 40);
    const Run retrieve = RUN(r.link->RetrieveDataBlock());
    const Run presence = RUN(OpenSession(r.port, r.clock, r.escape, {}, &r.log) ? 0 : 1);
    const Run clear = RUN(r.link->ClearRecorderData(true));
    const Run readSettings = RUN((r.link->errorCount = 2, r.link->ReadSettingsBlock()));   // reset by the read
    const Run writeSchedule = RUN(r.link->WriteSchedule());
    const Run afterSettings = RUN((qstrcpy(r.link->settingsText, kSettings.constData()),
                                   r.link->settingsReceived = true, r.link->WriteSchedule()));
    // The next command after a block is answered at once.
    const auto retrieveThenPresence = [](Rig& r) {
        r.port.note(QStringLiteral("retrieved: %1").arg(r.link->RetrieveDataBlock()));
        r.clock.sleepMs(1000);
        return int(r.link->CheckPresence());
    };
    const auto bad = [&](int n) { return QList<Reply>(n, Reply().then(badHeader, 50)); };
    const Reply good1 = Reply().then(dataHeader("0016") + records(1), 50);
    return {
        {"reply: ACK", {}, reply({kAck})},
        {"reply: NAK", {}, reply({Reply::frame(ctl::NAK)})},
        {"reply: two stray bytes first", {}, reply({"xy" + kAck})},
        {"reply: split after SOH", {}, reply({kAck.left(1), kAck.mid(1)})},
        {"reply: split after four bytes", {}, reply({kAck.left(4), kAck.mid(4)})},
        {"reply: sixth byte neither", {}, reply({Reply::frame('?')})},
        {"reply: after the 16th poll", {}, reply({{}, {}, {}, {}, kAck})},

        {"presence: answered", {A, A}, presence},
        {"presence: NAK is an answer", {N, N}, presence},
        {"presence: second attempt", {S, S, A, A}, presence},
        {"presence: silent, message 224", {}, presence},

        {"clear: ACK", {A, A}, clear},
        {"clear: NAK then ACK", {A, N, A, A}, clear},
        {"clear: no pause", {A, A}, RUN(r.link->ClearRecorderData(false))},
        {"clear: unplugged", {}, clear},
        {"clear: NAK then silence", {A, N}, clear},
        {"clear flow: acknowledged", {A, A}, RUN(clearDataFlow(*r.link, &r.log))},
        {"clear flow: unplugged, message 224", {}, RUN(clearDataFlow(*r.link, &r.log))},

        {"measure: silent at once", {}, RUN((r.link->StartMeasurement(), -1))},
        {"measure: three answers, one NAK", {A, A, A, N, A, A}, RUN((r.link->StartMeasurement(), -1))},

        {"retrieve: five records, 150 ms each", block("006E", {records(5)}), retrieve},
        {"retrieve: the longest taken", block("2000", {records(373).left(8192)}), retrieve},
        {"retrieve: one past the buffer", block("2001", {records(373).left(8193)}), retrieve},
        {"retrieve: empty", block("0000", {}), retrieve},
        {"retrieve: shorter than a record", block("0015", {records(1).left(21)}), retrieve},
        {"retrieve: length FFFF", block("FFFF", {records(5).left(100)}), retrieve},
        {"retrieve: data never comes", block("0042", {}), retrieve},
        {"retrieve: data cut short", block("0042", {records(3).left(50)}), retrieve},
        {"retrieve: 0x13 after the block is read away", block("0016", {records(1) + ctl::XOFF}, {S, A, A}),
         retrieveThenPresence},
        {"retrieve: the rest of a refused block is read away", block("26AC", longBlock, {S, A, A}),
         retrieveThenPresence},
        {"retrieve: bad header, NAK, good block", QList<Reply>{A, A.then(badHeader, 50), good1}, retrieve},
        {"retrieve: two bad headers", QList<Reply>{A, A.then(badHeader, 50)} + bad(1) << good1, retrieve},
        {"retrieve: three bad headers", QList<Reply>{A, A.then(badHeader, 50)} + bad(2), retrieve},
        {"retrieve: 10 answered with NAK, sent again", {A, N, A, A.then(dataHeader("0016") + records(1), 50)}, retrieve},

        {"settings: good", settings({good}), readSettings},
        {"settings: bad checksum, then good", settings({badSum, good}), readSettings},
        {"settings: wrong length, then good", settings({shortLength, good}), readSettings},
        {"settings: three wrong lengths", settings({shortLength, shortLength, shortLength}), readSettings},
        {"settings: three bad checksums", settings({badSum, badSum, badSum}), readSettings},
        {"settings: length from bytes 5 to 7", settings({settingsFrame(kSettings, "Z022")}), readSettings},
        {"settings: no checksum byte", settings({good.chopped(1)}), readSettings},
        {"settings: read then written back with slot 6 at 22:15",
         {A, A.then(settingsFrame("ABCDEFGH" "0700FFFFFFFFFFFFFFFFFFFF" "7Q"), 50), S, A, A, A},
         transfer(false, false, true)},
        {"settings: none to read", {}, RUN(readSchedule(*r.link).has_value())},

        {"schedule: acknowledged, the block's tail sent back", {A, A, A}, afterSettings},
        {"schedule: rejected, not sent again", {A, A, N}, afterSettings},
        {"schedule: no answer", {A, A, S}, afterSettings},
        {"schedule: no settings block read", {A, A, A}, writeSchedule},
        {"schedule: 5:47 sums to 0x00 and ends before its checksum", {A, A, A},
         RUN((r.link->slotHour = {5, -1, -1, -1, -1, -1}, r.link->slotMinute = {47, -1, -1, -1, -1, -1},
              r.link->WriteSchedule()))},

        {"clock: ACK", {A, A, A}, RUN(r.link->SetRecorderClock())},
        {"clock: NAK, NAK, ACK", {A, A, N, N, A}, RUN(r.link->SetRecorderClock())},
        {"clock: NAK then silence", {A, A, N}, RUN(r.link->SetRecorderClock())},

        {"setup: neither clear nor clock", {A, A, A, A}, transfer(false, false)},
        {"setup: clear only", QList<Reply>(6, A), transfer(true, false)},
        {"setup: clock only", QList<Reply>(6, A), transfer(false, true)},
        {"setup: clear and clock", QList<Reply>(8, A), transfer(true, true)},
        {"setup: clear unanswered, nothing more sent", {A, S}, transfer(true, true)},
        {"setup: clock unanswered, the schedule not sent", {A, A, S}, transfer(false, true)},

        {"XOFF: a stray byte is dropped", {}, flow("Z", -1, -1)},
        {"XOFF: XON after 2 s", {}, flow(QByteArray(1, ctl::XOFF), 2000, -1)},
        {"XOFF: XON late in a poll", {}, flow(QByteArray(1, ctl::XOFF), 2050, -1)},
        {"XOFF: other bytes do not release", {}, flow(QByteArray(1, ctl::XOFF) + "ab", 1000, -1)},
        {"XOFF: no XON, the rest dropped after 1800 polls", {}, flow(QByteArray(1, ctl::XOFF), -1, -1)},
        {"XOFF: ESC ends the hold", {}, flow(QByteArray(1, ctl::XOFF), -1, 5000)},
        {"XOFF: ESC is LinkCancelled from the flow check", {},
         RUN((r.escape.pressAt = 250, r.port.deliverAt(0, QByteArray(1, ctl::XOFF)), r.link->CheckFlowControl()))},
    };
}

// The outcome and what the session holds afterwards; then what is still
// waiting on the line 10 s later.
QString outcome(Rig& r, int result)
{
    const RecorderService& l = *r.link;
    QString s = QStringLiteral("%1  -> %2, status %3, errors %4, records %5, beeps %6, reads of up to %7")
                    .arg(r.clock.now, 6)
                    .arg(result < 0 ? QStringLiteral("-") : QString::number(result))
                    .arg(l.replyStatus).arg(l.errorCount).arg(l.recordCount).arg(r.beeps).arg(r.port.maxReadAsked);
    for (const int id : r.log.ids())
        s += QStringLiteral(", message %1").arg(id);
    // The block taken, as far as a transfer succeeded.
    const QByteArray data(l.dataBuffer, result == LinkOk ? l.dataLength : 0);
    if (l.dataLength > 0)
        s += QStringLiteral("\n        data %1").arg(l.dataLength)
             + (data.isEmpty() ? QString()
                               : ": " + shownBytes(data.size() <= 44 ? data : data.left(22) + ".." + data.right(22)));
    if (l.settingsReceived)
        s += QStringLiteral("\n        settings %1").arg(QString::fromLatin1(l.settingsText));
    if (!r.port.unfinished().isEmpty())
        s += QStringLiteral("\n        unfinished %1").arg(shownBytes(r.port.unfinished()));
    r.clock.sleepMs(10000);
    if (const int left = r.port.bytesAvailable())
        s += QStringLiteral("\n        %1 bytes left on the line").arg(left);
    return s;
}

} // namespace

class TstLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void transcripts()
    {
        QString text;
        for (const Scenario& scenario : scenarios()) {
            Rig rig;
            rig.script(scenario.replies);
            rig.link->recordCount = 7;
            rig.link->clockValues = {109, 12, 31, 23, 59};
            rig.link->slotHour = {7, 12, -1, 21, 5, -1};
            rig.link->slotMinute = {0, 30, 0, 0, -1, 3};
            const int result = scenario.run(rig);
            rig.port.transcript << outcome(rig, result);
            text += QStringLiteral("== %1\n%2\n").arg(scenario.name, rig.port.transcript.join(QLatin1Char('\n')));
        }
        KS318_COMPARE_GOLDEN(text.toUtf8(), "link.txt");
    }
};

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
