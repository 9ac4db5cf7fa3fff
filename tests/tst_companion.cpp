// The companion file NAME.p30: exact bytes, sections and older sizes, and
// its creation from a legacy patient file through fileconv.
#include "recordingsink.h"
#include "records/companionfile.h"
#include "records/cp932.h"
#include "records/daycount.h"
#include "records/session.h"
#include "support/synthetic.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

using namespace ks318;
using ks318::test::MessageLog;
using ks318::test::ShownMessage;

namespace {

void putU16(QByteArray& b, int offset, quint16 v)
{
    b[offset] = char(v & 0xff);
    b[offset + 1] = char(v >> 8);
}

void putU32(QByteArray& b, int offset, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[offset + i] = char((v >> (8 * i)) & 0xff);
}

void putF64(QByteArray& b, int offset, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i)
        b[offset + i] = char((bits >> (8 * i)) & 0xff);
}

void putText(QByteArray& b, int offset, const QByteArray& text)
{
    for (int i = 0; i < text.size(); ++i)
        b[offset + i] = text[i];
}

QByteArray sjis(const QString& s)
{
    const std::string bytes = toCp932(s);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QByteArray section(int id, const QByteArray& block)
{
    return QByteArray::number(id) + "\n" + QByteArray::number(block.size()) + "\n" + block + "\n";
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
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
    putText(b, 6, "2026/11/02");
    putText(b, 27, "07:00");
    b[38] = char(3);
    putText(b, 39, sjis(QStringLiteral("山田 太郎")));
    putText(b, 60, "1-2-3 Shiba, Minato");
    putText(b, 111, "03-1234-5678");
    putText(b, 132, "Dr. Sato");
    putText(b, 195, "4-5-6 Azabu");
    putText(b, 246, "03-9999-0000");
    putText(b, 267, "SSN-1");
    putText(b, 288, "Kenpo");
    putText(b, 329, "MC-7");
    putText(b, 350, "58");
    putText(b, 361, sjis(QStringLiteral("男")));
    putText(b, 372, "172");
    putText(b, 383, "70");
    putText(b, 394, "amlodipine");
    putText(b, 455, "morning readings high");
    putText(b, 856, "22:30");
    putText(b, 867, "06:00");
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
    b[6] = char(11);
    b[7] = char(2);
    b[8] = char(7);
    b[9] = char(5);
    putF64(b, 16, kNov2);
    putF64(b, 24, (7 * 60 + 5) / 1440.0);
    putU16(b, 32, 2026);
    b[34] = char(11);
    b[35] = char(3);
    b[36] = char(6);
    b[37] = char(40);
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

private Q_SLOTS:
    void initTestCase();
    void defaultRecordsFile();
    void filledRecordsWriteExactBytesAndReadBack();
    void readSections_data();
    void readSections();
    void olderPatientRecordIsConverted();
    void olderIntervalRecordIsWidened();
    void namesAreCutAtTheirLastByte();
    void missingFileShowsMessage202();
    void writeFailureShowsMessage202();
    void fileconvWritesLegacyLayout();
    void fileconvRefusesBadInput_data();
    void fileconvRefusesBadInput();
    void legacyConversionEndToEnd_data();
    void legacyConversionEndToEnd();
    void fallbackWhenNoTmpAppears();
    void fallbackWhenConverterIsMissing();
    void staleTmpIsNotTaken();
    void existingCompanionIsLeftAlone();

private:
    QString converterDir_;
    QByteArray path_;
};

void TestCompanion::initTestCase()
{
    // fileconv is built beside ks318-cli; the program finds it on PATH.
    converterDir_ = QFileInfo(qEnvironmentVariable("KS318_CLI")).absolutePath();
    QVERIFY2(QFile::exists(converterDir_ + "/fileconv"), qPrintable(converterDir_));
    path_ = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
}

void TestCompanion::defaultRecordsFile()
{
    const QByteArray expected = "0\n" + section(0, QByteArray(900, '\0')) + section(1, QByteArray(144, '\0'))
                                + section(2, QByteArray(56, '\0'));
    QCOMPARE(formatCompanionFile(PatientRecord(), AnalysisIntervals(), RecordingSpan()), expected);
}

void TestCompanion::filledRecordsWriteExactBytesAndReadBack()
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
    QCOMPARE(again.patient.valid, 1u);
    QCOMPARE(again.intervals.valid, 1u);
    QCOMPARE(again.span.valid, 1u);
    session.intervals.valid = session.span.valid = 1;
    QVERIFY(again.patient.pack() == session.patient.pack());
    QVERIFY(again.intervals.pack() == session.intervals.pack());
    QVERIFY(again.span.pack() == session.span.pack());
}

