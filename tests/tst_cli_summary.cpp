// ks318-cli summary: the summary page and its JSON table for a small known
// recording (golden known.DAT; the runs and their refusals in
// summary.txt), and the companion file and data.d as sources that are read,
// never written, with the flags that override them.
#include "records/companionfile.h"
#include "records/settings.h"
#include "support/testfiles.h"
#include "session/session.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

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
    // reading (counts only); then the refusals. A summary leaves neither a
    // companion file nor settings behind.
    void summaryOfTheKnownRecording()
    {
        const QList<QStringList> runs{
            {"summary", "KNOWN.DAT"},
            {"summary", "KNOWN.DAT", "--sleep", "23:00", "--wake", "06:00"},
            {"summary", "KNOWN.DAT", "--sleep", "12:30", "--wake", "12:31"},
            {"summary"},
            {"summary", "NONE.DAT"},
            {"summary", "KNOWN.DAT", "KNOWN.DAT"},
            {"summary", "KNOWN.DAT", "--sleep", "22:00"},
            {"summary", "KNOWN.DAT", "--sleep", "24:00", "--wake", "06:00"},
            {"summary", "KNOWN.DAT", "--sleep", "23:60", "--wake", "06:00"},
            {"summary", "KNOWN.DAT", "--thresholds", "80/90,120/70"},
            {"summary", "KNOWN.DAT", "--thresholds", "301/90,120/70"},
            {"summary", "KNOWN.DAT", "--thresholds", "140/9,120/70"},
            {"summary", "KNOWN.DAT", "--thresholds", "140/90"},
            {"summary", "KNOWN.DAT", "--mode", "4"},
        };
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "summary.txt");
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"KNOWN.DAT"});
    }

    // The same pages in English (--lang en): the texts of the string
    // table's English column, ISO dates; the readings' own texts stay as
    // recorded. A language other than ja or en is refused.
    void summaryAndListInEnglish()
    {
        const QList<QStringList> runs{
            {"--lang", "en", "summary", "KNOWN.DAT", "--sleep", "23:00", "--wake", "06:00"},
            {"--lang", "en", "list", "KNOWN.DAT"},
            {"--lang", "en", "summary", "KNOWN.DAT", "--sleep", "12:30", "--wake", "12:31"},
            {"--lang", "fr", "summary", "KNOWN.DAT"},
        };
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "english.txt");
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"KNOWN.DAT"});
    }

    // Unrounded, with the regression of the whole interval and an empty night.
    void json()
    {
        const test::CliRun r = test::runCli({"summary", known_, "--json", "--mode", "1", "--sleep", "12:30", "--wake",
                                             "12:31"});
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        KS318_COMPARE_GOLDEN(json.toJson(QJsonDocument::Indented).replace(known_.toUtf8(), "KNOWN.DAT"),
                             "summary.json");
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
