// The companion file NAME.p30: exact bytes, sections and older sizes, and
// its creation from a legacy patient file through fileconv.
#include "recordingsink.h"
#include "records/companionfile.h"
#include "records/daycount.h"
#include "session/session.h"
#include "support/synthetic.h"
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

QByteArray section(int id, const QByteArray& block)
{
    return QByteArray::number(id) + "\n" + QByteArray::number(block.size()) + "\n" + block + "\n";
}

// Text fields of a record: offset and bytes.
void putTexts(QByteArray& b, const QList<std::pair<int, QByteArray>>& texts)
{
    for (const auto& [offset, text] : texts)
        putText(b, offset, text);
}

constexpr double kNov2 = 46328;  // 2026-11-02 as a day count

// The filled records of the golden file, set field by field.
void fillRecords(Session& s)
{
    PatientRecord& p = s.patient;
    p.valid = 1;
    p.recordingHours = 24;
    p.recorderType = 70;
    p.startDateText = "2026/11/02";
    p.startTimeText = "07:00";
    p.recorderId = 3;
    p.patientName.setQString(QStringLiteral("山田 太郎"));
    p.patientAddress = "1-2-3 Shiba, Minato";
    p.patientPhone = "03-1234-5678";
    p.physicianName = "Dr. Sato";
    p.physicianAddress = "4-5-6 Azabu";
    p.physicianPhone = "03-9999-0000";
    p.socialSecurityNumber = "SSN-1";
    p.insurance = "Kenpo";
    p.medicareNumber = "MC-7";
    p.age = "58";
    p.sex.setQString(QStringLiteral("男"));
    p.height = "172";
    p.weight = "70";
    p.medications = "amlodipine";
    p.comments = "morning readings high";
    p.day1SleepTime = "22:30";
    p.day1WakeTime = "06:00";
    s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 7, 24);
    s.span.first = {2026, 11, 2, 7, 5, kNov2, encodeTime(7, 5)};
    s.span.last = {2026, 11, 3, 6, 40, kNov2 + 1, encodeTime(6, 40)};
}

QByteArray goldenPatient()
{
    QByteArray b(900, '\0');
    putU32(b, 0, 1);
    b[4] = char(24);
    b[5] = char(70);
    b[38] = char(3);
    putTexts(b, {{6, "2026/11/02"}, {27, "07:00"}, {39, sjis(QStringLiteral("山田 太郎"))},
                 {60, "1-2-3 Shiba, Minato"}, {111, "03-1234-5678"}, {132, "Dr. Sato"}, {195, "4-5-6 Azabu"},
                 {246, "03-9999-0000"}, {267, "SSN-1"}, {288, "Kenpo"}, {329, "MC-7"}, {350, "58"},
                 {361, sjis(QStringLiteral("男"))}, {372, "172"}, {383, "70"}, {394, "amlodipine"},
                 {455, "morning readings high"}, {856, "22:30"}, {867, "06:00"}});
    return b;
}

// Scroll groups of a first opening for `n` hours at 60 + 20 * group.
void putScroll(QByteArray& b, int base, quint32 n)
{
    const quint32 groups[2][5] = {{0, 0, n - 1, std::max(1u, (n - 1) / 4), 1}, {n, 1, n, std::max(1u, n / 4), 1}};
    for (int g = 0; g < 4; ++g)
        for (int i = 0; i < 5; ++i)
            putU32(b, base + g * 20 + i * 4, groups[g % 2][i]);
}

QByteArray goldenIntervals()
{
    QByteArray b(144, '\0');
    putF64(b, 8, kNov2);
    putF64(b, 24, kNov2);
    putF64(b, 32, 7.0 / 24.0);
    putU32(b, 40, 24);
    putF64(b, 48, 7.0 / 24.0);
    putU32(b, 56, 24);
    putScroll(b, 60, 24);
    return b;
}

QByteArray goldenSpan()
{
    QByteArray b(56, '\0');
    putU16(b, 4, 2026);
    putText(b, 6, "\x0B\x02\x07\x05");   // 2 Nov 07:05
    putF64(b, 16, kNov2);
    putF64(b, 24, (7 * 60 + 5) / 1440.0);
    putU16(b, 32, 2026);
    putText(b, 34, "\x0B\x03\x06\x28");  // 3 Nov 06:40
    putF64(b, 40, kNov2 + 1);
    putF64(b, 48, (6 * 60 + 40) / 1440.0);
    return b;
}

