// The companion file NAME.p30: its exact bytes (golden files), the sections
// and older sizes on reading, and its creation from a legacy patient file
// through fileconv.
#include "recordingsink.h"
#include "records/companionfile.h"
#include "records/daycount.h"
#include "session/session.h"
#include "synthetic.h"
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

template <std::size_t N>
QByteArray bytesOf(const std::array<std::uint8_t, N>& packed)
{
    return QByteArray(reinterpret_cast<const char*>(packed.data()), qsizetype(N));
}

constexpr double kNov2 = 46328;  // 2026-11-02 as a day count

// Every field of the three records filled (golden companion.p30.hex).
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
    p.day2SleepTime = "23:00";
    p.day2WakeTime = "07:00";
    s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 7, 24);
    s.span.first = {2026, 11, 2, 7, 5, kNov2, encodeTime(7, 5)};
    s.span.last = {2026, 11, 3, 6, 40, kNov2 + 1, encodeTime(6, 40)};
}

// A .pat describing a two-day recording, as fileconv reads it, every text
// its own. The name (lead bytes FA, FB) runs past the new record's 20 bytes
// with 髙 on bytes 19-20.
const char kPat[] =
    "# legacy patient file\n" "patientName: 髙﨑 一郎 ﾀｶｻｷ ｲﾁﾛｳ髙橋\n"
    "patientAddress: 3-1 Kita, Sapporo\n" "patientPhone: 011-222-3333\n" "physicianName: Dr. Tanaka\n"
    "physicianAddress: 9-8 Minami\n" "physicianPhone: 011-444-5555\n" "socialSecurityNumber: SS-20\n"
    "insurance: Kokuho\n" "medicareNumber: MC-31\n" "age: 61\n" "sex: M\n" "height: 158\n" "weight: 49\n"
    "medications: nifedipine\n" "comments: readings at home\n" "day2Sleep: 2345\n" "day2Wake: 0640\n"
    "startDate: 2026-11-02\n" "startHour: 8\n" "recordingHours: 48\n" "recorderId: 4\n"
    "day1Sleep: 2230\n" "day1Wake: 0615\n" "interval1Hours: 30\n"
    "interval2Date: 2026-11-03\n" "interval2Hour: 9\n" "interval2Hours: 12\n"
    "firstReading: 2026-11-02 08:10\n" "lastReading: 2026-11-04 07:50\n";

QByteArray recording()
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

    // fileconv run on OLD.pat holding `pat`: its exit code, its complaint,
    // and OLD.tmp.
    std::tuple<int, QByteArray, QByteArray> convert(const QByteArray& pat)
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("OLD.pat"), pat);
        QProcess p;
        p.start(converterDir_ + "/fileconv", {dir.filePath("OLD.pat")});
        p.waitForFinished(10000);
        const QString tmp = dir.filePath("OLD.tmp");
        return {p.exitCode(), p.readAllStandardError().replace(dir.path().toUtf8() + '/', ""),
                QFile::exists(tmp) ? readFile(tmp) : QByteArray()};
    }

