// Data-set preparation: the companion file of a first opening (golden
// info.txt, as ks318-cli info shows it), the session state taken from it, the
// sleep texts, the short date format, and what ks318-cli list does with the
// companion file. Save as and delete on a recording's file set (golden
// file-operations.txt): what is copied, what is refused with message 268,
// that no copy replaces a file, and what is left current afterwards.
#include "recordingsink.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/fileoperations.h"
#include "records/language.h"
#include "session/session.h"
#include "records/shortdate.h"
#include "support/testfiles.h"
#include "synthetic.h"

#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

// Writes a companion file whose patient record carries the given sleep texts.
void writeCompanionWithSleep(const QString& dat, const QStringList& texts)
{
    Session s;
    QVERIFY(companionRecordsFromDataFile(dat, QString(), s.patient, s.intervals, s.span));
    s.patient.day1SleepTime.setQString(texts.value(0));
    s.patient.day1WakeTime.setQString(texts.value(1));
    s.patient.day2SleepTime.setQString(texts.value(2));
    s.patient.day2WakeTime.setQString(texts.value(3));
    QVERIFY(writeCompanionFile(s, dat, nullptr));
}

} // namespace

class TestDataSet : public QObject {
    Q_OBJECT

private:
    ScratchDir dir_;
    QString dat_;

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.clear());
        dat_ = dir_.path("REC.DAT");
        QVERIFY(writeFile(dat_, golden("known.DAT")));
    }

    // The preparation makes the companion file, with every valid field 0
    // on disk and 1 in memory, window 1 from the hour of the first reading
    // to past the last one.
    void firstOpening()
    {
        QVERIFY(!companionFileExists(dat_));
        Session s;
        MessageLog log;
        QVERIFY(prepareDataSet(s, dat_, QString(), &log));
        QVERIFY(log.shown.isEmpty());
        QVERIFY(readFile(dir_.path("REC.p30")).startsWith(QByteArray("0\n0\n900\n") + QByteArray(4, '\0')));
        QCOMPARE((QList<quint32>{s.patient.valid, s.intervals.valid, s.span.valid}), (QList<quint32>{1, 1, 1}));
        KS318_COMPARE_GOLDEN(cliTranscript({{"info", "REC.DAT"}}, dir_.path()), "info.txt");

        const SessionState& st = s.state;
        QCOMPARE((QStringList{st.windowTitleText, st.startTimeText.toQString(), st.fileBaseName, st.fileDirectory,
                              st.preparedFilePath}),
                 (QStringList{"REC : Hanako Yamada  2026/11/02", "22:00", "REC", QFileInfo(dir_.path()).absoluteFilePath(),
                              dat_}));
        const SessionState::Window& w = st.window1;
        QCOMPARE((QList<int>{code(st.recorderType), st.recordingHours, w.year, w.month, w.day, w.hour, w.minute, w.hours,
                             w.dayOffset, st.analysisMinutes, st.spanLast.day, st.spanLast.hour, st.spanLast.minute,
                             st.sleepHour}),
                 (QList<int>{70, 24, 2026, 11, 2, 22, 0, 26, 0, 26 * 60, 3, 23, 50, -1}));
        // The reader now takes window 1 from the record: every reading lies in it.
        QVERIFY(s.allocateData());
        QVERIFY(readBpDataFile(s, dat_, BpMode::OscillometricOnly));
        QCOMPARE(s.data()->counters.inWindow1, s.data()->counters.readingCount);
    }

    // The base name drops only the last extension; a name given by the
    // caller goes into the record and the title.
    void namesAndTitle()
    {
        for (const auto& [file, given, title] :
             {std::tuple("NEW.DAT", "佐藤 花子", "NEW : 佐藤 花子  2026/11/02"),
              {"clinic.2026.DAT", "", "clinic.2026 : Hanako Yamada  2026/11/02"}}) {
            QVERIFY(QFile::copy(dat_, dir_.path(file)));
            Session s;
            QVERIFY(prepareDataSet(s, dir_.path(file), QString::fromUtf8(given), nullptr));
            QCOMPARE(s.state.windowTitleText, QString::fromUtf8(title));
            QVERIFY(QFile::exists(dir_.path(s.state.fileBaseName + ".p30")));
            QCOMPARE(s.patient.patientName.toQString(), QString::fromUtf8(*given ? given : "Hanako Yamada"));
        }
    }

    // Each line of sleep-texts.txt: the four sleep texts stored ("-" for
    // empty), and below it the texts after preparation, the session's sleep
    // and wake times, and the readings of the known recording (22:10, 23:30,
    // 03:00, 08:00, 09:30, 12:00, 18:00, 23:50) read as asleep.
    void sleepTexts()
    {
        KS318_COMPARE_GOLDEN_TABLE("sleep-texts.txt", [this](const QByteArray& line) {
            QStringList stored = QString::fromUtf8(line).split(QLatin1Char(' '));
            stored.replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QString());
            writeCompanionWithSleep(dat_, stored);
            Session s;
            s.state.sleepHour = 3;  // left from another recording
            prepareDataSet(s, dat_, QString(), nullptr);
            const PatientRecord& p = s.patient;
            s.allocateData();
            readBpDataFile(s, dat_, BpMode::OscillometricOnly);
            return QStringLiteral("'%1' '%2' '%3' '%4', sleep %5:%6 wake %7:%8, asleep %9 of 8")
                .arg(p.day1SleepTime.toQString(), p.day1WakeTime.toQString(), p.day2SleepTime.toQString(),
                     p.day2WakeTime.toQString())
                .arg(s.state.sleepHour).arg(s.state.sleepMinute).arg(s.state.wakeHour).arg(s.state.wakeMinute)
                .arg(s.data()->counters.asleepInWindow1)
                .toUtf8();
        });
    }

    // Without the patient record the title and sleep times go; the start
    // date comes from the interval record.
    void companionWithoutPatientSection()
    {
        Session full;
        QVERIFY(companionRecordsFromDataFile(dat_, QString(), full.patient, full.intervals, full.span));
        QByteArray bytes = formatCompanionFile(full.patient, full.intervals, full.span);
        bytes.remove(2, 2 + 4 + 900 + 1);  // section 0: "0\n", "900\n", the block, "\n"
        QVERIFY(bytes.startsWith("0\n1\n144\n"));
        QVERIFY(writeFile(dir_.path("REC.p30"), bytes));

        Session s;
        s.state.windowTitleText = QStringLiteral("OLD : someone else  2020/01/01");
        s.state.sleepHour = 22;
        QVERIFY(prepareDataSet(s, dat_, QString(), nullptr));
        QCOMPARE(s.patient.valid, 0u);
        QCOMPARE(s.intervals.valid, 1u);
        QVERIFY(s.state.windowTitleText.isEmpty());
        QCOMPARE(s.state.sleepHour, -1);
        QCOMPARE(s.state.window1.hour, 22);
    }

    // A data file that cannot be read or holds no reading gets no companion
    // file, and nothing of the recording prepared before passes for it.
    void unreadableDataFile()
    {
        Session s;
        QVERIFY(!prepareDataSet(s, dir_.path("NONE.DAT"), QString(), nullptr));
        QVERIFY(prepareDataSet(s, dat_, QString(), nullptr));
        QVERIFY(writeFile(dir_.path("EMPTY.DAT"), "#PATIENT\n#END\n"));
        MessageLog log;
        QVERIFY(!prepareDataSet(s, dir_.path("EMPTY.DAT"), QString(), &log));
        QCOMPARE(log.shown, (QList<ShownMessage>{{202, 14, MessageIcon::Warning}}));
        QVERIFY(!QFile::exists(dir_.path("EMPTY.p30")));
        QCOMPARE((QList<quint32>{s.patient.valid, s.intervals.valid, s.span.valid}), (QList<quint32>{0, 0, 0}));
        QVERIFY(s.state.windowTitleText.isEmpty());
        QCOMPARE(s.state.window1.hours, -1);
    }

    // Dates as the interface shows them follow the language (yyyy/MM/dd in
    // Japanese, ISO in English); what files hold does not.
    void datesFollowTheLanguage()
    {
        setLanguage(Language::English);
        const QStringList english{formatShortDate(QDate(2026, 1, 5)), formatShortDate(QDate())};
        const std::string storedInEnglish = shortDateCp932(QDate(1999, 12, 31));
        setLanguage(Language::Japanese);
        QCOMPARE(english, (QStringList{"2026-01-05", ""}));
        QCOMPARE(formatShortDate(QDate(1999, 12, 31)), QStringLiteral("1999/12/31"));
        QCOMPARE(storedInEnglish, shortDateCp932(QDate(1999, 12, 31)));
    }

    // list takes the sleep times of a companion file and leaves it as it is;
    // --prepare makes the one of a first opening.
    void cliListReadsTheCompanionFile()
    {
        const CliRun prepared = runCli({"list", "--prepare", dat_});
        QCOMPARE(prepared.exitCode, 0);
        QVERIFY(companionFileExists(dat_));
        QVERIFY(prepared.out.contains("\nasleepInWindow1: 0\n"));
        writeCompanionWithSleep(dat_, {"2200", "0600"});
        const QByteArray before = readFile(dir_.path("REC.p30"));
        const CliRun withSleep = runCli({"list", dat_});
        QCOMPARE(withSleep.exitCode, 0);
        QVERIFY(withSleep.out.contains("\nasleepInWindow1: 4\n"));
        QCOMPARE(readFile(dir_.path("REC.p30")), before);
    }

    // Each "save NAME | FILES" or "delete NAME | FILES" of the golden file:
    // DEMO.DAT open with its companion file, FILES there beside it ("DEMO.csv"
    // a CSV export, other names old files), then the operation; below it the
    // outcome, the messages, the files afterwards (a copy shown as the member
    // it copies, "=DEMO.p30"), and what stays current.
    void operations()
    {
        KS318_COMPARE_GOLDEN_TABLE("file-operations.txt", [](const QByteArray& line) {
            QTemporaryDir dir;
            const auto path = [&dir](const QString& name) { return dir.filePath(name); };
            Session session;
            session.state.defaultBpMode = BpMode::KorotkoffOnly;
            writeFile(path("DEMO.DAT"), synth::demoFile());
            session.state.currentFilePath = path("DEMO.DAT");
            prepareDataSet(session, path("DEMO.DAT"));
            session.allocateData();
            const QString title = session.state.windowTitleText;
            const QList<QByteArray> f = line.split(' ');
            for (const QByteArray& name : f.mid(3))
                if (!QFile::exists(path(name)))
                    writeFile(path(name), name == "DEMO.csv" ? "csv text\r\n" : "old " + name);
            QMap<QByteArray, QString> sources;
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
                sources[readFile(path(name))] = name;

            MessageLog log;
            const bool ok = f[0] == "save" ? saveRecordingAs(session, path(f[1]), &log)
                                           : deleteRecording(session, path(f[1]), &log);
            QByteArray out = ok ? "done" : "not done";
            for (const ShownMessage& m : log.shown)
                out += QStringLiteral(", message %1 caption %2 icon %3").arg(m.stringId).arg(m.captionId).arg(int(m.icon)).toUtf8();
            out += "\nfiles:";
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files, QDir::Name)) {
                const QString source = sources.value(readFile(path(name)));
                out += ' ' + name.toUtf8() + (source == name ? "" : '=' + source.toUtf8());
            }
            const SessionState& st = session.state;
            out += "\ncurrent '" + QFileInfo(st.currentFilePath).fileName().toUtf8() + "', title "
                   + (st.windowTitleText == title ? "kept" : "'" + st.windowTitleText.toUtf8() + "'")
                   + QString::asprintf(", records valid %d %d %d, data %d, mode %d", session.patient.valid,
                                       session.intervals.valid, session.span.valid, session.data() != nullptr,
                                       int(st.defaultBpMode))
                         .toUtf8();
            return out;
        });
    }
};

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
