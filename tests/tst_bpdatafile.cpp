// The BP data file: record lines decoded (golden decode.txt), whole files
// read and rewritten (golden bpread.txt), and the rewrite of every type.
#include "records/bpdatafile.h"
#include "support/testfiles.h"
#include "synthetic.h"
#include "session/session.h"

using namespace ks318;
using namespace ks318::test;

namespace {

// The example line of the file format: 31 Dec 2009 23:59, oscillometric pulse
// pressure 90, DIA 80, pulse 70, error byte XX, status 0x12, recorder id 1.
QByteArray line70(const QByteArray& errorByte = "00")
{
    return "KS-318  7000000001006D0C1F173B5A5046" + errorByte + "1201";
}

std::string_view view(const QByteArray& b) { return std::string_view(b.constData(), std::size_t(b.size())); }

// A file text of bpread.txt: "\n", "\r" and "\xHH" escapes; {70}, {70:EE}
// (error byte EE) and {70@HHMM} the example line; {N readings} N valid lines
// seven minutes apart from 2026-11-02 00:00; {patient} the sections with
// comment 1 "first"; {C*N} the character C N times; {sjis:TEXT} in CP932.
QByteArray expand(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0, open; i < text.size(); i = text.indexOf('}', open) + 1) {
        open = text.indexOf('{', i) < 0 ? text.size() : text.indexOf('{', i);
        out += unescaped(text.mid(i, open - i));
        const QByteArray m = text.mid(open + 1, text.indexOf('}', open) - open - 1);
        if (open == text.size())
            break;
        if (m.startsWith("70@"))
            out += line70().replace(26, 4, m.mid(3));
        else if (m.startsWith("70"))
            out += line70(m.size() > 3 ? m.mid(3) : QByteArray("00"));
        else if (m.endsWith(" readings"))
            for (int k = 0, t = 0; k < m.split(' ')[0].toInt(); ++k, t = k * 7)
                out += recordLine(2026, 11, 2 + t / 1440, t % 1440 / 60, t % 60, 150, 90, 70);
        else if (m == "patient")
            out += patientSections("PATIENT", "1:first\n");
        else if (m.startsWith("sjis:"))
            out += QByteArray::fromStdString(toCp932(QString::fromUtf8(m.mid(5))));
        else
            out += QByteArray(m.mid(2).toInt(), m[0]);
    }
    return out;
}

// A field's text, and the bytes that do not come back from it (a lead byte
// left of a character cut in two, which the decoder drops unseen).
template <typename Field>
QString text(const Field& field)
{
    const QString s = field.toQString();
    const qsizetype lost = qsizetype(field.size()) - qsizetype(toCp932(s).size());
    return lost ? s + QStringLiteral("<%1 bytes lost>").arg(lost) : s;
}

QByteArray described(bool read, const Session& s)
{
    const SessionData& d = *s.data();
    const PeriodCounters& c = d.counters;
    QString out = QStringLiteral("read %1, %2 readings, type %3, mode '%4', hours %5, order error %6, unread tail %7\n")
                      .arg(read).arg(d.readingCount()).arg(code(s.state.recorderType)).arg(text(d.bpModeName))
                      .arg(d.recordingHours).arg(s.state.timeOrderError).arg(d.unreadTail);
    if (!d.name.empty() || !d.address.empty() || !d.age.empty() || !d.allComments.empty())
        out += QStringLiteral("name '%1', address '%2', age '%3', comments '%4'\n")
                   .arg(text(d.name), text(d.address), text(d.age), text(d.allComments));
    for (std::uint32_t i = 0; i < std::min(d.readingCount(), 5u); ++i) {
        const BpReading& r = d.readings[i];
        out += QString::asprintf("%02u:%02u %u/%u/%u osc DIA %u, window %u, class %u, error %u, excluded %u", r.hour,
                                 r.minute, r.sys, r.dia, r.pulse, r.oscDia, r.windowMembership, r.periodClass,
                                 r.errorCode, r.excluded)
               + (r.comment.empty() ? QString() : ", comment '" + text(r.comment) + "'") + '\n';
    }
    out += QString::asprintf("counters: window 1 %u (valid %u), window 2 %u (valid %u), awake %u (valid %u), "
                             "asleep %u (valid %u), valid %u",
                             c.inWindow1, c.validInWindow1, c.inWindow2, c.validInWindow2, c.awakeInWindow1,
                             c.validAwake, c.asleepInWindow1, c.validAsleep, c.validTotal);
    return out.toUtf8();
}

} // namespace

class TstBpDataFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;

