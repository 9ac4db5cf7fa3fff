// ks318-cli summary, list and recorder on a small known recording (golden
// known.DAT), and the clinical measures of two recordings worked out by hand.
#include "records/companionfile.h"
#include "records/settings.h"
#include "support/clirun.h"
#include "support/readingtext.h"
#include "session/session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

namespace {

// A KS-318P data file of readings written as tests/support/readingtext.h
// writes them: the error reading (e) has error byte 4, the excluded one (x)
// bit 7; night (n) comes from the sleep and wake times of the run.
QByteArray recording(const QString& readings)
{
    const auto block = test::makeBlock(readings);
    QByteArray out;
    for (std::uint32_t i = 0; i < block->counters.readingCount; ++i) {
        const BpReading& r = block->readings[i];
        out += test::recordLine(int(r.year), r.month, r.day, r.hour, r.minute, int(r.sys), r.dia, r.pulse,
                                r.errorCode ? 4 : r.excluded ? 0x80 : 0);
    }
    return out;
}

// The JSON a run printed, which must parse, after a run that succeeded.
QJsonDocument jsonOf(const test::CliRun& r)
{
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
    return r.exitCode == 0 && error.error == QJsonParseError::NoError ? json : QJsonDocument();
}

// The cases of golden clinical-measures.txt (worked out by hand): the
// values expected at key paths of the object "clinical".
struct ClinicalCase {
    QString name;
    QString readings;
    QStringList times;
    QList<std::pair<QString, QString>> expected;
};

QList<ClinicalCase> clinicalCases()
{
    QList<ClinicalCase> cases;
    QString recording;
    QString readings;
    for (const QByteArray& raw : test::golden(QStringLiteral("clinical-measures.txt")).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const QString key = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        } else if (key == QLatin1String("case")) {
            recording = rest;
            readings.clear();
        } else if (key == QLatin1String("readings")) {
            readings += rest + QLatin1Char(';');
        } else if (key == QLatin1String("times")) {
            const QStringList times{"--sleep", rest.section(' ', 0, 0), "--wake", rest.section(' ', 1, 1)};
            cases << ClinicalCase{recording + ' ' + rest, readings, rest == "none" ? QStringList() : times, {}};
        } else if (!cases.isEmpty()) {
            cases.last().expected.append({key, rest});
        }
    }
    return cases;
}

// Every value of a JSON object by its "key" or "object.key".
QMap<QString, QJsonValue> byPath(const QJsonObject& o, const QString& prefix = QString())
{
    QMap<QString, QJsonValue> out;
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (it.value().isObject())
            out.insert(byPath(it.value().toObject(), prefix + it.key() + QLatin1Char('.')));
        else
            out.insert(prefix + it.key(), it.value());
    }
    return out;
}

} // namespace

class TstCliSummary : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString known_;

