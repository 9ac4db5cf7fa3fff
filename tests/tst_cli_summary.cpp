// ks318-cli summary: the summary page and its JSON table for a small known
// recording (golden known.DAT; the runs and their refusals in
// summary.txt), and the companion file and data.d as sources that are read,
// never written, with the flags that override them; the clinical measures
// of two recordings worked out by hand (tst_clinical) as JSON and as the
// text page (golden clinical.txt).
#include "records/companionfile.h"
#include "records/settings.h"
#include "support/testfiles.h"
#include "session/session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

namespace {

struct Line {
    int day, hour, minute, sys, dia, pulse, errorByte;
};

// A recording of the KS-318P starting on 2 November 2026.
QByteArray recording(const QList<Line>& lines)
{
    QByteArray out;
    for (const Line& l : lines)
        out += test::recordLine(2026, 11, 2 + l.day, l.hour, l.minute, l.sys, l.dia, l.pulse, l.errorByte);
    return out;
}

// The dipper, with an excluded reading (bit 7) and an error reading.
const QList<Line> kDipper = {
    {0, 21, 0, 140, 90, 70, 0},  {0, 22, 30, 130, 80, 68, 0}, {1, 1, 0, 120, 74, 60, 0},
    {1, 3, 0, 112, 68, 58, 0},   {1, 5, 0, 134, 80, 62, 0},   {1, 6, 30, 150, 92, 75, 0},
    {1, 7, 0, 144, 88, 72, 0},   {1, 12, 0, 136, 86, 70, 0},  {1, 13, 0, 200, 120, 90, 0x80},
    {1, 14, 0, 130, 80, 70, 4},
};

// The reverse dipper with a morning surge (sleep 22:00, wake 07:00).
const QList<Line> kReverse = {
    {0, 20, 0, 128, 82, 66, 0},  {0, 21, 30, 124, 78, 64, 0}, {0, 23, 0, 140, 88, 60, 0},
    {1, 2, 0, 156, 92, 58, 0},   {1, 4, 0, 140, 86, 56, 0},   {1, 6, 0, 150, 90, 62, 0},
    {1, 7, 30, 166, 96, 80, 0},  {1, 8, 0, 158, 94, 78, 0},   {1, 9, 0, 172, 98, 76, 0},
    {1, 21, 0, 120, 80, 68, 0},
};

// "key" and "object.key" of every value of a JSON object, sorted.
QStringList keyPaths(const QJsonObject& o, const QString& prefix = QString())
{
    QStringList out;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString path = prefix + it.key();
        if (it.value().isObject())
            out << keyPaths(it.value().toObject(), path + QLatin1Char('.'));
        else
            out << path;
    }
    out.sort();
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

