// The recorder link and the recorder menu's flows against a scripted recorder
// on a simulated clock: the scenarios of golden/link-scenarios.txt, each
// transcript compared with golden/link.txt (frames byte for byte, reply
// polling, NAK loops, block reception and the drain after it, XON/XOFF, ESC,
// setup and clear flows); then the rules and the files behind the recorder
// menu's setup and retrieval dialogs.
#include "linksupport.h"
#include "recorder/recorderflows.h"
#include "recorder/retrieval.h"
#include "recorder/schedule.h"
#include "records/bpdatafile.h"
#include "records/dataset.h"
#include "session/session.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

const QByteArray kSettings("12345678" "07000C1EFFFF1500FFFFFFFF" "5A");

QByteArray records(int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data.append(QString::asprintf("5A5046%02X126D0C1F%02X%02X01", i % 100, (i / 60) % 24, i % 60).toLatin1());
    return data;
}

// BYTES of link-scenarios.txt.
QByteArray bytesOf(const QString& text)
{
    QByteArray out;
    for (const QString& part : text.split(QLatin1Char('.'))) {
        const QString kind = part.section(QLatin1Char(':'), 0, 0);
        const QByteArray arg = part.section(QLatin1Char(':'), 1).toLatin1();
        if (part.startsWith(QLatin1Char('"')))
            out += unescaped(part.mid(1).chopped(1).toLatin1());
        else if (kind == QLatin1String("ack") || kind == QLatin1String("nak"))
            out += Reply::frame(kind == QLatin1String("ack") ? ctl::ACK : ctl::NAK);
        else if (kind == QLatin1String("hdr"))
            out += dataHeader(arg.constData());
        else if (kind == QLatin1String("rec"))
            out += records(arg.split(':')[0].toInt()).left(arg.contains(':') ? arg.split(':')[1].toInt() : 1 << 20);
        else if (kind == QLatin1String("set"))
            out += settingsFrame(arg.startsWith('"') ? arg.mid(1).chopped(1) : kSettings,
                                 arg.size() == 4 ? arg.constData() : "0022").chopped(arg == "cut" ? 1 : 0);
        if (arg == "bad")
            out.back() = char(out.back() + 1);
    }
    return out;
}

// One reply of REPLIES.
Reply replyOf(const QString& text)
{
    Reply r;
    for (QString piece : text.split(QLatin1Char('+'))) {
        piece = piece == QLatin1String("A") ? QStringLiteral("ack@20") : piece == QLatin1String("N") ? "nak@20" : piece;
        if (!piece.contains(QLatin1Char('@')))
            continue;
        const QByteArray bytes = bytesOf(piece.section(QLatin1Char('@'), 0, -2));
        const QStringList at = piece.section(QLatin1Char('@'), -1).split(QRegularExpression(QStringLiteral("[/:]")));
        const int size = at.size() == 3 ? at[2].toInt() : int(bytes.size());
        for (int i = 0; i == 0 || i * size < bytes.size(); ++i)
            r = r.then(bytes.mid(i * size, size), at[0].toInt() + i * at.value(1).toInt());
    }
    return r;
}

using Run = std::function<int(Rig&)>;   // the result; -1 for none
#define RUN(...) [](Rig& r) { return int(__VA_ARGS__); }

QString optional(const std::optional<LinkResult>& r) { return r ? QString::number(*r) : QStringLiteral("-"); }