void TestCompanion::readSections_data()
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

void TestCompanion::readSections()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, patient);
    QFETCH(bool, intervals);
    QFETCH(bool, span);
    Session s;
    s.patient.valid = s.intervals.valid = s.span.valid = 1;  // left from another file
    const CompanionSections read = parseCompanionFile(bytes, s.patient, s.intervals, s.span);
    QCOMPARE(s.patient.valid == 1, patient);
    QCOMPARE(s.intervals.valid == 1, intervals);
    QCOMPARE(s.span.valid == 1, span);
    QCOMPARE(read.patient, patient);
    QCOMPARE(read.intervals, intervals);
    QCOMPARE(read.span, span);
    if (patient && bytes.contains(goldenPatient()))
        QCOMPARE(s.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
    if (span && bytes.contains(goldenSpan()))
        QCOMPARE(s.span.last.minute, std::uint8_t(40));
}

void TestCompanion::olderPatientRecordIsConverted()
{
    QByteArray b(1100, '\0');
    putU32(b, 0, 1);
    b[4] = char(48);
    b[5] = char(25);
    putText(b, 6, "2001/02/03");
    putText(b, 27, "10:00");
    b[38] = char(9);
    // 'A' and ten double-byte characters: 21 bytes, cut before the tenth.
    putText(b, 39, sjis(QStringLiteral("A") + QString(10, QChar(0x5c71))));
    putText(b, 120, "address");
    putText(b, 171, "phone");
    putText(b, 192, QByteArray(70, 'P'));
    putText(b, 273, "physician address");
    putText(b, 324, "physician phone");
    putText(b, 345, "ssn");
    putText(b, 366, "insurance");
    putText(b, 407, "medicare");
    putText(b, 428, "44");
    putText(b, 439, "F");
    putText(b, 450, "160");
    putText(b, 461, "55");
    putText(b, 472, QByteArray(80, 'M'));
    putText(b, 553, QByteArray(450, 'C'));
    putText(b, 1053, "2230");
    putText(b, 1064, "0600");
    putText(b, 1075, "2300");
    putText(b, 1086, "0700");

    Session s;
    parseCompanionFile("0\n" + section(0, b), s.patient, s.intervals, s.span);
    const PatientRecord& p = s.patient;
    QCOMPARE(p.valid, 1u);
    QCOMPARE(p.recordingHours, std::uint8_t(48));
    QCOMPARE(p.recorderType, std::uint8_t(25));
    QCOMPARE(p.startDateText.str(), std::string("2001/02/03"));
    QCOMPARE(p.startTimeText.str(), std::string("10:00"));
    QCOMPARE(p.recorderId, std::uint8_t(9));
    QCOMPARE(p.patientName.toQString(), QStringLiteral("A") + QString(9, QChar(0x5c71)));
    QCOMPARE(p.patientAddress.str(), std::string("address"));
    QCOMPARE(p.patientPhone.str(), std::string("phone"));
    QCOMPARE(p.physicianName.str(), std::string(62, 'P'));
    QCOMPARE(p.physicianAddress.str(), std::string("physician address"));
    QCOMPARE(p.physicianPhone.str(), std::string("physician phone"));
    QCOMPARE(p.socialSecurityNumber.str(), std::string("ssn"));
    QCOMPARE(p.insurance.str(), std::string("insurance"));
    QCOMPARE(p.medicareNumber.str(), std::string("medicare"));
    QCOMPARE(p.age.str(), std::string("44"));
    QCOMPARE(p.sex.str(), std::string("F"));
    QCOMPARE(p.height.str(), std::string("160"));
    QCOMPARE(p.weight.str(), std::string("55"));
    QCOMPARE(p.medications.str(), std::string(60, 'M'));
    QCOMPARE(p.comments.str(), std::string(400, 'C'));
    QCOMPARE(p.day1SleepTime.str(), std::string("2230"));
    QCOMPARE(p.day1WakeTime.str(), std::string("0600"));
    QCOMPARE(p.day2SleepTime.str(), std::string("2300"));
    QCOMPARE(p.day2WakeTime.str(), std::string("0700"));
}

