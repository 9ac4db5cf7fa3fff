// The BP data file: decoding of record lines for every recorder type and BP
// mode (golden decode.txt), the sections of the file, the reading cap,
// analysis windows and day/night classes, and the rewrite.
#include "records/bpdatafile.h"
#include "records/filenames.h"
#include "support/testfiles.h"
#include "synthetic.h"
#include "session/session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using test::readFile;
using test::writeFile;

namespace {

// The example line of the file format: 31 Dec 2009 23:59, oscillometric pulse
// pressure 90, DIA 80, pulse 70, error byte XX, status 0x12, recorder id 1.
QByteArray line70(const char* errorByte = "00")
{
    return QByteArray("KS-318  7000000001006D0C1F173B5A5046") + errorByte + "1201";
}

std::string_view view(const QByteArray& b) { return std::string_view(b.constData(), std::size_t(b.size())); }

// `count` valid record lines seven minutes apart from 2026-11-02 00:00.
QByteArray records(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const int t = i * 7;
        out += test::recordLine(2026, 11, 2 + t / 1440, t % 1440 / 60, t % 60, 150, 90, 70);
    }
    return out;
}

const QByteArray kPatient = "#PATIENT\nName:PATIENT\nIDNumber:\nAddress:\nPhone:\nSSNumber:\nMedicare:\nInsurance:\n"
                            "Age:\nSex:\nHeight:\nWeight:\nComment1:\n       2:\n       3:\n#END\n#COMMENTS\n1:first\n#END\n";

} // namespace

class TstBpDataFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;

    const SessionData& read(const QByteArray& bytes, BpMode mode = BpMode::OscillometricOnly,
                            const QString& name = QStringLiteral("T.DAT"))
    {
        const QString path = dir_.filePath(name);
        writeFile(path, bytes);
        session_ = Session();
        session_.allocateData();
        session_.state.preparedFilePath = path;
        readBpDataFile(session_, path, mode);
        return *session_.data();
    }