private Q_SLOTS:
    void init()
    {
        known_ = dir_.filePath(QStringLiteral("KNOWN.DAT"));
        QFile::remove(companionFilePath(known_));
        QFile::remove(dir_.filePath(QStringLiteral("data.d")));
        QVERIFY(test::writeFile(known_, test::golden("known.DAT")));
    }

    // The transcripts of summary (each threshold equals a reading of its
    // class, so SYS and DIA shares above them differ in every period), of
    // the same in English, of list, and of what recorder refuses before the
    // recorder is spoken to. No run leaves settings or files behind but the
    // companion file a first opening makes, the same in either language.
    void transcripts_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QStringList>("files");
        const QStringList opened{"KNOWN.DAT", "KNOWN.p30", "THERE.dat"};
        QTest::newRow("Japanese") << "summary.txt" << opened;
        QTest::newRow("English") << "english.txt" << opened;
        QTest::newRow("list") << "list.txt" << opened;
        QTest::newRow("recorder") << "recorder-refusals.txt" << QStringList{"KNOWN.DAT", "THERE.dat"};
    }

    void transcripts()
    {
        QFETCH(QString, golden);
        QFETCH(QStringList, files);
        QVERIFY(test::writeFile(dir_.filePath(QStringLiteral("THERE.dat")), {}));
        qputenv("KS318_COM9", "/nonexistent/ttyUSB9");
        KS318_COMPARE_GOLDEN(test::rerunTranscript(golden, dir_.path()), golden);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), files);
    }

    // Every field of list in JSON, which must parse: the address has " and \.
    void listJson()
    {
        const QJsonDocument json = jsonOf(test::runCli({"list", "KNOWN.DAT", "--json"}, dir_.path()));
        QVERIFY(json.isObject());
        KS318_COMPARE_GOLDEN(json.toJson(QJsonDocument::Indented), "list.json");
    }

    // Unrounded, with the regression of the whole interval and an empty night.
    void json()
    {
        QJsonObject table = jsonOf(test::runCli({"summary", known_, "--json", "--mode", "1", "--sleep", "12:30",
                                                 "--wake", "12:31", "--thresholds", "141/95,118/75"}))
                                .object();
        QVERIFY(table.contains(QStringLiteral("clinical")));
        table.remove(QStringLiteral("clinical"));
        KS318_COMPARE_GOLDEN(QJsonDocument(table).toJson(QJsonDocument::Indented).replace(known_.toUtf8(), "KNOWN.DAT"),
                             "summary.json");
    }

    // The object "clinical" with exactly the keys the cases name, and their
    // values: null for what needs sleep and wake times when there are none.
    void clinicalJson_data()
    {
        QTest::addColumn<int>("index");
        const QList<ClinicalCase> cases = clinicalCases();
        QVERIFY(cases.size() >= 3);
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(qPrintable(cases[i].name)) << i;
    }

    void clinicalJson()
    {
        QFETCH(int, index);
        const ClinicalCase c = clinicalCases().at(index);
        const QString path = dir_.filePath(QStringLiteral("CASE%1.DAT").arg(index));
        QVERIFY(test::writeFile(path, recording(c.readings)));
        const QJsonDocument json = jsonOf(test::runCli(QStringList{"summary", path, "--json"} + c.times, dir_.path()));
        const QMap<QString, QJsonValue> o = byPath(json.object().value(QStringLiteral("clinical")).toObject());
        QStringList keys;
        for (const ClinicalCase& listed : clinicalCases())
            for (const auto& [key, value] : listed.expected)
                keys << key;
        keys.removeDuplicates();
        keys.sort();
        QCOMPARE(o.keys(), keys);
        for (const auto& [key, want] : c.expected) {
            const QJsonValue v = o.value(key);
            bool number = false;
            const double value = want.toDouble(&number);
            const bool same = want == QLatin1String("null") ? v.isNull()
                              : number ? v.isDouble() && std::fabs(v.toDouble() - value) < 1e-6
                                       : v.toVariant().toString() == want && !v.isNull();
            QVERIFY2(same, qPrintable(QStringLiteral("%1: %2, expected %3").arg(key, v.toVariant().toString(), want)));
        }
    }

    // The text page of the dipper; --json and --clinical do not go together.
    void clinicalText()
    {
        const QString path = dir_.filePath(QStringLiteral("DIPPER.DAT"));
        QVERIFY(test::writeFile(path, recording(clinicalCases().value(0).readings)));
        const test::CliRun r =
            test::runCli({"summary", path, "--clinical", "--sleep", "23:00", "--wake", "06:00"}, dir_.path());
        QCOMPARE(r.exitCode, 0);
        KS318_COMPARE_GOLDEN(r.out, "clinical.txt");
        QCOMPARE(test::runCli({"summary", path, "--clinical", "--json"}, dir_.path()).exitCode, 2);
    }

    // The companion file and data.d are read, never written. Its awake pair
    // out of order, data.d loads as 140/90.
    void companionFileAndSettingsAreRead()
    {
        PatientRecord patient;
        AnalysisIntervals intervals;
        RecordingSpan span;
        QVERIFY(companionRecordsFromDataFile(known_, QString(), patient, intervals, span));
        patient.day1SleepTime = "23:00";
        patient.day1WakeTime = "06:00";
        intervals.interval1Hours = 12;
        const QByteArray companion = formatCompanionFile(patient, intervals, span);
        QVERIFY(test::writeFile(companionFilePath(known_), companion));
        AnalysisSettings settings;
        settings.sysThreshold1 = 90;
        settings.diaThreshold1 = 95;
        settings.sysThreshold2 = 125;
        settings.diaThreshold2 = 72;
        const QByteArray dataD = formatDataD(settings);
        QVERIFY(test::writeFile(dir_.filePath(QStringLiteral("data.d")), dataD));

        const auto lines = [this](const QStringList& flags) {
            return test::runCli(QStringList{"summary", known_} + flags, dir_.path()).text().split('\n');
        };
        const QStringList stored = lines({});
        for (const QString& line : QStringList{"解析区間:12 時間, 22:00 2026/11/02 --> 10:00 2026/11/03", "削除データ数 = 2 (40.0%)",
                                    " 昼間: 140/ 90 mmHg", " 夜間: 125/ 72 mmHg", "除外区間:23:00 --> 06:00"})
            QVERIFY2(stored.contains(line), qPrintable(line));
        // The flags win for this run; the files stay as they were.
        const QStringList overridden = lines({"--sleep", "22:00", "--wake", "05:00", "--thresholds", "135/85,115/65"});
        for (const QString& line : QStringList{"除外区間:22:00 --> 05:00", " 夜間: 115/ 65 mmHg"})
            QVERIFY2(overridden.contains(line), qPrintable(line));
        QCOMPARE(test::readFile(companionFilePath(known_)), companion);
        QCOMPARE(test::readFile(dir_.filePath(QStringLiteral("data.d"))), dataD);
    }
};

QTEST_GUILESS_MAIN(TstCliSummary)
#include "tst_cli_summary.moc"