QByteArray goldenFile()
{
    return "0\n" + section(0, goldenPatient()) + section(1, goldenIntervals()) + section(2, goldenSpan());
}

// A .pat describing a two-day recording, as fileconv reads it.
const char kPat[] =
    "# legacy patient file\n"
    "patientName: 鈴木 一郎\n"
    "physicianName: Dr. Tanaka\n"
    "age: 61\n"
    "startDate: 2026-11-02\n"
    "startHour: 8\n"
    "recordingHours: 48\n"
    "recorderId: 4\n"
    "day1Sleep: 2230\n"
    "day1Wake: 0615\n"
    "interval1Hours: 30\n"
    "interval2Date: 2026-11-03\n"
    "interval2Hour: 9\n"
    "interval2Hours: 12\n"
    "firstReading: 2026-11-02 08:10\n"
    "lastReading: 2026-11-04 07:50\n";

QByteArray demoRecording()
{
    synth::Options o;
    o.count = 12;
    return synth::makeFile(o);
}

} // namespace

class TestCompanion : public QObject {
    Q_OBJECT

private:
    QString converterDir_;
    QByteArray path_;

private Q_SLOTS:
    void initTestCase()
    {
        // fileconv is built beside ks318-cli; the program finds it on PATH.
        converterDir_ = QFileInfo(qEnvironmentVariable("KS318_CLI")).absolutePath();
        QVERIFY2(QFile::exists(converterDir_ + "/fileconv"), qPrintable(converterDir_));
        path_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
    }

    void defaultRecordsFile()
    {
        const QByteArray expected = "0\n" + section(0, QByteArray(900, '\0')) + section(1, QByteArray(144, '\0'))
                                    + section(2, QByteArray(56, '\0'));
        QCOMPARE(formatCompanionFile(PatientRecord(), AnalysisIntervals(), RecordingSpan()), expected);
    }

    void filledRecordsWriteExactBytesAndReadBack()
    {
        QTemporaryDir dir;
        Session session;
        fillRecords(session);
        MessageLog log;
        QVERIFY(writeCompanionFile(session, dir.filePath("REC.DAT"), &log));
        QCOMPARE(readFile(dir.filePath("REC.p30")), goldenFile());

        Session again;
        QVERIFY(readCompanionFile(again, dir.filePath("REC.DAT"), &log));
        QVERIFY(log.shown.isEmpty());
        QCOMPARE((QList<quint32>{again.patient.valid, again.intervals.valid, again.span.valid}), (QList<quint32>{1, 1, 1}));
        session.intervals.valid = session.span.valid = 1;
        QVERIFY(again.patient.pack() == session.patient.pack());
        QVERIFY(again.intervals.pack() == session.intervals.pack());
        QVERIFY(again.span.pack() == session.span.pack());
    }

    void readSections_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("patient");
        QTest::addColumn<bool>("intervals");
        QTest::addColumn<bool>("span");