    // Whole interval only; with day and night; with a night that holds no
    // reading (counts only); then the refusals. Each threshold equals a reading
    // of its class; SYS and DIA shares above them differ in every period. A
    // summary leaves neither a companion file nor settings behind.
    void summaryOfTheKnownRecording()
    {
        const QList<QStringList> runs{
            {"summary", "KNOWN.DAT", "--thresholds", "141/95,118/75"},
            {"summary", "KNOWN.DAT", "--sleep", "23:00", "--wake", "06:00", "--thresholds", "141/95,118/75"},
            {"summary", "KNOWN.DAT", "--sleep", "12:30", "--wake", "12:31", "--thresholds", "141/95,118/75"},
            {"summary"}, {"summary", "NONE.DAT"}, {"summary", "KNOWN.DAT", "KNOWN.DAT"},
            {"summary", "KNOWN.DAT", "--sleep", "22:00"},
            {"summary", "KNOWN.DAT", "--sleep", "24:00", "--wake", "06:00"},
            {"summary", "KNOWN.DAT", "--sleep", "23:60", "--wake", "06:00"},
            {"summary", "KNOWN.DAT", "--thresholds", "90/90,120/70"},
            {"summary", "KNOWN.DAT", "--thresholds", "301/90,120/70"},
            {"summary", "KNOWN.DAT", "--thresholds", "140/9,120/70"},
            {"summary", "KNOWN.DAT", "--thresholds", "140/90"}, {"summary", "KNOWN.DAT", "--mode", "4"},
        };
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "summary.txt");
        // Opened as the window opens it: the companion file is made.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), (QStringList{"KNOWN.DAT", "KNOWN.p30"}));
    }

    // The same pages in English (--lang en): the texts of the string
    // table's English column, ISO dates; the readings' own texts stay as
    // recorded. A language other than ja or en is refused.
    void summaryAndListInEnglish()
    {
        const QList<QStringList> runs{
            {"--lang", "en", "summary", "KNOWN.DAT", "--sleep", "23:00", "--wake", "06:00"},
            {"--lang", "en", "summary", "KNOWN.DAT", "--sleep", "23:00", "--wake", "06:00", "--clinical"},
            {"--lang", "en", "list", "KNOWN.DAT"},
            {"--lang", "en", "summary", "KNOWN.DAT", "--sleep", "12:30", "--wake", "12:31"},
            {"--lang", "fr", "summary", "KNOWN.DAT"},
        };
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "english.txt");
        // The files do not change with the language: the companion file is
        // the one a Japanese run makes.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), (QStringList{"KNOWN.DAT", "KNOWN.p30"}));
    }

    // Unrounded, with the regression of the whole interval and an empty night.
    void json()
    {
        const test::CliRun r = test::runCli({"summary", known_, "--json", "--mode", "1", "--sleep", "12:30", "--wake",
                                             "12:31", "--thresholds", "141/95,118/75"});
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        // The clinical measures have tests of their own below.
        QJsonObject table = json.object();
        QVERIFY(table.contains(QStringLiteral("clinical")));
        table.remove(QStringLiteral("clinical"));
        KS318_COMPARE_GOLDEN(QJsonDocument(table).toJson(QJsonDocument::Indented).replace(known_.toUtf8(), "KNOWN.DAT"),
                             "summary.json");
    }

    // The object "clinical" with exactly its keys, the values worked out by
    // hand, and null for what needs sleep and wake times when there are none.
    void clinicalJson()
    {
        const QString path = dir_.filePath(QStringLiteral("REVERSE.DAT"));
        QVERIFY(test::writeFile(path, recording(kReverse)));
        const auto clinical = [&](const QStringList& flags) {
            const test::CliRun r = test::runCli(QStringList{"summary", path, "--json"} + flags, dir_.path());
            return QJsonDocument::fromJson(r.out).object().value(QStringLiteral("clinical")).toObject();
        };
        const QJsonObject c = clinical({"--sleep", "22:00", "--wake", "07:00"});
        QStringList keys;
        for (const char* group : {"means.whole", "means.day", "means.night"})
            for (const char* k : {"sys", "dia", "pulse", "pp"})
                keys << QStringLiteral("%1.%2").arg(QLatin1String(group), QLatin1String(k));
        keys << "dipping.sysPercent" << "dipping.diaPercent" << "dipping.class" << "morning.sys" << "morning.dia"
             << "morning.count" << "evening.sys" << "evening.dia" << "evening.count" << "meAverage" << "meDifference"
             << "surge.prewaking" << "surge.sleepTrough" << "arv.sys" << "arv.dia" << "weightedSd.sys"
             << "weightedSd.dia" << "cvSys" << "aasi" << "flags.whole" << "flags.day" << "flags.night"
             << "flags.morning" << "flags.isolatedNocturnal" << "adequacy.validPercent" << "adequacy.dayCount"
             << "adequacy.nightCount" << "adequacy.days" << "adequacy.enough";
        keys.sort();
        QCOMPARE(keyPaths(c), keys);

        const auto at = [&c](const char* path) {
            QJsonValue v = c;
            for (const QString& k : QString::fromLatin1(path).split(QLatin1Char('.')))
                v = v.toObject().value(k);
            return v;
        };
        // Day 868/6, night 586/4; morning 166, 158; evening 124, 120; two
        // hours after waking 496/3, before 150, the trough 140 with 124 and
        // 156 around it; ARV 47760/1500 (see tst_clinical).
        const std::pair<const char*, double> numbers[] = {
            {"means.day.sys", 868.0 / 6}, {"means.night.dia", 89.0}, {"means.whole.pp", 57.0},
            {"dipping.sysPercent", (1 - 146.5 / (868.0 / 6)) * 100}, {"morning.sys", 162.0}, {"morning.dia", 95.0},
            {"evening.sys", 122.0}, {"meAverage", 142.0}, {"meDifference", 40.0},
            {"surge.prewaking", 496.0 / 3 - 150}, {"surge.sleepTrough", 496.0 / 3 - 140}, {"arv.sys", 31.84},
            {"adequacy.validPercent", 100.0}};
        for (const auto& [path, want] : numbers)
            QVERIFY2(std::fabs(at(path).toDouble(-1e9) - want) < 1e-9, path);
        QCOMPARE(at("dipping.class").toString(), QStringLiteral("reverse-dipper"));
        QCOMPARE(at("morning.count").toInt(), 2);
        QCOMPARE(at("evening.count").toInt(), 2);
        QCOMPARE(at("adequacy.dayCount").toInt(), 6);
        QCOMPARE(at("adequacy.nightCount").toInt(), 4);
        QCOMPARE(at("adequacy.days").toInt(), 2);
        QCOMPARE(at("flags.morning").toBool(false), true);
        QCOMPARE(at("flags.isolatedNocturnal").toBool(true), false);
        QCOMPARE(at("adequacy.enough").toBool(true), false);

        // Without sleep and wake times every reading is a day reading.
        const QJsonObject plain = clinical({});
        QCOMPARE(keyPaths(plain), keys);
        for (const char* path : {"means.night", "dipping.sysPercent", "dipping.class", "morning.count",
                                 "surge.prewaking", "weightedSd.sys", "flags.night", "flags.isolatedNocturnal"}) {
            const QJsonValue v = plain.value(QString::fromLatin1(path).section(QLatin1Char('.'), 0, 0));
            const QString rest = QString::fromLatin1(path).section(QLatin1Char('.'), 1);
            const QJsonValue leaf = rest.isEmpty() ? v : v.toObject().value(rest);
            if (leaf.isObject()) {
                for (const QJsonValue& member : leaf.toObject())
                    QVERIFY2(member.isNull(), path);
            } else {
                QVERIFY2(leaf.isNull(), path);
            }
        }
        QCOMPARE(QJsonDocument::fromJson(test::runCli({"summary", path, "--json"}).out)
                     .object().value(QStringLiteral("clinical")).toObject().value(QStringLiteral("aasi")).toDouble(),
                 c.value(QStringLiteral("aasi")).toDouble());
    }

    // The text page of the dipper; --json and --clinical do not go together.
    void clinicalText()
    {
        const QString path = dir_.filePath(QStringLiteral("DIPPER.DAT"));
        QVERIFY(test::writeFile(path, recording(kDipper)));
        const test::CliRun r =
            test::runCli({"summary", path, "--clinical", "--sleep", "23:00", "--wake", "06:00"}, dir_.path());
        QCOMPARE(r.exitCode, 0);
        KS318_COMPARE_GOLDEN(r.out, "clinical.txt");
        QCOMPARE(test::runCli({"summary", path, "--clinical", "--json"}, dir_.path()).exitCode, 2);
    }

    void companionFileAndSettingsAreRead()
    {
        // A companion file with sleep times and a 12-hour window, and a data.d
        // whose awake pair is out of order (loads as 140/90).
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
