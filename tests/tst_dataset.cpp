// Data-set preparation: the companion file of a first opening, the session
// state taken from it, the short date format, and ks318-cli info / list.
#include "recordingsink.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "session/session.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "support/synthetic.h"
#include "support/testfiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

// Readings every two hours from 21:xx: the recording crosses midnight.
synth::Options nightOptions()
{
    synth::Options o;
    o.count = 9;
    o.seed = 3;
    o.firstHour = 21;
    o.minutesApart = 120;
    return o;
}

QDate dateOf(const BpReading& r)
{
    return QDate(int(r.year), r.month, r.day);
}

int minuteOfDay(const BpReading& r)
{
    return r.hour * 60 + r.minute;
}

CliRun cli(const QStringList& args) { return runCli(args); }

int counter(const QByteArray& listOutput, const char* name)
{
    for (const QByteArray& line : listOutput.split('\n')) {
        if (line.startsWith(QByteArray(name) + ": "))
            return line.mid(int(qstrlen(name)) + 2).toInt();
    }
    return -1;
}

// Writes a companion file whose patient record carries the given sleep texts.
void writeCompanionWithSleep(const QString& dat, const char* s1, const char* w1, const char* s2 = "",
                             const char* w2 = "")
{
    Session s;
    QVERIFY(companionRecordsFromDataFile(dat, QString(), s.patient, s.intervals, s.span));
    s.patient.day1SleepTime = s1;
    s.patient.day1WakeTime = w1;
    s.patient.day2SleepTime = s2;
    s.patient.day2WakeTime = w2;
    QVERIFY(writeCompanionFile(s, dat, nullptr));
}

} // namespace

class TestDataSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstOpeningCreatesCompanionFile()
    {
        QTemporaryDir dir;
        const QString dat = dir.filePath("REC.DAT");
        QVERIFY(writeFile(dat, synth::makeFile(nightOptions())));
        const auto rec = synth::makeRecording(nightOptions());
        const BpReading& first = rec->readings[0];
        const BpReading& last = rec->readings[rec->readingCount() - 1];
        QVERIFY(dateOf(last) > dateOf(first));  // crosses midnight
        const int hours = int(dateOf(first).daysTo(dateOf(last))) * 24 + last.hour + 1 - first.hour;

        Session s;
        MessageLog log;
        QVERIFY(prepareDataSet(s, dat, QString(), &log));
        QVERIFY(log.shown.isEmpty());
        QVERIFY(QFile::exists(dir.filePath("REC.p30")));
        // Written with every valid field 0, set to 1 by the reading.
        const QByteArray file = readFile(dir.filePath("REC.p30"));
        QVERIFY(file.startsWith(QByteArray("0\n0\n900\n") + QByteArray(4, '\0')));
        QCOMPARE(s.patient.valid, 1u);
        QCOMPARE(s.intervals.valid, 1u);
        QCOMPARE(s.span.valid, 1u);

        QCOMPARE(s.intervals.interval1Hours, quint32(hours));
        QCOMPARE(s.intervals.interval2Hours, quint32(hours));
        const quint32 n = quint32(hours);
        const QList<quint32> offset{0, 0, n - 1, std::max(1u, (n - 1) / 4), 1};
        const QList<quint32> length{n, 1, n, std::max(1u, n / 4), 1};
        for (int g = 0; g < 4; ++g) {
            const ScrollSetting& sc = s.intervals.scroll[std::size_t(g)];
            QCOMPARE((QList<quint32>{sc.position, sc.minimum, sc.maximum, sc.largeStep, sc.smallStep}),
                     g % 2 ? length : offset);
        }

        const SessionState& st = s.state;
        QCOMPARE(st.windowTitleText, QStringLiteral("REC : 山田 太郎  2026/11/02"));
        QCOMPARE(st.startTimeText.str(), std::string("21:00"));
        QCOMPARE(st.recorderType, RecorderType::Ks318);
        QCOMPARE(st.recordingHours, 24);
        QCOMPARE(st.fileBaseName, QStringLiteral("REC"));
        QCOMPARE(st.fileDirectory, QFileInfo(dir.path()).absoluteFilePath());
        QCOMPARE(st.preparedFilePath, dat);
        QCOMPARE((QList<int>{st.window1.year, st.window1.month, st.window1.day, st.window1.hour, st.window1.minute,
                             st.window1.hours, st.window1.dayOffset}),
                 (QList<int>{2026, 11, 2, 21, 0, hours, 0}));
        QCOMPARE(st.analysisMinutes, hours * 60);
        QCOMPARE((QList<int>{st.spanLast.year, st.spanLast.month, st.spanLast.day, st.spanLast.hour, st.spanLast.minute}),
                 (QList<int>{int(last.year), last.month, last.day, last.hour, last.minute}));
        QCOMPARE(st.sleepHour, -1);

        // The reader now takes window 1 from the record: every reading lies in it.
        QVERIFY(s.allocateData());
        QVERIFY(readBpDataFile(s, dat, BpMode::OscillometricOnly));
        QCOMPARE(s.data()->counters.inWindow1, s.data()->counters.readingCount);
    }

    void namesAndTitle_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("givenName");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("title");
        QTest::newRow("name given by the caller") << "NEW.DAT" << QStringLiteral("佐藤 花子") << "NEW"
                                                  << QStringLiteral("NEW : 佐藤 花子  2026/11/02");
        QTest::newRow("only the last extension dropped") << "clinic.2026.DAT" << QString() << "clinic.2026"
                                                         << QStringLiteral("clinic.2026 : 山田 太郎  2026/11/02");
    }

    void namesAndTitle()
    {
        QFETCH(QString, file);
        QFETCH(QString, givenName);
        QFETCH(QString, baseName);
        QFETCH(QString, title);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(file), synth::makeFile(nightOptions())));
        Session s;
        QVERIFY(prepareDataSet(s, dir.filePath(file), givenName, nullptr));
        QVERIFY(QFile::exists(dir.filePath(baseName + ".p30")));
        QCOMPARE(s.state.fileBaseName, baseName);
        QCOMPARE(s.state.windowTitleText, title);
        if (!givenName.isEmpty())
            QCOMPARE(s.patient.patientName.toQString(), givenName);
    }

    void sleepTexts_data()
    {
        QTest::addColumn<QStringList>("stored");    // day-1 sleep, day-1 wake, day-2 sleep, day-2 wake
        QTest::addColumn<QStringList>("expected");  // after preparation
        QTest::addColumn<QList<int>>("times");      // sleep hour, minute, wake hour, minute

        const QList<int> unset{-1, -1, -1, -1};
        QTest::newRow("four digits") << QStringList{"2230", "0615", "2300", "0700"}
                                     << QStringList{"22:30", "06:15", "23:00", "07:00"} << QList<int>{22, 30, 6, 15};
        QTest::newRow("already with colon") << QStringList{"22:30", "06:15", "", ""}
                                            << QStringList{"22:30", "06:15", "", ""} << QList<int>{22, 30, 6, 15};
        QTest::newRow("single-digit hour") << QStringList{"1:00", "5:30", "", ""} << QStringList{"1:00", "5:30", "", ""}
                                           << QList<int>{1, 0, 5, 30};
        QTest::newRow("night after midnight") << QStringList{"0100", "0500", "", ""}
                                              << QStringList{"01:00", "05:00", "", ""} << QList<int>{1, 0, 5, 0};
        QTest::newRow("0000 pair emptied") << QStringList{"0000", "0000", "", ""} << QStringList{"", "", "", ""} << unset;
        QTest::newRow("00:00 pair emptied") << QStringList{"00:00", "00:00", "0000", "0000"}
                                            << QStringList{"", "", "00:00", "00:00"} << unset;
        QTest::newRow("0:00 pair emptied") << QStringList{"0:00", "0:00", "", ""} << QStringList{"", "", "", ""} << unset;
        QTest::newRow("mixed zero pair kept") << QStringList{"00:00", "0:00", "", ""} << QStringList{"00:00", "0:00", "", ""}
                                              << QList<int>{0, 0, 0, 0};
        QTest::newRow("wake empty") << QStringList{"2200", "", "", ""} << QStringList{"22:00", "", "", ""} << unset;
        QTest::newRow("sleep empty") << QStringList{"", "06:00", "", ""} << QStringList{"", "06:00", "", ""} << unset;
        QTest::newRow("not a time of day") << QStringList{"2460", "0600", "", ""} << QStringList{"24:60", "06:00", "", ""}
                                           << unset;
        QTest::newRow("three digits left alone") << QStringList{"630", "2200", "", ""}
                                                 << QStringList{"630", "22:00", "", ""} << unset;
    }

    void sleepTexts()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, expected);
        QFETCH(QList<int>, times);
        QTemporaryDir dir;
        const QString dat = dir.filePath("REC.DAT");
        QVERIFY(writeFile(dat, synth::makeFile(nightOptions())));
        writeCompanionWithSleep(dat, qPrintable(stored[0]), qPrintable(stored[1]), qPrintable(stored[2]),
                                qPrintable(stored[3]));

        Session s;
        s.state.sleepHour = 3;  // left from another recording
        QVERIFY(prepareDataSet(s, dat, QString(), nullptr));
        const PatientRecord& p = s.patient;
        QCOMPARE((QStringList{p.day1SleepTime.toQString(), p.day1WakeTime.toQString(), p.day2SleepTime.toQString(),
                              p.day2WakeTime.toQString()}),
                 expected);
        QCOMPARE((QList<int>{s.state.sleepHour, s.state.sleepMinute, s.state.wakeHour, s.state.wakeMinute}), times);

        // The reader takes the sleep period from there: counted here by hand.
        const int sleepAt = times[0] * 60 + times[1];
        const int wakeAt = times[2] * 60 + times[3];
        const auto rec = synth::makeRecording(nightOptions());
        int asleep = 0;
        for (std::uint32_t i = 0; i < rec->readingCount() && times[0] >= 0 && sleepAt != wakeAt; ++i) {
            const int t = minuteOfDay(rec->readings[i]);
            asleep += sleepAt > wakeAt ? (t >= sleepAt || t < wakeAt) : (t >= sleepAt && t < wakeAt);
        }
        QVERIFY(s.allocateData());
        QVERIFY(readBpDataFile(s, dat, BpMode::OscillometricOnly));
        const PeriodCounters& c = s.data()->counters;
        QCOMPARE(int(c.asleepInWindow1), asleep);
        QCOMPARE(int(c.awakeInWindow1), int(c.inWindow1) - asleep);
    }

    void companionWithoutPatientSection()
    {
        QTemporaryDir dir;
        const QString dat = dir.filePath("REC.DAT");
        QVERIFY(writeFile(dat, synth::makeFile(nightOptions())));
        Session full;
        QVERIFY(companionRecordsFromDataFile(dat, QString(), full.patient, full.intervals, full.span));
        QByteArray bytes = formatCompanionFile(full.patient, full.intervals, full.span);
        bytes.remove(2, 2 + 4 + 900 + 1);  // section 0: "0\n", "900\n", the block, "\n"
        QVERIFY(bytes.startsWith("0\n1\n144\n"));
        QVERIFY(writeFile(dir.filePath("REC.p30"), bytes));

        Session s;
        s.state.windowTitleText = QStringLiteral("OLD : someone else  2020/01/01");
        s.state.sleepHour = 22;
        QVERIFY(prepareDataSet(s, dat, QString(), nullptr));
        QCOMPARE(s.patient.valid, 0u);
        QCOMPARE(s.intervals.valid, 1u);
        QVERIFY(s.state.windowTitleText.isEmpty());
        QCOMPARE(s.state.sleepHour, -1);
        QCOMPARE(s.state.window1.hour, 21);
    }

    void unreadableDataFile()
    {
        QTemporaryDir dir;
        Session s;
        QVERIFY(prepareDataSet(s, dir.filePath("REC.DAT"), QString(), nullptr) == false);
        QVERIFY(writeFile(dir.filePath("OTHER.DAT"), synth::makeFile(nightOptions())));
        QVERIFY(prepareDataSet(s, dir.filePath("OTHER.DAT"), QString(), nullptr));
        QVERIFY(writeFile(dir.filePath("EMPTY.DAT"), "#PATIENT\n#END\n"));

        MessageLog log;
        QVERIFY(!prepareDataSet(s, dir.filePath("EMPTY.DAT"), QString(), &log));
        QCOMPARE(log.shown, (QList<ShownMessage>{{202, 14, MessageIcon::Warning}}));
        QVERIFY(!QFile::exists(dir.filePath("EMPTY.p30")));
        // Nothing of the recording prepared before passes for this one.
        QCOMPARE(s.patient.valid, 0u);
        QCOMPARE(s.intervals.valid, 0u);
        QCOMPARE(s.span.valid, 0u);
        QVERIFY(s.state.windowTitleText.isEmpty());
        QCOMPARE(s.state.window1.hours, -1);
    }

    void shortDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("system format") << "2026/01/05" << QDate(2026, 1, 5);
        QTest::newRow("end of year") << "1999/12/31" << QDate(1999, 12, 31);
        QTest::newRow("ISO accepted") << "2026-01-05" << QDate(2026, 1, 5);
        QTest::newRow("not a date") << "yesterday" << QDate();
        QTest::newRow("no such day") << "2026/02/30" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }

    void shortDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(parseShortDate(text), date);
        if (date.isValid() && text.contains(QLatin1Char('/')))
            QCOMPARE(formatShortDate(date), text);
        QVERIFY(formatShortDate(QDate()).isEmpty());
    }

    void cliListNeverCreatesCompanion()
    {
        QTemporaryDir dir;
        const QString dat = dir.filePath("REC.DAT");
        QVERIFY(writeFile(dat, synth::makeFile(nightOptions())));
        const CliRun plain = cli({"list", dat});
        QCOMPARE(plain.exitCode, 0);
        QVERIFY(!QFile::exists(dir.filePath("REC.p30")));
        QCOMPARE(counter(plain.out, "asleepInWindow1"), 0);

        // With a companion file, its sleep times apply; the file stays as it is.
        writeCompanionWithSleep(dat, "2200", "0600");
        const QByteArray before = readFile(dir.filePath("REC.p30"));
        const CliRun withSleep = cli({"list", dat});
        QCOMPARE(withSleep.exitCode, 0);
        QVERIFY(counter(withSleep.out, "asleepInWindow1") > 0);
        QCOMPARE(counter(withSleep.out, "readingCount"), 9);
        QCOMPARE(readFile(dir.filePath("REC.p30")), before);
    }

    // info needs a companion file; list --prepare makes the first-opening one.
    void cliPrepareThenInfo()
    {
        QTemporaryDir dir;
        const QString dat = dir.filePath("REC.DAT");
        QVERIFY(writeFile(dat, synth::makeFile(nightOptions())));
        QCOMPARE(cli({"info", dat}).exitCode, 1);
        const CliRun prepared = cli({"list", "--prepare", dat});
        QCOMPARE(prepared.exitCode, 0);
        QCOMPARE(counter(prepared.out, "inWindow1"), 9);
        QVERIFY(QFile::exists(dir.filePath("REC.p30")));

        const CliRun info = cli({"info", dat, "--json"});
        QCOMPARE(info.exitCode, 0);
        QJsonParseError error;
        const QJsonObject j = QJsonDocument::fromJson(info.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject p = j["PatientRecord"].toObject();
        const QJsonObject a = j["AnalysisIntervals"].toObject();
        const QJsonObject r = j["RecordingSpan"].toObject();
        QCOMPARE((QList<int>{p["valid"].toInt(), p["recordingHours"].toInt(), p["recorderType"].toInt(),
                             a["valid"].toInt(), r["valid"].toInt()}),
                 (QList<int>{1, 24, 70, 1, 1}));
        QCOMPARE((QStringList{p["startDateText"].toString(), p["startTimeText"].toString(), p["patientName"].toString(),
                              p["physicianName"].toString(), p["day1SleepTime"].toString(),
                              a["interval1StartDateIso"].toString(), a["interval2StartTimeIso"].toString()}),
                 (QStringList{"2026/11/02", "21:00", QStringLiteral("山田 太郎"), "", "", "2026-11-02", "21:00"}));

        const auto rec = synth::makeRecording(nightOptions());
        const BpReading& first = rec->readings[0];
        const BpReading& last = rec->readings[rec->readingCount() - 1];
        const int hours = int(dateOf(first).daysTo(dateOf(last))) * 24 + last.hour + 1 - first.hour;
        QCOMPARE(a["interval1Hours"].toInt(), hours);
        QCOMPARE(a["interval1Offset"].toObject()["maximum"].toInt(), hours - 1);
        QCOMPARE(r["first"].toObject()["iso"].toString(),
                 QDateTime(dateOf(first), QTime(first.hour, first.minute)).toString("yyyy-MM-ddThh:mm"));
        QCOMPARE(r["last"].toObject()["dateIso"].toString(), dateOf(last).toString(Qt::ISODate));

        const CliRun text = cli({"info", dat});
        QCOMPARE(text.exitCode, 0);
        QVERIFY(text.out.contains("[AnalysisIntervals]\n"));
        QVERIFY(text.out.contains("\ninterval1Hours: " + QByteArray::number(hours) + "\n"));
    }

    // A NAME.p30 that cannot be made (a directory of that name stands in for
    // a folder that cannot be written): message 202 once, then the records
    // of a first opening.
    void cliOnARecordingThatCannotBeWritten()
    {
        QTemporaryDir dir;
        const QString dat = dir.filePath("REC.DAT");
        QVERIFY(writeFile(dat, synth::makeFile(nightOptions())) && QDir(dir.path()).mkdir("REC.p30"));
        for (const QStringList& args : {QStringList{"list", "--prepare", dat}, QStringList{"summary", dat}}) {
            const CliRun r = cli(args);
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.err.count(StringTable::text(202).toUtf8()), 1);
            QVERIFY(r.out.contains(args[0] == "list" ? "inWindow1: 9" : "2026/11/02"));
        }
    }
};

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
