// CSV export: ks318-cli csv on the known recording (golden known.csv and
// csv.txt), quoting, the row formats of every recorder type, the blank
// variants without a companion file, and the rows of analysis window 1.
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/csvexport.h"
#include "session/session.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

namespace {

QByteArray sections(const QByteArray& name, const QByteArray& sex = {}, const QByteArray& age = {})
{
    return test::patientSections(name, {}, sex, age);
}

// The date as the system's short date format writes it, in CP932 (ASCII in
// every locale the tests run in).
QByteArray shortDate(int year, int month, int day)
{
    return QLocale::system().toString(QDate(year, month, day), QLocale::ShortFormat).toLatin1();
}

const QByteArray kOscHeader = "\"DATE\",\"TIME\",\"SYS(O)\",\"DIA(O)\",\"PUL(O)\",\"ERR(O)\",\"EXC(O)\"\r\n";

struct Method {
    int pp, dia, pulse, error, excluded;
};

// One reading of 5 March 2009 21:07 inside window 1 with the raw values of
// both methods.
std::unique_ptr<SessionData> oneReading(const Method& k, const Method& o)
{
    auto d = std::make_unique<SessionData>();
    BpReading& r = d->readings[0];
    std::tie(r.year, r.month, r.day, r.hour, r.minute) = std::tuple(2009u, 3, 5, 21, 7);
    std::tie(r.korPulsePressure, r.korDia, r.korPulse, r.korError, r.korExcluded) =
        std::tuple(k.pp, k.dia, k.pulse, k.error, k.excluded);
    std::tie(r.oscPulsePressure, r.oscDia, r.oscPulse, r.oscError, r.oscExcluded) =
        std::tuple(o.pp, o.dia, o.pulse, o.error, o.excluded);
    r.windowMembership = InWindow1;
    d->counters.readingCount = 1;
    return d;
}

} // namespace

class TstCsvExport : public QObject {
    Q_OBJECT

private:
    test::ScratchDir dir_;
    QString path(const char* name) const { return dir_.path(name); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        dir_.clear();
    }