private Q_SLOTS:
    // Each line of decode.txt decoded and written back (see there).
    void decodedLines()
    {
        auto written = std::make_unique<SessionData>();
        written->counters.readingCount = 1;
        KS318_COMPARE_GOLDEN_TABLE("decode.txt", [&written](const QByteArray& line) {
            const QList<QByteArray> f = line.split(' ');
            const auto type = RecorderType(f[0].toInt());
            BpReading& r = written->readings[0] = BpReading();
            written->recorderId = 9;
            decodeRecordLine(view(line.mid(f[0].size() + f[1].size() + 2)), BpMode(f[1].toInt()), type, r,
                             written->recorderId);
            const QString decoded =
                QString::asprintf("%04u/%02u/%02u %02u:%02u | %u %u %u %u %u | ", r.year, r.month, r.day, r.hour,
                                  r.minute, r.sys, r.dia, r.map, r.pulse, r.doubleProduct)
                + QStringLiteral("%1 %2 %3 %4 %5 | ")
                      .arg(r.sysText.toQString(), r.diaText.toQString(), r.mapText.toQString(),
                           r.pulseText.toQString(), r.dpText.toQString())
                + QStringLiteral("%1 %2 %3 %4 %5 %6 %7 | %8 | %9")
                      .arg(r.method).arg(r.methodText.toQString(), r.eFlagText.toQString()).arg(r.errorCode)
                      .arg(r.errorText.toQString()).arg(r.excluded).arg(r.excludedText.toQString())
                      .arg(written->recorderId).arg(r.comment.toQString());
            if (r.errorCode == 0)
                r.excluded = r.excluded ? 0 : 1;
            const QByteArray file = formatBpDataFile(*written, type);
            return decoded.toUtf8() + "\ntoggled: " + file.left(file.indexOf('\n'));
        });
    }

    // Each "OPTIONS | FILE" of bpread.txt: the file read with the options
    // (sleep HH:MM-HH:MM, window HH+HOURS on 2026-11-02, mode M, as NAME:
    // the file written as NAME, ask NAME: the reader asked for NAME, rewrite:
    // two comments typed and the file rewritten), and what came of it.
    void readFiles()
    {
        KS318_COMPARE_GOLDEN_TABLE("bpread.txt", [this](const QByteArray& line) {
            const QList<QByteArray> options = line.left(line.indexOf(" | ")).split(' ');
            const QByteArray file = expand(line.mid(line.indexOf(" | ") + 3));
            const auto option = [&options](const char* name) {
                const qsizetype at = options.indexOf(name);
                return at < 0 ? QByteArray() : options.value(at + 1, "on");
            };
            // A folder with a dot in its name: only the file's extension changes.
            QDir folder(dir_.filePath("a.b"));
            folder.removeRecursively();
            folder.mkpath(".");
            const QString path = folder.filePath(option("as").isEmpty() ? "T.DAT" : QString::fromLatin1(option("as")));
            writeFile(path, file);
            Session& s = session_ = Session();
            s.allocateData();
            s.state.preparedFilePath = path;
            if (const QByteArray sleep = option("sleep"); !sleep.isEmpty())
                std::tie(s.state.sleepHour, s.state.sleepMinute, s.state.wakeHour, s.state.wakeMinute) =
                    std::tuple(sleep.mid(0, 2).toInt(), sleep.mid(3, 2).toInt(), sleep.mid(6, 2).toInt(),
                               sleep.mid(9, 2).toInt());
            if (const QList<QByteArray> w = option("window").split('+'); w.size() == 2) {
                s.intervals = AnalysisIntervals::defaults(2026, 11, 2, w[0].toInt(), w[1].toUInt());
                s.intervals.valid = 1;
            }
            const bool ok = readBpDataFile(s, option("ask").isEmpty() ? path : folder.filePath(option("ask")),
                                           BpMode(option("mode").toInt()));
            QByteArray out = described(ok, s);
            if (!option("rewrite").isEmpty()) {
                s.data()->readings[0].comment = "line\nbreak";
                s.data()->readings[1].comment = "typed on an error";
                out += rewriteBpDataFile(s) ? "\nrewritten:\n" + fromCp932(view(readFile(path).trimmed())).toUtf8()
                                            : "\nrewrite refused, file " + QByteArray(readFile(path) == file ? "unchanged" : "changed");
            }
            return out;
        });
    }

    // Files of every recorder type, and the demonstration recording, read and
    // rewritten unchanged; a full file's sections are never read, so it holds
    // none to lose.
    void roundTrip()
    {
        const QString path = dir_.filePath("T.DAT");
        // Type, BP mode and count of readings; none: the demonstration recording.
        for (const auto& [type, mode, count] : {std::tuple(70, 0, 0), {70, 0, 5}, {70, 0, 1828}, {30, 0, 300},
                                                {21, 2, 300}, {20, 2, 300}}) {
            synth::Options o;
            o.type = RecorderType(type);
            o.count = count;
            o.errorEvery = 13;
            o.excludedEvery = 7;
            o.commentEvery = count < kMaxReadings ? 5 : 0;
            o.patient = count < kMaxReadings;
            const QByteArray file = count ? synth::makeFile(o) : synth::demoFile();
            QVERIFY(writeFile(path, file));
            Session& s = session_ = Session();
            QVERIFY(s.allocateData());
            s.state.preparedFilePath = path;
            QVERIFY(readBpDataFile(s, path, BpMode(mode)));
            QCOMPARE(code(s.state.recorderType), type);
            QVERIFY(rewriteBpDataFile(s));
            QCOMPARE(readFile(path), file);
        }
    }
};

QTEST_GUILESS_MAIN(TstBpDataFile)
#include "tst_bpdatafile.moc"