private Q_SLOTS:
    void initTestCase()
    {
        // fileconv is built beside ks318-cli; the program finds it on PATH.
        converterDir_ = QFileInfo(qEnvironmentVariable("KS318_CLI")).absolutePath();
        QVERIFY2(QFile::exists(converterDir_ + "/fileconv"), qPrintable(converterDir_));
        path_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
    }

    // Fields of the file written from fillRecords at the offsets the record
    // layouts give them, worked out by hand: texts NUL-terminated in CP932,
    // numbers little-endian, dates as day counts (2026-11-02 is day 46328).
    // The hex dump of the whole file below is the catch-all.
    void fieldsAtTheirOffsets_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        QTest::newRow("patient valid") << 0 << 0 << hex("01000000");
        QTest::newRow("recording hours 24") << 0 << 4 << hex("18");
        QTest::newRow("recorder type 70") << 0 << 5 << hex("46");
        QTest::newRow("start date") << 0 << 6 << QByteArray("2026/11/02\0", 11);
        QTest::newRow("start time") << 0 << 27 << QByteArray("07:00\0", 6);
        QTest::newRow("recorder id 3") << 0 << 38 << hex("03");
        QTest::newRow("patient name, CP932") << 0 << 39 << hex("8e529363 2091be9859 00");
        QTest::newRow("patient address") << 0 << 60 << QByteArray("1-2-3 Shiba, Minato\0", 20);
        QTest::newRow("patient phone") << 0 << 111 << QByteArray("03-1234-5678\0", 13);
        QTest::newRow("physician name") << 0 << 132 << QByteArray("Dr. Sato\0", 9);
        QTest::newRow("physician address") << 0 << 195 << QByteArray("4-5-6 Azabu\0", 12);
        QTest::newRow("physician phone") << 0 << 246 << QByteArray("03-9999-0000\0", 13);
        QTest::newRow("social security number") << 0 << 267 << QByteArray("SSN-1\0", 6);
        QTest::newRow("insurance") << 0 << 288 << QByteArray("Kenpo\0", 6);
        QTest::newRow("medicare number") << 0 << 329 << QByteArray("MC-7\0", 5);
        QTest::newRow("age") << 0 << 350 << QByteArray("58\0", 3);
        QTest::newRow("sex, CP932") << 0 << 361 << hex("926a00");
        QTest::newRow("height") << 0 << 372 << QByteArray("172\0", 4);
        QTest::newRow("weight") << 0 << 383 << QByteArray("70\0", 3);
        QTest::newRow("medications") << 0 << 394 << QByteArray("amlodipine\0", 11);
        QTest::newRow("comments") << 0 << 455 << QByteArray("morning readings high\0", 22);
        QTest::newRow("day-1 sleep") << 0 << 856 << QByteArray("22:30\0", 6);
        QTest::newRow("day-1 wake") << 0 << 867 << QByteArray("06:00\0", 6);
        QTest::newRow("day-2 sleep") << 0 << 878 << QByteArray("23:00\0", 6);
        QTest::newRow("day-2 wake, last field") << 0 << 889 << QByteArray("07:00\0\0\0\0\0\0", 11);
        // The records are stored as they stand in memory: fillRecords leaves the
        // valid flags of the intervals and the span 0.
        QTest::newRow("intervals valid as in memory, day offset 0") << 1 << 0 << hex("00000000 00000000");
        QTest::newRow("interval-1 start date") << 1 << 8 << hex("00000000009fe640");
        QTest::newRow("interval-2 start date") << 1 << 24 << hex("00000000009fe640");
        QTest::newRow("interval-1 start time 07:00") << 1 << 32 << hex("abaaaaaaaaaad23f");
        QTest::newRow("interval-1 hours 24") << 1 << 40 << hex("18000000");
        QTest::newRow("interval-2 hours 24") << 1 << 56 << hex("18000000");
        // (0, 0, 23, 23 / 4, 1), (24, 1, 24, 24 / 4, 1), twice.
        QTest::newRow("scroll settings")
            << 1 << 60
            << hex("00000000 00000000 17000000 05000000 01000000 18000000 01000000 18000000 06000000 01000000"
                   "00000000 00000000 17000000 05000000 01000000 18000000 01000000 18000000 06000000 01000000");
        QTest::newRow("span valid as in memory, first reading 2026-11-02 07:05") << 2 << 0 << hex("00000000 ea07 0b 02 07 05");
        QTest::newRow("first date") << 2 << 16 << hex("00000000009fe640");
        QTest::newRow("first time of day") << 2 << 24 << hex("398ee3388ee3d23f");
        QTest::newRow("last reading 2026-11-03 06:40") << 2 << 32 << hex("ea07 0b 03 06 28");
        QTest::newRow("last date and time") << 2 << 40 << hex("00000000209fe640 721cc7711cc7d13f");
    }
    void fieldsAtTheirOffsets()
    {
        QFETCH(int, section);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        Session session;
        fillRecords(session);
        QVERIFY(writeCompanionFile(session, dir.filePath("REC.DAT"), nullptr));
        // "0" (version), then per section its id, its size and the raw block.
        QByteArray file = readFile(dir.filePath("REC.p30"));
        QVERIFY(file.startsWith("0\n"));
        file.remove(0, 2);
        static const int kSizes[] = {900, 144, 56};
        for (int id = 0; id <= section; ++id) {
            const QByteArray head = QByteArray::number(id) + '\n' + QByteArray::number(kSizes[id]) + '\n';
            QVERIFY2(file.startsWith(head), file.left(16).constData());
            file.remove(0, head.size());
            if (id < section)
                file.remove(0, kSizes[id] + 1);
        }
        QCOMPARE(file.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void filledRecordsWriteExactBytesAndReadBack()
    {
        QTemporaryDir dir;
        Session session;
        fillRecords(session);
        MessageLog log;
        QVERIFY(writeCompanionFile(session, dir.filePath("REC.DAT"), &log));
        KS318_COMPARE_GOLDEN(hexDump(readFile(dir.filePath("REC.p30"))), "companion.p30.hex");

        Session again;
        QVERIFY(readCompanionFile(again, dir.filePath("REC.DAT"), &log));
        QVERIFY(log.shown.isEmpty());
        QCOMPARE((QList<quint32>{again.patient.valid, again.intervals.valid, again.span.valid}), (QList<quint32>{1, 1, 1}));
        session.intervals.valid = session.span.valid = 1;
        QVERIFY(again.patient.pack() == session.patient.pack());
        QVERIFY(again.intervals.pack() == session.intervals.pack());
        QVERIFY(again.span.pack() == session.span.pack());
    }

    // A 1100-byte patient record and an 80-byte interval record as older
    // versions wrote them, converted on reading (texts cut on a character
    // boundary, the scroll bytes widened).
    void olderSizesAreConverted()
    {
        Session s;
        const CompanionSections read = parseCompanionFile(fromHexDump(golden("legacy.p30.hex")), s.patient,
                                                          s.intervals, s.span);
        QVERIFY(read.patient && read.intervals && !read.span);
        KS318_COMPARE_GOLDEN(hexDump(formatCompanionFile(s.patient, s.intervals, s.span)), "legacy-converted.p30.hex");
    }

    void readSections_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("patient");
        QTest::addColumn<bool>("intervals");
        QTest::addColumn<bool>("span");

        Session s;
        fillRecords(s);
        const QByteArray patient = bytesOf(s.patient.pack());
        const QByteArray s0 = section(0, patient);
        const QByteArray s1 = section(1, bytesOf(s.intervals.pack()));
        const QByteArray s2 = section(2, bytesOf(s.span.pack()));
        QTest::newRow("all three") << "0\n" + s0 + s1 + s2 << true << true << true;
        QTest::newRow("only section 0") << "0\n" + s0 << true << false << false;
        QTest::newRow("version line 1") << "1\n" + s0 + s1 + s2 << false << false << false;
        QTest::newRow("empty file") << QByteArray() << false << false << false;
        QTest::newRow("sections in another order") << "0\n" + s2 + s0 + s1 << true << true << true;
        QTest::newRow("unknown id stops reading") << "0\n" + s0 + section(3, "xyz") + s1 + s2 << true << false << false;
        QTest::newRow("truncated section 1") << "0\n" + s0 + s1.left(60) << true << false << false;
        QTest::newRow("section 1 of unknown size passed over")
            << "0\n" + s0 + section(1, QByteArray(100, '\x01')) + s2 << true << false << true;
        QTest::newRow("short span") << "0\n" + section(2, s2.mid(5, 10)) << false << false << true;
        QTest::newRow("zero size stops reading") << "0\n0\n0\n" + s1 << false << false << false;
        QTest::newRow("block starting with a blank") << "0\n" + section(0, " " + patient.mid(1)) << true << false << false;
        QTest::newRow("CR LF number lines") << "0\r\n0\r\n900\r\n" + patient + "\n" << true << false << false;
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
        if (patient)
            QCOMPARE(s.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
    }

    // A missing file to read: message 202, and the records in memory stay as
    // they were (a failed write is in tst_writefaults).
    void missingFileShowsMessage202()
    {
        QTemporaryDir dir;
        Session s;
        fillRecords(s);
        MessageLog log;
        QVERIFY(!readCompanionFile(s, dir.filePath("NONE.DAT"), &log));
        QCOMPARE(log.shown, (QList<ShownMessage>{{202, 14, MessageIcon::Warning}}));
        QCOMPARE(s.patient.valid, 1u);
        QCOMPARE(s.patient.physicianName.str(), std::string("Dr. Sato"));
    }

    // Each .pat of fileconv.txt (its lines joined by "\n") is refused with
    // exit 1, the complaint below it, and no NAME.tmp.
    void fileconvRefusesBadInput()
    {
        KS318_COMPARE_GOLDEN_TABLE("fileconv.txt", [this](const QByteArray& line) {
            const auto [exitCode, err, tmp] = convert(QByteArray(line).replace("\\n", "\n"));
            return "exit " + QByteArray::number(exitCode) + (tmp.isEmpty() ? "" : ", NAME.tmp written") + ": "
                   + err.left(err.indexOf('\n'));
        });
    }

    // The program runs fileconv with an argument list: nothing of the path
    // runs as a command. The .pat and .tmp go once NAME.p30 holds the records
    // of the .pat, not of the data file.
    void legacyConversionEndToEnd_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("base");
        QTest::newRow("plain") << "records" << "REC";
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
        QVERIFY(writeFile(dat, recording()));

        Session s;
        MessageLog log;
        QCOMPARE(createCompanionFile(s, dat, QString(), &log), CompanionCreation::Present);
        QVERIFY(log.shown.isEmpty());
        QVERIFY(!QFile::exists(dir + "/" + base + ".pat"));
        QVERIFY(!QFile::exists(dir + "/" + base + ".tmp"));
        for (const QString& where : {dir, root.path(), QDir::currentPath()})
            for (const char* name : {"injected", "injected2", "x"})
                QVERIFY2(!QFile::exists(where + "/" + name), qPrintable(where + "/" + name));
        KS318_COMPARE_GOLDEN(hexDump(readFile(dir + "/" + base + ".p30")), "fileconv.p30.hex");
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
        const QByteArray stale = QByteArray(37, '\0') + "STALE" + QByteArray(1096 - 42, '\0');
        const QByteArray staleTmp = "0\n" + section(0, stale) + section(1, QByteArray(42, '\0')) + section(2, QByteArray(14, '\0'));
        QTest::newRow("no tmp appears") << QByteArray("startDate: never\n") << true << QByteArray() << false << QString()
                                        << QStringLiteral("山田 太郎");
        QTest::newRow("converter missing") << QByteArray(kPat) << false << QByteArray() << false
                                           << QStringLiteral("Given Name") << QStringLiteral("Given Name");
        QTest::newRow("stale tmp not taken") << QByteArray(kPat) << true << staleTmp << false << QString()
                                             << QStringLiteral("髙﨑 一郎 ﾀｶｻｷ ｲﾁﾛｳ");
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
        QVERIFY(writeFile(dir.filePath("REC.DAT"), recording()));
        if (!tmp.isEmpty())
            QVERIFY(writeFile(dir.filePath("REC.tmp"), tmp));
        const QByteArray present = "0\n" + section(2, QByteArray(56, '\0'));
        if (p30Present)
            QVERIFY(writeFile(dir.filePath("REC.p30"), present));
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
            QCOMPARE(readFile(dir.filePath("REC.p30")), present);
        else
            QVERIFY(QFile::exists(dir.filePath("REC.p30")));
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
