// CSV export: ks318-cli csv on the known recording (golden known.csv and
// csv.txt), and the rows by golden table (csvrows.txt).
#include "records/companionfile.h"
#include "records/csvexport.h"
#include "session/session.h"
#include "support/clirun.h"

using namespace ks318;
using namespace ks318::test;

namespace {

// One reading of 5 March 2009 21:07 inside window 1: Korotkoff 130/85/66
// excluded, oscillometric 128/84/65, each method failing when asked.
std::unique_ptr<SessionData> oneReading(bool korError, bool oscError)
{
    auto d = std::make_unique<SessionData>();
    BpReading& r = d->readings[0];
    std::tie(r.year, r.month, r.day, r.hour, r.minute) = std::tuple(2009u, 3, 5, 21, 7);
    std::tie(r.korPulsePressure, r.korDia, r.korPulse, r.korError, r.korExcluded) =
        std::tuple(45, 85, 66, korError ? 33 : 0, 1);
    std::tie(r.oscPulsePressure, r.oscDia, r.oscPulse, r.oscError, r.oscExcluded) =
        std::tuple(44, 84, 65, oscError ? 6 : 0, 0);
    r.windowMembership = InWindow1;
    d->counters.readingCount = 1;
    return d;
}

QByteArray shown(const QByteArray& csv)
{
    return fromCp932(std::string_view(csv.constData(), std::size_t(csv.size()))).toUtf8().replace("\r\n", "\n").trimmed();
}

} // namespace

class TstCsvExport : public QObject {
    Q_OBJECT

private:
    ScratchDir dir_;
    QString path(const char* name) const { return dir_.path(name); }

private Q_SLOTS:
    // A recording never opened: its companion file is made and NAME.csv
    // replaces an earlier export. The files follow neither the interface
    // language nor the locale's short date (C: "d MMM yyyy").
    void knownRecording()
    {
        QVERIFY(dir_.clear());
        QVERIFY(writeFile(path("KNOWN.DAT"), golden("known.DAT")));
        QVERIFY(writeFile(path("KNOWN.csv"), QByteArray(5000, 'x')));
        KS318_COMPARE_GOLDEN(rerunTranscript("csv.txt", dir_.path()), "csv.txt");
        QVERIFY(companionFileExists(path("KNOWN.DAT")));
        KS318_COMPARE_GOLDEN(readFile(path("KNOWN.csv")), "known.csv");
        QVERIFY(!exportCsv(path("NONE.DAT")));
        QVERIFY(!QFile::exists(path("NONE.csv")));

        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("en")));
        QVERIFY(writeFile(path("en/KNOWN.DAT"), golden("known.DAT")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        QCOMPARE(runCli({"--lang", "en", "csv", "KNOWN.DAT"}, path("en"), 30000, env).exitCode, 0);
        QCOMPARE(readFile(path("en/KNOWN.csv")), readFile(path("KNOWN.csv")));
        QCOMPARE(readFile(path("en/KNOWN.p30")), readFile(path("KNOWN.p30")));
    }

    // "name TEXT": the patient line of a file of that patient; "row TYPE K O":
    // the reading with the Korotkoff (K) and oscillometric (O) method failing
    // or not; "sleep PATIENT NIGHTS": with or without a companion file, one
    // night or two; "window": a file whose companion file sets window 1.
    void rows()
    {
        KS318_COMPARE_GOLDEN_TABLE("csvrows.txt", [this](const QByteArray& line) {
            const QList<QByteArray> f = line.split(' ');
            if (f[0] == "row")
                return shown(formatCsv(*oneReading(f[2] == "error", f[3] == "error"), RecorderType(f[1].toInt()), nullptr,
                                       false));
            if (f[0] == "sleep") {
                PatientRecord p;
                p.valid = 1;
                p.patientName = "P";
                p.day1SleepTime = "22:30";
                p.day1WakeTime = "06:15";
                p.day2SleepTime = "23:00";
                return shown(formatCsv(*oneReading(false, false), RecorderType::Ks318, f[1] == "with" ? &p : nullptr,
                                       f[2] == "two"));
            }
            dir_.clear();
            const QString dat = path("R.DAT");
            if (f[0] == "name") {
                const QByteArray name = QByteArray::fromStdString(toCp932(QString::fromUtf8(line.mid(5))));
                writeFile(dat, recordLine(2009, 3, 5, 9, 7) + patientSections(name, {}, "M", "40"));
            } else {
                writeFile(dat, recordLine(2026, 11, 2, 8, 0, 120, 80, 70)
                                         + recordLine(2026, 11, 3, 8, 0, 120, 80, 71)
                                         + recordLine(2026, 11, 4, 9, 0, 120, 80, 72) + patientSections("W"));
                Session s;
                s.patient.valid = s.intervals.valid = s.span.valid = 1;
                s.patient.recordingHours = 24;
                s.patient.recorderType = 70;
                s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 8, 24);  // 2 Nov 08:00 to 3 Nov 08:00
                s.intervals.valid = 1;
                writeCompanionFile(s, dat, nullptr);
            }
            const bool ok = exportCsv(dat);
            const QByteArray csv = shown(readFile(path("R.csv")));
            return (ok ? "" : "failed: ") + (f[0] == "name" ? csv.split('\n').value(1) : csv);
        });
    }
};

QTEST_GUILESS_MAIN(TstCsvExport)
#include "tst_csvexport.moc"