    // A recording never opened: its companion file is made and NAME.csv
    // replaces an earlier export.
    void knownRecording()
    {
        QVERIFY(test::writeFile(path("KNOWN.DAT"), test::golden("known.DAT")));
        QVERIFY(test::writeFile(path("KNOWN.csv"), QByteArray(5000, 'x')));
        const QList<QStringList> runs{{"csv", "KNOWN.DAT"}, {"csv", "NONE.DAT"}, {"csv"}, {"csv", "KNOWN.DAT", "KNOWN.DAT"}};
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "csv.txt");
        QVERIFY(companionFileExists(path("KNOWN.DAT")));
        KS318_COMPARE_GOLDEN(test::readFile(path("KNOWN.csv")), "known.csv");
        QVERIFY(!QFile::exists(path("NONE.csv")));
    }

    // Texts go between double quotes; a quote inside is doubled and CP932
    // bytes pass unchanged (a trail byte 0x5C is no escape).
    void patientTexts_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("double quote") << QByteArray("Ann \"Nan\" Lee") << QByteArray("\"Ann \"\"Nan\"\" Lee\"");
        QTest::newRow("only a quote") << QByteArray("\"") << QByteArray("\"\"\"\"");
        // 山田 太郎 and ソニー in CP932.
        QTest::newRow("Japanese") << QByteArray("\x8E\x52\x93\x63 \x91\xBE\x98\x59")
                                  << QByteArray("\"\x8E\x52\x93\x63 \x91\xBE\x98\x59\"");
        QTest::newRow("trail byte 0x5C") << QByteArray("\x83\x5C\x83\x6A\x81\x5B")
                                         << QByteArray("\"\x83\x5C\x83\x6A\x81\x5B\"");
        QTest::newRow("empty") << QByteArray() << QByteArray("\"\"");
    }

    void patientTexts()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, field);
        const QString dat = path("NAME.DAT");
        QVERIFY(test::writeFile(dat, test::recordLine(2009, 3, 5, 9, 7) + sections(name, "M", "40")));
        QVERIFY(exportCsv(dat));
        const QList<QByteArray> lines = test::readFile(path("NAME.csv")).split('\n');
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines[1], field + ",\"M\",\"40\"\r");
    }

    // Header and row by recorder type and by which method failed; the
    // Korotkoff values come first where both are present.
    void rowFormats_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("korError");
        QTest::addColumn<bool>("oscError");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("values");
        const QByteArray both = "\"DATE\",\"TIME\",\"SYS(K)\",\"DIA(K)\",\"PUL(K)\",\"ERR(K)\",\"EXC(K)\",\"SYS(O)\","
                                "\"DIA(O)\",\"PUL(O)\",\"ERR(O)\",\"EXC(O)\"\r\n";
        const QByteArray kor = "\"DATE\",\"TIME\",\"SYS(K)\",\"DIA(K)\",\"PUL(K)\",\"ERR(K)\",\"EXC(K)\"\r\n";
        // Korotkoff 130/85/66 excluded, oscillometric 128/84/65.
        QTest::newRow("70 valid") << 70 << false << false << kOscHeader << QByteArray("128,84,65,0,0");
        QTest::newRow("70 error") << 70 << false << true << kOscHeader << QByteArray(" , , ,1,0");
        QTest::newRow("30 valid") << 30 << true << false << kOscHeader << QByteArray("128,84,65,0,0");
        QTest::newRow("21 both valid") << 21 << false << false << both << QByteArray("130,85,66,0,1,128,84,65,0,0");
        QTest::newRow("21 both errors") << 21 << true << true << both << QByteArray(" , , ,1,1, , , ,1,0");
        QTest::newRow("21 Korotkoff error") << 21 << true << false << both << QByteArray(" , , ,1,1,128,84,65,0,0");
        QTest::newRow("25 oscillometric error") << 25 << false << true << both
                                                << QByteArray("130,85,66,0,1, , , ,1,0");
        QTest::newRow("20 valid") << 20 << false << true << kor << QByteArray("130,85,66,0,1");
        QTest::newRow("20 error") << 20 << true << false << kor << QByteArray(" , , ,1,1");
    }

    void rowFormats()
    {
        QFETCH(int, type);
        QFETCH(bool, korError);
        QFETCH(bool, oscError);
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, values);
        auto d = oneReading({45, 85, 66, korError ? 33 : 0, 1}, {44, 84, 65, oscError ? 6 : 0, 0});
        const QByteArray csv = formatCsv(*d, static_cast<RecorderType>(type), nullptr, false);
        const QByteArray blanks = "\"PATIENT NAME\",\"SEX\",\"AGE\"\r\n\" \",\" \",\" \"\r\n"
                                  "\"SLEEP TIME\",\"WAKE TIME\"\r\n\" \",\" \"\r\n";
        QCOMPARE(csv, blanks + header + "\"" + shortDate(2009, 3, 5) + "\",\"21:07\"," + values + "\r\n");
    }

    // The sleep lines: one pair, or two for a 48-hour type-25 recording;
    // the blank variant without a valid companion file.
    void sleepLines_data()
    {
        QTest::addColumn<bool>("withPatient");
        QTest::addColumn<bool>("twoNights");
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("one night") << true << false
                                   << QByteArray("\"SLEEP TIME\",\"WAKE TIME\"\r\n\"22:30\",\"06:15\"\r\n");
        QTest::newRow("two nights") << true << true
                                    << QByteArray("\"SLEEP TIME1\",\"WAKE TIME1\"\r\n\"22:30\",\"06:15\"\r\n"
                                                  "\"SLEEP TIME2\",\"WAKE TIME2\"\r\n\"23:00\",\"\"\r\n");
        QTest::newRow("one night, no companion") << false << false
                                                 << QByteArray("\"SLEEP TIME\",\"WAKE TIME\"\r\n\" \",\" \"\r\n");
        QTest::newRow("two nights, no companion")
            << false << true
            << QByteArray("\"SLEEP TIME1\",\"WAKE TIME1\"\r\n\" \",\" \"\r\n\"SLEEP TIME2\",\"WAKE TIME2\"\r\n\" \",\" \"\r\n");
    }

    void sleepLines()
    {
        QFETCH(bool, withPatient);
        QFETCH(bool, twoNights);
        QFETCH(QByteArray, lines);
        PatientRecord p;
        p.valid = 1;
        p.patientName = "P";
        p.day1SleepTime = "22:30";
        p.day1WakeTime = "06:15";
        p.day2SleepTime = "23:00";
        auto d = oneReading({0, 0, 0, 0, 0}, {40, 80, 70, 0, 0});
        const QByteArray csv = formatCsv(*d, RecorderType::Ks318, withPatient ? &p : nullptr, twoNights);
        const QByteArray patientLines = withPatient ? QByteArray("\"PATIENT NAME\",\"SEX\",\"AGE\"\r\n\"P\",\"\",\"\"\r\n")
                                                    : QByteArray("\"PATIENT NAME\",\"SEX\",\"AGE\"\r\n\" \",\" \",\" \"\r\n");
        QVERIFY2(csv.startsWith(patientLines + lines + kOscHeader), csv.constData());
    }

    // The analysis window of the companion file decides the rows: only
    // readings inside window 1.
    void windowFromCompanionFile()
    {
        const QString dat = path("WIN.DAT");
        QVERIFY(test::writeFile(dat, test::recordLine(2026, 11, 2, 8, 0, 120, 80, 70)
                                            + test::recordLine(2026, 11, 3, 8, 0, 120, 80, 71)
                                            + test::recordLine(2026, 11, 4, 9, 0, 120, 80, 72) + sections("W")));
        Session s;
        s.patient.valid = 1;
        s.patient.recordingHours = 24;
        s.patient.recorderType = 70;
        s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 8, 24);  // 2 Nov 08:00 to 3 Nov 08:00
        s.intervals.valid = 1;
        s.span.valid = 1;
        QVERIFY(writeCompanionFile(s, dat, nullptr));
        QVERIFY(exportCsv(dat));
        const QByteArray csv = test::readFile(path("WIN.csv"));
        QVERIFY(csv.endsWith(kOscHeader + "\"" + shortDate(2026, 11, 2) + "\",\"08:00\",120,80,70,0,0\r\n"));
    }

    void missingDataFileWritesNothing()
    {
        QVERIFY(!exportCsv(path("NONE.DAT")));
        QVERIFY(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstCsvExport)
#include "tst_csvexport.moc"