void TestCompanion::olderIntervalRecordIsWidened()
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
    QCOMPARE(a.valid, 1u);
    QCOMPARE(a.interval1DayOffset, 2u);
    QCOMPARE(a.interval1StartDate, 37000.0);
    QCOMPARE(a.reserved, 7u);
    QCOMPARE(a.interval2DayOffset, 3u);
    QCOMPARE(a.interval2StartDate, 37001.0);
    QCOMPARE(a.interval1StartTime, 0.25);
    QCOMPARE(a.interval1Hours, 48u);
    QCOMPARE(a.interval2StartTime, 0.5);
    QCOMPARE(a.interval2Hours, 200u);
    for (int g = 0; g < 4; ++g) {
        const ScrollSetting& sc = a.scroll[std::size_t(g)];
        const quint32 base = quint32(101 + 5 * g);
        QCOMPARE((QList<quint32>{sc.position, sc.minimum, sc.maximum, sc.largeStep, sc.smallStep}),
                 (QList<quint32>{base, base + 1, base + 2, base + 3, base + 4}));
    }
}

void TestCompanion::namesAreCutAtTheirLastByte()
{
    QByteArray b(900, 'A');
    putU32(b, 0, 0);
    Session s;
    parseCompanionFile("0\n" + section(0, b), s.patient, s.intervals, s.span);
    QCOMPARE(s.patient.patientName.size(), std::size_t(20));
    QCOMPARE(s.patient.physicianName.size(), std::size_t(62));
    QCOMPARE(s.patient.medications.size(), std::size_t(60));
    QCOMPARE(s.patient.comments.size(), std::size_t(400));
}

void TestCompanion::missingFileShowsMessage202()
{
    QTemporaryDir dir;
    Session s;
    fillRecords(s);
    MessageLog log;
    QVERIFY(!readCompanionFile(s, dir.filePath("NONE.DAT"), &log));
    QCOMPARE(log.shown, (QList<ShownMessage>{{202, 14, MessageIcon::Warning}}));
    QCOMPARE(s.patient.valid, 1u);  // the records stay as they were
    QCOMPARE(s.patient.physicianName.str(), std::string("Dr. Sato"));
}

void TestCompanion::writeFailureShowsMessage202()
{
    QTemporaryDir dir;
    Session s;
    MessageLog log;
    QVERIFY(!writeCompanionFile(s, dir.filePath("missing/dir/REC.DAT"), &log));
    QCOMPARE(log.shown, (QList<ShownMessage>{{202, 14, MessageIcon::Warning}}));
}

void TestCompanion::fileconvWritesLegacyLayout()
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
    putText(patient, 4, "2026/11/02");
    putText(patient, 25, "08:00");
    patient[36] = char(4);
    putText(patient, 37, sjis(QStringLiteral("鈴木 一郎")));
    putText(patient, 190, "Dr. Tanaka");
    putText(patient, 426, "61");
    putText(patient, 1051, "2230");
    putText(patient, 1062, "0615");

    QByteArray intervals(42, '\0');
    putU16(intervals, 0, 1);
    putU16(intervals, 4, 2026);
    intervals[6] = char(11);
    intervals[7] = char(2);
    intervals[8] = char(8);
    putU16(intervals, 12, 2026);
    intervals[14] = char(11);
    intervals[15] = char(3);
    intervals[16] = char(9);
    intervals[18] = char(30);
    intervals[19] = char(12);
    const char scroll[20] = {0, 0, 29, 7, 1, 30, 1, 30, 7, 1, 0, 0, 11, 2, 1, 12, 1, 12, 3, 1};
    for (int i = 0; i < 20; ++i)
        intervals[22 + i] = scroll[i];

    QByteArray span(14, '\0');
    putU16(span, 0, 1);
    putU16(span, 2, 2026);
    span[4] = char(11);
    span[5] = char(2);
    span[6] = char(8);
    span[7] = char(10);
    putU16(span, 8, 2026);
    span[10] = char(11);
    span[11] = char(4);
    span[12] = char(7);
    span[13] = char(50);

    QCOMPARE(readFile(dir.filePath("OLD.tmp")), "0\n" + section(0, patient) + section(1, intervals) + section(2, span));
}

void TestCompanion::fileconvRefusesBadInput_data()
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

void TestCompanion::fileconvRefusesBadInput()
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

void TestCompanion::legacyConversionEndToEnd_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("base");
    QTest::newRow("plain") << "records" << "REC";
    QTest::newRow("blanks") << "my records" << "A B C";
    QTest::newRow("quotes and semicolons") << "it's \"here\"; touch injected" << "N'a\"m;e $(touch injected2) `touch x`";
}