        const QByteArray s0 = section(0, goldenPatient());
        const QByteArray s1 = section(1, goldenIntervals());
        const QByteArray s2 = section(2, goldenSpan());
        QTest::newRow("all three") << "0\n" + s0 + s1 + s2 << true << true << true;
        QTest::newRow("only section 0") << "0\n" + s0 << true << false << false;
        QTest::newRow("version line 1") << "1\n" + s0 + s1 + s2 << false << false << false;
        QTest::newRow("empty file") << QByteArray() << false << false << false;
        QTest::newRow("sections in another order") << "0\n" + s2 + s0 + s1 << true << true << true;
        QTest::newRow("unknown id stops reading") << "0\n" + s0 + section(3, "xyz") + s1 + s2 << true << false << false;
        QTest::newRow("truncated section 1") << "0\n" + s0 + s1.left(60) << true << false << false;
        QTest::newRow("section 1 of unknown size passed over")
            << "0\n" + s0 + section(1, QByteArray(100, '\x01')) + s2 << true << false << true;
        QTest::newRow("short span") << "0\n" + section(2, goldenSpan().left(10)) << false << false << true;
        QTest::newRow("zero size stops reading") << "0\n0\n0\n" + s1 << false << false << false;
        QTest::newRow("older sizes 1100 and 80")
            << "0\n" + section(0, QByteArray(1100, '\0')) + section(1, QByteArray(80, '\0')) << true << true << false;
        QTest::newRow("CR LF number lines") << "0\r\n0\r\n900\r\n" + goldenPatient() + "\n" << true << false << false;
    }

    void readSections()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, patient);
        QFETCH(bool, intervals);
        QFETCH(bool, span);
        Session s;
        s.patient.valid = s.intervals.valid = s.span.valid = 1;  // left from another file
        const CompanionSections read = parseCompanionFile(bytes, s.patient, s.intervals, s.span);
        const QList<bool> expected{patient, intervals, span};
        QCOMPARE((QList<bool>{s.patient.valid == 1, s.intervals.valid == 1, s.span.valid == 1}), expected);
        QCOMPARE((QList<bool>{read.patient, read.intervals, read.span}), expected);
        if (patient && bytes.contains(goldenPatient()))
            QCOMPARE(s.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
        if (span && bytes.contains(goldenSpan()))
            QCOMPARE(s.span.last.minute, std::uint8_t(40));
    }

    void olderPatientRecordIsConverted()
    {
        QByteArray b(1100, '\0');
        putU32(b, 0, 1);
        b[4] = char(48);
        b[5] = char(25);
        b[38] = char(9);
        // 'A' and ten double-byte characters: 21 bytes, cut before the tenth.
        putTexts(b, {{6, "2001/02/03"}, {27, "10:00"}, {39, sjis(QStringLiteral("A") + QString(10, QChar(0x5c71)))},
                     {120, "address"}, {171, "phone"}, {192, QByteArray(70, 'P')}, {273, "physician address"},
                     {324, "physician phone"}, {345, "ssn"}, {366, "insurance"}, {407, "medicare"}, {428, "44"},
                     {439, "F"}, {450, "160"}, {461, "55"}, {472, QByteArray(80, 'M')}, {553, QByteArray(450, 'C')},
                     {1053, "2230"}, {1064, "0600"}, {1075, "2300"}, {1086, "0700"}});

        Session s;
        parseCompanionFile("0\n" + section(0, b), s.patient, s.intervals, s.span);
        const PatientRecord& p = s.patient;
        QCOMPARE((QList<int>{int(p.valid), p.recordingHours, p.recorderType, p.recorderId}), (QList<int>{1, 48, 25, 9}));
        QCOMPARE(p.patientName.toQString(), QStringLiteral("A") + QString(9, QChar(0x5c71)));
        const std::vector<std::string> texts{p.startDateText.str(), p.startTimeText.str(), p.patientAddress.str(),
                                             p.patientPhone.str(), p.physicianName.str(), p.physicianAddress.str(),
                                             p.physicianPhone.str(), p.socialSecurityNumber.str(), p.insurance.str(),
                                             p.medicareNumber.str(), p.age.str(), p.sex.str(), p.height.str(),
                                             p.weight.str(), p.medications.str(), p.comments.str(),
                                             p.day1SleepTime.str(), p.day1WakeTime.str(), p.day2SleepTime.str(),
                                             p.day2WakeTime.str()};
        const std::vector<std::string> expected{"2001/02/03", "10:00", "address", "phone", std::string(62, 'P'),
                                                "physician address", "physician phone", "ssn", "insurance", "medicare",
                                                "44", "F", "160", "55", std::string(60, 'M'), std::string(400, 'C'),
                                                "2230", "0600", "2300", "0700"};
        QVERIFY(texts == expected);
    }

    void olderIntervalRecordIsWidened()
    {
        QByteArray b(80, '\0');
        putU32(b, 0, 1);
        putU32(b, 4, 2);
        putF64(b, 8, 37000);
        b[16] = char(7);
        b[17] = char(3);
        putF64(b, 24, 37001);
        putF64(b, 32, 0.25);
        putU32(b, 40, 48);
        putF64(b, 48, 0.5);
        b[56] = char(200);
        for (int i = 0; i < 20; ++i)
            b[57 + i] = char(101 + i);

        Session s;
        parseCompanionFile("0\n" + section(1, b), s.patient, s.intervals, s.span);
        const AnalysisIntervals& a = s.intervals;
        QCOMPARE((QList<quint32>{a.valid, a.interval1DayOffset, a.reserved, a.interval2DayOffset, a.interval1Hours,
                                 a.interval2Hours}),
                 (QList<quint32>{1, 2, 7, 3, 48, 200}));
        QCOMPARE((QList<double>{a.interval1StartDate, a.interval2StartDate, a.interval1StartTime, a.interval2StartTime}),
                 (QList<double>{37000, 37001, 0.25, 0.5}));
        for (int g = 0; g < 4; ++g) {
            const ScrollSetting& sc = a.scroll[std::size_t(g)];
            const quint32 base = quint32(101 + 5 * g);
            QCOMPARE((QList<quint32>{sc.position, sc.minimum, sc.maximum, sc.largeStep, sc.smallStep}),
                     (QList<quint32>{base, base + 1, base + 2, base + 3, base + 4}));
        }
    }

    void namesAreCutAtTheirLastByte()
    {
        QByteArray b(900, 'A');
        putU32(b, 0, 0);
        Session s;
        parseCompanionFile("0\n" + section(0, b), s.patient, s.intervals, s.span);
        QCOMPARE((QList<std::size_t>{s.patient.patientName.size(), s.patient.physicianName.size(),
                                     s.patient.medications.size(), s.patient.comments.size()}),
                 (QList<std::size_t>{20, 62, 60, 400}));
    }

    // A missing file to read or a directory that cannot be written: message
    // 202, and the records in memory stay as they were.
    void failuresShowMessage202()
    {
        QTemporaryDir dir;
        Session s;
        fillRecords(s);
        MessageLog log;
        QVERIFY(!readCompanionFile(s, dir.filePath("NONE.DAT"), &log));
        QVERIFY(!writeCompanionFile(s, dir.filePath("missing/dir/REC.DAT"), &log));
        const ShownMessage m202{202, 14, MessageIcon::Warning};
        QCOMPARE(log.shown, (QList<ShownMessage>{m202, m202}));
        QCOMPARE(s.patient.valid, 1u);
        QCOMPARE(s.patient.physicianName.str(), std::string("Dr. Sato"));
    }

    void fileconvWritesLegacyLayout()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("OLD.pat"), kPat));
        QProcess p;
        p.start(converterDir_ + "/fileconv", {dir.filePath("OLD.pat")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);

        QByteArray patient(1096, '\0');
        putU16(patient, 0, 1);
        patient[2] = char(48);
        patient[3] = char(70);
        patient[36] = char(4);
        putTexts(patient, {{4, "2026/11/02"}, {25, "08:00"}, {37, sjis(QStringLiteral("鈴木 一郎"))}, {190, "Dr. Tanaka"},
                           {426, "61"}, {1051, "2230"}, {1062, "0615"}});
        QByteArray intervals(42, '\0');
        putU16(intervals, 0, 1);
        putU16(intervals, 4, 2026);
        putText(intervals, 6, "\x0B\x02\x08");
        putU16(intervals, 12, 2026);
        putText(intervals, 14, QByteArray("\x0B\x03\x09\x00\x1E\x0C", 6));
        putText(intervals, 22, QByteArray("\x00\x00\x1D\x07\x01\x1E\x01\x1E\x07\x01\x00\x00\x0B\x02\x01\x0C\x01\x0C\x03\x01", 20));
        QByteArray span(14, '\0');
        putU16(span, 0, 1);
        putU16(span, 2, 2026);
        putText(span, 4, "\x0B\x02\x08\x0A");
        putU16(span, 8, 2026);
        putText(span, 10, "\x0B\x04\x07\x32");

        QCOMPARE(readFile(dir.filePath("OLD.tmp")), "0\n" + section(0, patient) + section(1, intervals) + section(2, span));
    }

    void fileconvRefusesBadInput_data()
    {
        QTest::addColumn<QByteArray>("pat");
        QTest::addColumn<QByteArray>("complaint");
        QTest::newRow("no start date") << QByteArray("startHour: 7\n") << QByteArray("startDate is missing");
        QTest::newRow("no start hour") << QByteArray("startDate: 2026-11-02\n") << QByteArray("startHour is missing");
        QTest::newRow("hour 24") << QByteArray("startDate: 2026-11-02\nstartHour: 24\n") << QByteArray("startHour");
        QTest::newRow("bad date") << QByteArray("startDate: 2026-02-30\nstartHour: 7\n") << QByteArray("startDate");
        QTest::newRow("unknown key") << QByteArray("startDate: 2026-11-02\nstartHour: 7\nnmae: x\n")
                                     << QByteArray("line 3: unknown key nmae");
        QTest::newRow("key twice") << QByteArray("startDate: 2026-11-02\nstartDate: 2026-11-03\nstartHour: 7\n")
                                   << QByteArray("given twice");
        QTest::newRow("line without colon") << QByteArray("startDate 2026-11-02\n") << QByteArray("line 1");
        QTest::newRow("nineteen scroll numbers")
            << QByteArray("startDate: 2026-11-02\nstartHour: 7\nscroll: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\n")
            << QByteArray("scroll");
        QTest::newRow("last before first")
            << QByteArray("startDate: 2026-11-02\nstartHour: 7\nfirstReading: 2026-11-02 08:00\n"
                          "lastReading: 2026-11-01 08:00\n")
            << QByteArray("lastReading");
    }

    void fileconvRefusesBadInput()
    {
        QFETCH(QByteArray, pat);
        QFETCH(QByteArray, complaint);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("BAD.pat"), pat));
        QProcess p;
        p.start(converterDir_ + "/fileconv", {dir.filePath("BAD.pat")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.contains(complaint), err.constData());
        QVERIFY(!QFile::exists(dir.filePath("BAD.tmp")));
    }

    void legacyConversionEndToEnd_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("base");
        QTest::newRow("plain") << "records" << "REC";
        QTest::newRow("blanks") << "my records" << "A B C";
        QTest::newRow("quotes and semicolons") << "it's \"here\"; touch injected" << "N'a\"m;e $(touch injected2) `touch x`";
    }

    void legacyConversionEndToEnd()
    {
        QFETCH(QString, directory);
        QFETCH(QString, base);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(directory));
        const QString dir = root.filePath(directory);
        const QString dat = dir + "/" + base + ".DAT";
        QVERIFY(writeFile(dir + "/" + base + ".pat", kPat));
        QVERIFY(writeFile(dat, demoRecording()));

        Session s;
        MessageLog log;
        QCOMPARE(createCompanionFile(s, dat, QString(), &log), CompanionCreation::Present);
        QVERIFY(log.shown.isEmpty());
        QVERIFY(QFile::exists(dir + "/" + base + ".p30"));
        QVERIFY(!QFile::exists(dir + "/" + base + ".pat"));
        QVERIFY(!QFile::exists(dir + "/" + base + ".tmp"));
        // Nothing of the path was run as a command.
        for (const QString& where : {dir, root.path(), QDir::currentPath()})
            for (const char* name : {"injected", "injected2", "x"})
                QVERIFY2(!QFile::exists(where + "/" + name), qPrintable(where + "/" + name));

        // Read back from disk: the records of the .pat, not of the data file.
        Session back;
        QVERIFY(readCompanionFile(back, dat, &log));
        const PatientRecord& p = back.patient;
        QCOMPARE(p.patientName.toQString(), QStringLiteral("鈴木 一郎"));
        QCOMPARE((QList<int>{p.recordingHours, p.recorderType, p.recorderId}), (QList<int>{48, 70, 4}));
        QCOMPARE((QStringList{p.physicianName.toQString(), p.age.toQString(), p.startDateText.toQString(),
                              p.startTimeText.toQString(), p.day1SleepTime.toQString(), p.day1WakeTime.toQString()}),
                 (QStringList{"Dr. Tanaka", "61", "2026/11/02", "08:00", "2230", "0615"}));
        const AnalysisIntervals& a = back.intervals;
        QCOMPARE((QList<double>{a.interval1StartDate, a.interval1StartTime, a.interval2StartDate, a.interval2StartTime}),
                 (QList<double>{kNov2, 8.0 / 24.0, kNov2 + 1, 9.0 / 24.0}));
        QCOMPARE((QList<quint32>{a.interval1Hours, a.interval2Hours, a.scroll[0].maximum, a.scroll[3].largeStep}),
                 (QList<quint32>{30, 12, 29, 3}));
        const RecordingSpan& r = back.span;
        QCOMPARE((QList<int>{r.first.year, r.first.month, r.first.day, r.first.hour, r.first.minute, r.last.year,
                             r.last.month, r.last.day, r.last.hour, r.last.minute}),
                 (QList<int>{2026, 11, 2, 8, 10, 2026, 11, 4, 7, 50}));
        QCOMPARE((QList<double>{r.first.date, r.first.timeOfDay, r.last.date}),
                 (QList<double>{kNov2, (8 * 60 + 10) / 1440.0, kNov2 + 2}));
    }

    // Where fileconv gives nothing usable, or a companion file is there already,
    // the records come from the data file (or the file present) and the .pat stays.
    void creationWithoutConversion_data()
    {
        QTest::addColumn<QByteArray>("pat");
        QTest::addColumn<bool>("converterOnPath");
        QTest::addColumn<QByteArray>("tmp");      // left by an earlier run
        QTest::addColumn<bool>("p30Present");
        QTest::addColumn<QString>("givenName");
        QTest::addColumn<QString>("patientName");
        QByteArray stale(1096, '\0');
        putText(stale, 37, "STALE");
        const QByteArray staleTmp = "0\n" + section(0, stale) + section(1, QByteArray(42, '\0')) + section(2, QByteArray(14, '\0'));
        QTest::newRow("no tmp appears") << QByteArray("startDate: never\n") << true << QByteArray() << false << QString()
                                        << QStringLiteral("山田 太郎");
        QTest::newRow("converter missing") << QByteArray(kPat) << false << QByteArray() << false
                                           << QStringLiteral("Given Name") << QStringLiteral("Given Name");
        QTest::newRow("stale tmp not taken") << QByteArray(kPat) << true << staleTmp << false << QString()
                                             << QStringLiteral("鈴木 一郎");
        QTest::newRow("existing companion left alone") << QByteArray(kPat) << true << QByteArray() << true
                                                       << QStringLiteral("Other") << QString();
    }

    void creationWithoutConversion()
    {
        QFETCH(QByteArray, pat);
        QFETCH(bool, converterOnPath);
        QFETCH(QByteArray, tmp);
        QFETCH(bool, p30Present);
        QFETCH(QString, givenName);
        QFETCH(QString, patientName);
        QTemporaryDir dir;
        QTemporaryDir emptyBin;
        QVERIFY(writeFile(dir.filePath("REC.pat"), pat));
        QVERIFY(writeFile(dir.filePath("REC.DAT"), demoRecording()));
        if (!tmp.isEmpty())
            QVERIFY(writeFile(dir.filePath("REC.tmp"), tmp));
        if (p30Present)
            QVERIFY(writeFile(dir.filePath("REC.p30"), goldenFile()));
        if (!converterOnPath)
            qputenv("PATH", QFile::encodeName(emptyBin.path()));
        Session s;
        MessageLog log;
        const CompanionCreation created = createCompanionFile(s, dir.filePath("REC.DAT"), givenName, &log);
        qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
        QCOMPARE(created, CompanionCreation::Present);
        QVERIFY(log.shown.isEmpty());
        if (!patientName.isEmpty())   // empty: the file present is not read here
            QCOMPARE(s.patient.patientName.toQString(), patientName);
        QCOMPARE(QFile::exists(dir.filePath("REC.pat")), pat != kPat || !converterOnPath || p30Present);
        QVERIFY(!QFile::exists(dir.filePath("REC.tmp")));
        if (p30Present)
            QCOMPARE(readFile(dir.filePath("REC.p30")), goldenFile());
        else
            QVERIFY(QFile::exists(dir.filePath("REC.p30")));
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