private Q_SLOTS:
    void parseHexDigits_data()
    {
        QTest::addColumn<QByteArray>("chars");
        QTest::addColumn<int>("value");
        QTest::newRow("mixed case") << QByteArray("aB") << 0xAB;
        QTest::newRow("garbage counts 0") << QByteArray("G1") << 1;
        QTest::newRow("high bit bytes") << QByteArray("\xff\x80") << 0;
        QTest::newRow("four digits") << QByteArray("1f2E") << 0x1F2E;
    }

    void parseHexDigits()
    {
        QFETCH(QByteArray, chars);
        QFETCH(int, value);
        QCOMPARE(int(parseHex(chars.constData(), int(chars.size()))), value);
    }

    void recorderTypeFromModelId_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::newRow("KS-318P") << QByteArray("KS-318  700000") << 70;
        QTest::newRow("RV5730") << QByteArray("RV5730  300000") << 30;
        QTest::newRow("RV5721 carries 40") << QByteArray("RV5721  400000") << 21;
        QTest::newRow("RV5725 is 20") << QByteArray("RV5725  250000") << 20;
        QTest::newRow("other code") << QByteArray("KS-318  710000") << 20;
        QTest::newRow("short") << QByteArray("KS-318") << 20;
    }

    void recorderTypeFromModelId()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QCOMPARE(code(recorderTypeOfLine(view(line))), type);
    }

    // Each "TYPE MODE LINE" of decode.txt decoded anew, and written back with
    // its exclusion mark toggled (an error reading stays as it is); the file
    // holds what must come of it.
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

    void sections()
    {
        const QByteArray file = line70() + "\n" + line70("80") + "\n" + line70("06") + "\n" +
                                "#PATIENT\nName:" + QByteArray("\x8e\x52\x93\x63") +
                                "\nAddress:Tokyo\nComment1:one\n       2:two\n       3:\nAge:58\nUnknown:x\n#END\n"
                                "#COMMENTS\n0:zero\n3:third\n2:\n4:beyond\nx:bad\n 1:first\n#END\n9:after end\n";
        const SessionData& d = read(file);
        QCOMPARE(int(d.loaded), 1);
        QCOMPARE(int(d.readingCount()), 3);
        QCOMPARE(d.name.toQString(), QStringLiteral("山田"));
        QCOMPARE(d.address.view(), std::string_view("Tokyo"));
        QCOMPARE(d.age.view(), std::string_view("58"));
        QCOMPARE(d.allComments.view(), std::string_view("one  two"));
        QCOMPARE(d.readings[0].comment.view(), std::string_view("first"));
        QCOMPARE(d.readings[1].comment.view(), std::string_view(""));
        QCOMPARE(d.readings[2].comment.view(), std::string_view("third"));  // replaces the error text
        QCOMPARE(d.bpModeName.view(), std::string_view("Oscillometric only"));
        QCOMPARE(int(d.recordingHours), 24);
    }

    void fileText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("comment");  // of the first reading
        const QByteArray two = line70() + "\n" + line70() + "\n";
        const std::string longComment = toCp932(QStringLiteral("服薬後頭痛ありめまいあり測定前に運動した"));

        QTest::newRow("no patient section") << two << 2 << "" << "";
        QTest::newRow("foreign lines skipped") << "header\n\n" + line70() + "\n;note\n" + line70() + "\n#PATIENT\n" << 2
                                               << "" << "";
        QTest::newRow("comment cut on a character boundary")
            << line70() + "\n#PATIENT\n#END\n#COMMENTS\n1:" + QByteArray::fromStdString(longComment) + "\n#END\n" << 1
            << "" << "服薬後頭痛ありめまいあり測定";
        QTest::newRow("patient value cut to its field")
            << line70() + "\n#PATIENT\nName:ABCDEFGHIJKLMNOPQRSTUVWXYZ\n#END\n" << 1 << "ABCDEFGHIJKLMNOPQRST" << "";
        // Past 79 characters the rest of a line arrives as a line of its own.
        for (const int length : {79, 80, 81, 158}) {
            QByteArray first = line70();
            first += QByteArray(length - first.size(), 'Z');
            QTest::addRow("%d-character line", length) << first + "\n" + line70() + "\n#PATIENT\nName:n\n" << 2 << "n"
                                                        << "";
        }
        QTest::newRow("record continuing a long line") << QByteArray(79, '-') + line70() + "\n" << 1 << "" << "";
        QTest::newRow("#COMMENTS must be a whole line")
            << line70() + "\n#PATIENT\n#COMMENTSX\n1:no\n#COMMENTS\n1:yes\n#END\n" << 1 << "" << "yes";
    }

    void fileText()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        QFETCH(QString, name);
        QFETCH(QString, comment);
        const SessionData& d = read(file);
        QCOMPARE(int(d.readingCount()), count);
        QCOMPARE(d.name.toQString(), name);
        QCOMPARE(d.readings[0].comment.toQString(), comment);
        // Without a companion file window 1 opens at the first reading.
        QCOMPARE(int(d.counters.inWindow1), count);
        QCOMPARE(int(d.readings[0].windowMembership), 2);
        QVERIFY(!d.unreadTail);
    }

    void firstLineDecidesTheType()
    {
        const QByteArray file = "RV5725  25325040001009000000000000000000\n" + line70() + "\n";
        const SessionData& d = read(file, BpMode::KorotkoffOnly);
        QCOMPARE(code(session_.state.recorderType), 20);
        QCOMPARE(int(d.readingCount()), 2);
        // The KS-318 line is decoded as a Korotkoff-only line: no oscillometric values.
        QCOMPARE(int(d.readings[1].oscDia), 0);
        QCOMPARE(session_.state.firstRecordLine, std::string("RV5725  25325040001009000000000000000000"));
    }

    void crLfFilesReadAlike()
    {
        QByteArray file = line70() + "\n" + line70("80") + "\n#PATIENT\nName:Hanako\nComment1:c\n#END\n"
                                                           "#COMMENTS\n1:crlf\n#END\n";
        const SessionData& lf = read(file);
        const QByteArray lfText = formatBpDataFile(lf, RecorderType::Ks318);
        file.replace("\n", "\r\n");
        const SessionData& crlf = read(file);
        QCOMPARE(crlf.name.view(), std::string_view("Hanako"));
        QCOMPARE(crlf.readings[0].comment.view(), std::string_view("crlf"));
        QCOMPARE(formatBpDataFile(crlf, RecorderType::Ks318), lfText);
    }

    void readingCap_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("withSections");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("unreadTail");
        QTest::newRow("1827 with sections") << 1827 << true << 1827 << false;
        QTest::newRow("1828 alone") << 1828 << false << 1828 << false;
        QTest::newRow("1828 with sections") << 1828 << true << 1828 << true;
        QTest::newRow("1830") << 1830 << false << 1828 << true;
    }

    void readingCap()
    {
        QFETCH(int, lines);
        QFETCH(bool, withSections);
        QFETCH(int, count);
        QFETCH(bool, unreadTail);
        const SessionData& d = read(records(lines) + (withSections ? kPatient : QByteArray()));
        QCOMPARE(int(d.readingCount()), count);
        QCOMPARE(d.unreadTail, unreadTail);
        // At the cap the patient and comment sections are not read.
        QCOMPARE(d.name.empty(), count == 1828 || !withSections);
        QCOMPARE(d.readings[0].comment.view() == "first", withSections && count < 1828);
    }

    void rewriteRefusesAPartlyReadFile()
    {
        const QByteArray original = records(1830) + kPatient;
        read(original);
        session_.data()->readings[0].excluded = 1;
        QVERIFY(!rewriteBpDataFile(session_));
        QCOMPARE(readFile(session_.state.preparedFilePath), original);
    }

    void timeOrder_data()
    {
        QTest::addColumn<QByteArray>("secondTime");  // hour and minute bytes of the second reading
        QTest::addColumn<bool>("error");
        QTest::newRow("same minute") << QByteArray("173B") << false;
        QTest::newRow("one minute earlier") << QByteArray("173A") << true;
    }

    void timeOrder()
    {
        QFETCH(QByteArray, secondTime);
        QFETCH(bool, error);
        QByteArray second = line70();
        second.replace(26, 4, secondTime);
        read(line70() + "\n" + second + "\n");
        QCOMPARE(session_.state.timeOrderError, error);
    }

    void periodClass_data()
    {
        QTest::addColumn<int>("sleep");
        QTest::addColumn<int>("wake");
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("periodClass");
        QTest::newRow("22-06 at 05:59") << 22 * 60 << 6 * 60 << 5 * 60 + 59 << 4;
        QTest::newRow("22-06 at 06:00") << 22 * 60 << 6 * 60 << 6 * 60 << 3;
        QTest::newRow("22-06 at 22:00") << 22 * 60 << 6 * 60 << 22 * 60 << 4;
        QTest::newRow("22-06 at 21:59") << 22 * 60 << 6 * 60 << 21 * 60 + 59 << 3;
        QTest::newRow("01-05 at 01:00") << 60 << 5 * 60 << 60 << 4;
        QTest::newRow("01-05 at 05:00") << 60 << 5 * 60 << 5 * 60 << 3;
        QTest::newRow("unset") << -1 << -1 << 3 * 60 << 3;
    }

    void periodClass()
    {
        QFETCH(int, sleep);
        QFETCH(int, wake);
        QFETCH(int, time);
        QFETCH(int, periodClass);
        QByteArray line = line70();
        line.replace(26, 4, QString::asprintf("%02X%02X", time / 60, time % 60).toLatin1());
        const QString path = dir_.filePath(QStringLiteral("P.DAT"));
        writeFile(path, line + "\n");
        Session s;
        s.allocateData();
        if (sleep >= 0)
            std::tie(s.state.sleepHour, s.state.sleepMinute, s.state.wakeHour, s.state.wakeMinute) =
                std::tuple(sleep / 60, sleep % 60, wake / 60, wake % 60);
        QVERIFY(readBpDataFile(s, path, BpMode::OscillometricOnly));
        const SessionData& d = *s.data();
        const bool asleep = periodClass == PeriodAsleep;
        QCOMPARE(int(d.readings[0].periodClass), periodClass);
        QCOMPARE((QList<std::uint32_t>{d.counters.awakeInWindow1, d.counters.asleepInWindow1, d.counters.validAsleep}),
                 (QList<std::uint32_t>{!asleep, asleep, asleep}));
    }

    void windowsFromAnalysisIntervals()
    {
        // Window 1: 2026-11-02 08:00 for 10 hours. Readings at 07:59, 08:00,
        // an error reading at 12:00, 17:59 (excluded) and 18:00.
        const QByteArray file("KS-318  7000000001007E0B02073B3C5A46000001\n"
                          "KS-318  7000000001007E0B0208003C5A46000001\n"
                          "KS-318  7000000001007E0B020C003C5A460A0001\n"
                          "KS-318  7000000001007E0B02113B3C5A46800001\n"
                          "KS-318  7000000001007E0B0212003C5A46000001\n");
        const QString path = dir_.filePath(QStringLiteral("W.DAT"));
        writeFile(path, file);
        Session s;
        s.allocateData();
        s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 8, 10);
        s.intervals.valid = 1;
        QVERIFY(readBpDataFile(s, path, BpMode::OscillometricOnly));
        const SessionData& d = *s.data();
        const int membership[] = {0, 2, 2, 2, 0};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(int(d.readings[std::size_t(i)].windowMembership), membership[i]);
            QCOMPARE(int(d.readings[std::size_t(i)].periodClass), membership[i] ? 3 : 0);
        }
        const PeriodCounters& c = d.counters;
        QCOMPARE((QList<std::uint32_t>{c.readingCount, c.inWindow1, c.inWindow2, c.awakeInWindow1, c.asleepInWindow1,
                                       c.validTotal, c.validInWindow1, c.validInWindow2, c.validAwake}),
                 (QList<std::uint32_t>{5, 3, 3, 3, 0, 3, 1, 1, 1}));
    }

    void missingFile()
    {
        Session s;
        s.allocateData();
        QVERIFY(!readBpDataFile(s, dir_.filePath(QStringLiteral("NONE.DAT")), BpMode::OscillometricOnly));
        QCOMPARE(int(s.data()->loaded), 0);
        QCOMPARE(int(s.data()->readingCount()), 0);
        Session none;
        QVERIFY(!readBpDataFile(none, dir_.filePath(QStringLiteral("NONE.DAT")), BpMode::OscillometricOnly));
    }

    void memberNamesFollowTheBaseName()
    {
        QCOMPARE(replaceExtension(QStringLiteral("/a.b/NAME.p30"), QStringLiteral(".DAT")),
                 QStringLiteral("/a.b/NAME.DAT"));
        QCOMPARE(replaceExtension(QStringLiteral("/a.b/NAME"), QStringLiteral(".DAT")),
                 QStringLiteral("/a.b/NAME.DAT"));
        QCOMPARE(replaceExtension(QStringLiteral("x.y.csv"), QStringLiteral(".DAT")), QStringLiteral("x.y.DAT"));
        // The reader finds a lower-case .dat when it is asked for NAME.p30.
        writeFile(dir_.filePath(QStringLiteral("lower.dat")), line70() + "\n");
        Session s;
        s.allocateData();
        QVERIFY(readBpDataFile(s, dir_.filePath(QStringLiteral("lower.p30")), BpMode::OscillometricOnly));
        QCOMPARE(int(s.data()->readingCount()), 1);
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("70 small") << 70 << 0 << 5;
        QTest::newRow("70 full") << 70 << 0 << 1828;
        QTest::newRow("30") << 30 << 0 << 300;
        QTest::newRow("21") << 21 << 2 << 300;
        QTest::newRow("20") << 20 << 2 << 300;
    }

    void roundTrip()
    {
        QFETCH(int, type);
        QFETCH(int, mode);
        QFETCH(int, count);
        synth::Options o;
        o.type = RecorderType(type);
        o.count = count;
        o.errorEvery = 13;
        o.excludedEvery = 7;
        // A full file's sections are never read, so it holds none to lose.
        o.commentEvery = count < kMaxReadings ? 5 : 0;
        o.patient = count < kMaxReadings;
        const QByteArray file = synth::makeFile(o);
        const SessionData& d = read(file, BpMode(mode));
        QCOMPARE(int(d.readingCount()), count);
        QCOMPARE(code(session_.state.recorderType), type);
        QVERIFY(rewriteBpDataFile(session_));
        QCOMPARE(readFile(session_.state.preparedFilePath), file);
    }

    void demoRoundTrip()
    {
        const QByteArray demo = synth::demoFile();
        read(demo);
        QCOMPARE(formatBpDataFile(*session_.data(), session_.state.recorderType), demo);
        const QString bundled = qEnvironmentVariable("KS318_SAMPLES") + QStringLiteral("/DEMO.DAT");
        if (QFile::exists(bundled))
            QCOMPARE(readFile(bundled), demo);
    }

    void rewriteWritesSectionsAndOnlyValidComments()
    {
        read(line70() + "\n" + line70("06") + "\n");
        SessionData& d = *session_.data();
        d.readings[0].comment = "line\nbreak";
        d.readings[1].comment = "typed on an error";
        d.name.setQString(QStringLiteral("山田"));
        QVERIFY(rewriteBpDataFile(session_));
        const QByteArray expected = line70() + "\n" + line70("06") + "\n" +
                                    "#PATIENT\nName:\x8e\x52\x93\x63\nIDNumber:\nAddress:\nPhone:\nSSNumber:\n"
                                    "Medicare:\nInsurance:\nAge:\nSex:\nHeight:\nWeight:\nComment1:\n       2:\n"
                                    "       3:\n#END\n#COMMENTS\n1:line break\n#END\n";
        QCOMPARE(readFile(session_.state.preparedFilePath), expected);
    }

    void failedRewriteLeavesNothingBehind()
    {
        read(line70() + "\n");
        session_.state.preparedFilePath = dir_.filePath(QStringLiteral("missing/dir/T.DAT"));
        QVERIFY(!rewriteBpDataFile(session_));
        QVERIFY(!QFile::exists(session_.state.preparedFilePath));
        Session empty;
        QVERIFY(!rewriteBpDataFile(empty));
    }
};

QTEST_GUILESS_MAIN(TstBpDataFile)
#include "tst_bpdatafile.moc"