// One RUN of link-scenarios.txt.
Run runOf(const QString& text)
{
    const QStringList w = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<QByteArray> chunks;
    for (const QString& chunk : w.mid(1))
        chunks << bytesOf(chunk);
    if (w[0] == QLatin1String("reply"))
        return [chunks](Rig& r) {
            for (int i = 0; i < chunks.size(); ++i)
                r.port.deliverAt(50 + 400 * i, chunks[i]);
            return int(r.link->WaitReply());
        };
    if (w[0] == QLatin1String("flow"))
        return [afterThirdByte = chunks[0], xonAt = w[2].toInt(), escapeAt = w[3].toInt()](Rig& r) {
            r.escape.pressAt = escapeAt;
            r.port.deliverAfterWrites(3, afterThirdByte);
            if (xonAt >= 0)
                r.port.deliverAt(xonAt, QByteArray(1, ctl::XON));
            qstrcpy(r.link->transmitBuffer, commandFrame("05").constData());
            return int(r.link->SendText());
        };
    if (w[0] == QLatin1String("setup"))
        return [clear = w.contains(QLatin1String("clear")), clock = w.contains(QLatin1String("clock")),
                readFirst = w.contains(QLatin1String("read"))](Rig& r) {
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
    const QMap<QString, Run> runs{
        {"presence", RUN(OpenSession(r.port, r.clock, r.escape, {}, &r.log) ? 0 : 1)},
        {"clear", RUN(r.link->ClearRecorderData(true))},
        {"clear-at-once", RUN(r.link->ClearRecorderData(false))},
        {"clear-flow", RUN(clearDataFlow(*r.link, &r.log))},
        {"measure", RUN((r.link->StartMeasurement(), -1))},
        {"retrieve", RUN(r.link->RetrieveDataBlock())},
        {"retrieve-then-presence",
         [](Rig& r) {
             r.port.note(QStringLiteral("retrieved: %1").arg(r.link->RetrieveDataBlock()));
             r.clock.sleepMs(1000);
             return int(r.link->CheckPresence());
         }},
        {"read-settings", RUN((r.link->errorCount = 2, r.link->ReadSettingsBlock()))},   // reset by the read
        {"read-schedule", RUN(readSchedule(*r.link).has_value())},
        {"schedule", RUN(r.link->WriteSchedule())},
        {"schedule-after-settings", RUN((qstrcpy(r.link->settingsText, kSettings.constData()),
                                         r.link->settingsReceived = true, r.link->WriteSchedule()))},
        {"schedule-5:47", RUN((r.link->slotHour = {5, -1, -1, -1, -1, -1},
                               r.link->slotMinute = {47, -1, -1, -1, -1, -1}, r.link->WriteSchedule()))},
        {"clock", RUN(r.link->SetRecorderClock())},
        {"flow-check", RUN((r.escape.pressAt = 250, r.port.deliverAt(0, QByteArray(1, ctl::XOFF)),
                            r.link->CheckFlowControl()))},
    };
    return runs.value(w[0]);
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
        for (const QByteArray& line : test::golden(QStringLiteral("link-scenarios.txt")).split('\n')) {
            const QStringList f = QString::fromUtf8(line).split(QLatin1Char('|'));
            if (line.startsWith('#') || f.size() != 3)
                continue;
            Rig rig;
            for (const QString& reply : f[1].split(QLatin1Char(' '), Qt::SkipEmptyParts))
                rig.port.replies.push_back(replyOf(reply));
            rig.link->recordCount = 7;
            rig.link->clockValues = {109, 12, 31, 23, 59};
            rig.link->slotHour = {7, 12, -1, 21, 5, -1};
            rig.link->slotMinute = {0, 30, 0, 0, -1, 3};
            const Run run = runOf(f[2]);
            QVERIFY2(run, qPrintable(f[2]));
            rig.port.transcript << outcome(rig, run(rig));
            text += QStringLiteral("== %1\n%2\n").arg(f[0].trimmed(), rig.port.transcript.join(QLatin1Char('\n')));
        }
        KS318_COMPARE_GOLDEN(text.toUtf8(), "link.txt");
    }

    // The setup dialog's rules, each input with what comes out, against
    // golden/schedule.txt: the settings block's six slots and the schedule
    // sent back, leaving the hour box and the minute edit, the duplicate
    // rule, the slot sent for the dialog's texts, the clock values and the
    // date order.
    void scheduleRules()
    {
        // The rule and the input of each line "RULE 'IN' -> 'OUT'" of the file.
        QString t;
        const auto texts = [](const QString& s) { return SlotTexts{s.section('/', 0, 0), s.section('/', 1)}; };
        const auto shown = [](const SlotTexts& s) { return s.hour + QLatin1Char('/') + s.minute; };
        for (const QString& line : QString::fromUtf8(golden("schedule.txt")).split('\n', Qt::SkipEmptyParts)) {
            const QString rule = line.section(QStringLiteral(" '"), 0, 0);
            const QString in = line.section(QLatin1Char('\''), 1, 1);
            QString out;
            if (rule == QLatin1String("block")) {
                const Schedule schedule = slotsFromSettings(in.toLatin1().constData());
                QStringList slots;
                int hours[6], minutes[6];
                for (int i = 0; i < 6; ++i) {
                    slots << shown(textsOfSlot(schedule[std::size_t(i)]));
                    hours[i] = schedule[std::size_t(i)].hour;
                    minutes[i] = schedule[std::size_t(i)].minute;
                }
                out = slots.join(QLatin1Char(' ')) + " sent back as "
                      + QString::fromLatin1(scheduleDataPart(hours, minutes, in.toLatin1().constData() + 32));
            } else if (rule == QLatin1String("minute edit")) {
                out = leaveMinuteEdit(in);
            } else if (rule == QLatin1String("hour box")) {
                out = shown(leaveHourBox(texts(in)));
            } else if (rule == QLatin1String("duplicates")) {
                std::array<SlotTexts, kScheduleSlots> slots;
                for (int i = 0; i < kScheduleSlots; ++i)
                    slots[std::size_t(i)] = texts(in.section(QLatin1Char(' '), i, i));
                const auto duplicate = duplicateSlots(slots);
                for (int i = 0; i < kScheduleSlots; ++i)
                    out += duplicate[std::size_t(i)] ? QLatin1Char('X') : QLatin1Char('-');
            } else if (rule == QLatin1String("slot sent")) {
                const ScheduleSlot sent = slotFromTexts(texts(in));
                out = QStringLiteral("%1 %2").arg(sent.hour).arg(sent.minute);
            } else if (rule == QLatin1String("clock")) {
                out = QString::fromLatin1(clockDataPart(clockValuesFor(QDateTime::fromString(in, Qt::ISODate)).data()));
            } else if (rule == QLatin1String("date order")) {
                const int order = dateOrderOf(QLocale(in));
                out = QString::number(order) + ' ' + dateTextInOrder(QDate(2009, 12, 31), order);
            }
            t += QStringLiteral("%1 '%2' -> '%3'\n").arg(rule, in, out);
        }
        KS318_COMPARE_GOLDEN(t.toUtf8(), "schedule.txt");
    }

    // Retrieval: record lines, the no-data rule, the first reading's moment,
    // the file text and the file a chosen name leads to, against
    // golden/retrieval.txt. (The recording open before described again:
    // tst_gui_openrecording.)
    void retrieval()
    {
        QString t;
        // A record, then its line as written to the file and as the header line
        // (without the rule that marks a reading without pulse excluded).
        for (const char* record : {"5A504600126D0C1F173B01", "5A500000126D0C1F173B01", "5A500014126D0C1F173B01",
                                   "5A501000126D0C1F173B01", "5A50\n600126D0C1F173B01", "5A5046"})
            t += QStringLiteral("record %1\n  file   %2\n  header %3\n")
                     .arg(shownBytes(record), QString::fromStdString(recordLineFromRecord(record, true)),
                          QString::fromStdString(recordLineFromRecord(record, false)));
        for (const char* record : {"5A504600126D0C1F173B01", "5A504600127E0B02070001", "5A50460012500101000001"}) {
            const RetrievedStart s = startOfRecordLine(recordLineFromRecord(record, false));
            const QDateTime start(QDate(s.year, s.month, s.day), QTime(s.hour, s.minute));
            t += QStringLiteral("start of %1: %2\n").arg(QLatin1String(record), start.toString(Qt::ISODate));
        }
        for (const char* block : {"5A504600126D0C1F173B01", "", "00000000006D0C1F173B01",
                                  "0000000000FFFFFFFFFFFF" "5A504600126D0C1F173B01", "00000000016D0C1F173B01"}) {
            Rig rig;
            rig.setBlock(block);
            t += QStringLiteral("block '%1' has data: %2, after a failed link: %3\n")
                     .arg(QLatin1String(block))
                     .arg(blockHasData(LinkOk, *rig.link))
                     .arg(blockHasData(LinkFailed, *rig.link));
        }
        t += QStringLiteral("file text of two records:\n")
             + QString::fromLatin1(formatRetrievedFile("5A504600126D0C1F173B01" "5A500000126D0C1F181E01", 2));

        // The chosen name, the files there before -> the outcome, the files
        // afterwards with their first lines, the lines counted.
        for (const auto& [chosen, existing] : QList<std::pair<QString, QStringList>>{
                 {"abc", {}}, {"abc.txt", {}}, {"abc.txt", {"abc.dat"}}, {"abc.x", {"abc.DAT"}},
                 {"abc.txt", {"abc.txt"}}, {"d.x/abc", {}}, {"nowhere/abc", {}}}) {
            QTemporaryDir dir;
            QVERIFY(QDir(dir.path()).mkdir("d.x"));
            for (const QString& name : existing)
                QVERIFY(writeFile(dir.filePath(name), "old\n"));
            Rig rig;
            rig.setBlock("5A504600126D0C1F173B01");
            int progress = 0;
            const int outcome = int(writeRetrievedFile(dir.filePath(chosen), *rig.link, [&](int) { ++progress; }));
            t += QStringLiteral("write '%1' beside [%2] -> %3, target exists %4, lines counted %5:")
                     .arg(chosen, existing.join(' '))
                     .arg(outcome)
                     .arg(retrievalTargetExists(dir.filePath(chosen)))
                     .arg(progress);
            for (const QString& sub : {QString(), QStringLiteral("d.x/")})
                for (const QString& name : QDir(dir.filePath(sub)).entryList(QDir::Files, QDir::Name))
                    t += QStringLiteral(" %1%2 '%3'").arg(sub, name, readFile(dir.filePath(sub + name)).split('\n').first());
            t += '\n';
        }
        KS318_COMPARE_GOLDEN(t.toUtf8(), "retrieval.txt");
    }

    // What is written reads back as the recording the recorder held: the "8"
    // rule keeps a reading's error code and marks it excluded. The new
    // recording gets a fresh companion file with the patient's name.
    void readBackAndPrepared()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.setBlock("5A504600126D0C1F173B01" "5A500014126E0101001E01");
        QCOMPARE(writeRetrievedFile(dir.filePath("old"), *rig.link), RetrievalWrite::Written);
        Session session;
        QVERIFY(session.allocateData() && readBpDataFile(session, dir.filePath("old.dat"), BpMode::OscillometricOnly));
        const SessionData& d = *session.data();
        const BpReading& r = d.readings[1];
        QCOMPARE((QList<int>{int(d.counters.readingCount), int(d.readings[0].sys), r.oscExcluded, r.oscError}),
                 (QList<int>{2, 170, 1, 4}));
        QVERIFY(prepareDataSet(session, dir.filePath("old.dat"), QStringLiteral("前の患者")));

        rig.setBlock("5A504600127E0B02070001");
        const QString chosen = dir.filePath("new.DAT");
        QCOMPARE(writeRetrievedFile(chosen, *rig.link), RetrievalWrite::Written);
        // Stale members in either spelling; the upper-case companion file
        // is the previous patient's.
        QVERIFY(writeFile(dir.filePath("new.p30"), "stale companion file\n"));
        QVERIFY(QFile::copy(dir.filePath("old.p30"), dir.filePath("new.P30")));
        QVERIFY(writeFile(dir.filePath("new.csv"), "stale\n") && writeFile(dir.filePath("new.CSV"), "stale\n"));
        QVERIFY(prepareRetrievedRecording(session, chosen, QStringLiteral("山田 太郎"), nullptr));
        QCOMPARE(session.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
        QCOMPARE(session.state.fileBaseName, QStringLiteral("new"));
        QCOMPARE(QDir(dir.path()).entryList({"new.*"}, QDir::Files, QDir::Name), (QStringList{"new.dat", "new.p30"}));
        QVERIFY(!readFile(dir.filePath("new.p30")).startsWith("stale"));
    }
};

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