void TestCompanion::legacyConversionEndToEnd()
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
    QVERIFY(createCompanionFile(s, dat, QString(), &log));
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
    QCOMPARE(p.physicianName.str(), std::string("Dr. Tanaka"));
    QCOMPARE(p.age.str(), std::string("61"));
    QCOMPARE(p.recordingHours, std::uint8_t(48));
    QCOMPARE(p.recorderType, std::uint8_t(70));
    QCOMPARE(p.recorderId, std::uint8_t(4));
    QCOMPARE(p.startDateText.str(), std::string("2026/11/02"));
    QCOMPARE(p.startTimeText.str(), std::string("08:00"));
    QCOMPARE(p.day1SleepTime.str(), std::string("2230"));
    QCOMPARE(p.day1WakeTime.str(), std::string("0615"));

    const AnalysisIntervals& a = back.intervals;
    QCOMPARE(a.interval1StartDate, kNov2);
    QCOMPARE(a.interval1StartTime, 8.0 / 24.0);
    QCOMPARE(a.interval1Hours, 30u);
    QCOMPARE(a.interval2StartDate, kNov2 + 1);
    QCOMPARE(a.interval2StartTime, 9.0 / 24.0);
    QCOMPARE(a.interval2Hours, 12u);
    QCOMPARE(a.scroll[0].maximum, 29u);
    QCOMPARE(a.scroll[3].largeStep, 3u);

    const RecordingSpan& r = back.span;
    QCOMPARE((QList<int>{r.first.year, r.first.month, r.first.day, r.first.hour, r.first.minute}),
             (QList<int>{2026, 11, 2, 8, 10}));
    QCOMPARE((QList<int>{r.last.year, r.last.month, r.last.day, r.last.hour, r.last.minute}),
             (QList<int>{2026, 11, 4, 7, 50}));
    QCOMPARE(r.first.date, kNov2);
    QCOMPARE(r.first.timeOfDay, (8 * 60 + 10) / 1440.0);
    QCOMPARE(r.last.date, kNov2 + 2);
}

void TestCompanion::fallbackWhenNoTmpAppears()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("REC.pat"), "startDate: never\n"));  // fileconv writes nothing
    QVERIFY(writeFile(dir.filePath("REC.DAT"), demoRecording()));
    Session s;
    MessageLog log;
    QVERIFY(createCompanionFile(s, dir.filePath("REC.DAT"), QString(), &log));
    QVERIFY(log.shown.isEmpty());
    QVERIFY(QFile::exists(dir.filePath("REC.pat")));
    QVERIFY(!QFile::exists(dir.filePath("REC.tmp")));
    QCOMPARE(s.patient.patientName.toQString(), QStringLiteral("山田 太郎"));  // the data file's patient
    QCOMPARE(s.patient.recorderType, std::uint8_t(70));
}

void TestCompanion::fallbackWhenConverterIsMissing()
{
    QTemporaryDir dir;
    QTemporaryDir emptyBin;
    QVERIFY(writeFile(dir.filePath("REC.pat"), kPat));
    QVERIFY(writeFile(dir.filePath("REC.DAT"), demoRecording()));
    qputenv("PATH", QFile::encodeName(emptyBin.path()));
    Session s;
    const bool created = createCompanionFile(s, dir.filePath("REC.DAT"), QStringLiteral("Given Name"), nullptr);
    qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
    QVERIFY(created);
    QVERIFY(QFile::exists(dir.filePath("REC.pat")));
    QCOMPARE(s.patient.patientName.str(), std::string("Given Name"));
}

void TestCompanion::staleTmpIsNotTaken()
{
    QTemporaryDir dir;
    QByteArray stale(1096, '\0');
    putText(stale, 37, "STALE");
    QVERIFY(writeFile(dir.filePath("REC.tmp"), "0\n" + section(0, stale) + section(1, QByteArray(42, '\0'))
                                                   + section(2, QByteArray(14, '\0'))));
    QVERIFY(writeFile(dir.filePath("REC.pat"), kPat));
    QVERIFY(writeFile(dir.filePath("REC.DAT"), demoRecording()));
    Session s;
    QVERIFY(createCompanionFile(s, dir.filePath("REC.DAT"), QString(), nullptr));
    QCOMPARE(s.patient.patientName.toQString(), QStringLiteral("鈴木 一郎"));
}

void TestCompanion::existingCompanionIsLeftAlone()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("REC.p30"), goldenFile()));
    QVERIFY(writeFile(dir.filePath("REC.pat"), kPat));
    QVERIFY(writeFile(dir.filePath("REC.DAT"), demoRecording()));
    Session s;
    QVERIFY(createCompanionFile(s, dir.filePath("REC.DAT"), QStringLiteral("Other"), nullptr));
    QCOMPARE(readFile(dir.filePath("REC.p30")), goldenFile());
    QVERIFY(QFile::exists(dir.filePath("REC.pat")));
}

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
