// Data-set preparation: the companion file of a first opening (golden
// info.txt) and what ks318-cli list does with it, the session state taken
// from it, the sleep texts. Save as and delete on a recording's file set
// (golden file-operations.txt).
#include "recordingsink.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/fileoperations.h"
#include "session/session.h"
#include "support/clirun.h"
#include "synthetic.h"

using namespace ks318;
using namespace ks318::test;

namespace {

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

    // The rows of prepare.txt (see there).
    void preparations()
    {
        KS318_COMPARE_GOLDEN_TABLE("prepare.txt", [this](const QByteArray& line) {
            const QStringList f = QString::fromUtf8(line).split(QLatin1Char(' '));
            Session s;
            s.state.windowTitleText = QStringLiteral("OLD : someone else  2020/01/01");
            s.state.sleepHour = 22;
            init();
            if (f[0] == "without") {
                Session full;
                companionRecordsFromDataFile(dat_, QString(), full.patient, full.intervals, full.span);
                writeFile(dir_.path("REC.p30"), formatCompanionFile(full.patient, full.intervals, full.span)
                                                    .remove(2, 2 + 4 + 900 + 1));  // "0\n", "900\n", the block, "\n"
            } else if (f[0] == "after") {
                prepareDataSet(s, dat_, QString(), nullptr);
                writeFile(dir_.path("EMPTY.DAT"), "#PATIENT\n#END\n");
            } else if (f[1] != "REC.DAT") {
                QFile::rename(dat_, dir_.path(f[1]));
            }
            MessageLog log;
            const bool ok = prepareDataSet(s, dir_.path(f[1]), f.mid(2).join(QLatin1Char(' ')), &log);
            QStringList messages;
            for (const ShownMessage& m : log.shown)
                messages << QString::number(m.stringId);
            const SessionState& st = s.state;
            const SessionState::Window& w = st.window1;
            const QString dir = QFileInfo(dir_.path()).absoluteFilePath();
            QString out = QStringLiteral("%1, messages: %2; files: %3\n")
                              .arg(ok ? "prepared" : "not prepared", messages.join(QLatin1Char(' ')),
                                   QDir(dir_.path()).entryList(QDir::Files).join(QLatin1Char(' ')))
                          + QStringLiteral("title '%1', records valid %2 %3 %4, window 1 of %5 hours, sleep hour %6")
                                .arg(st.windowTitleText).arg(s.patient.valid).arg(s.intervals.valid).arg(s.span.valid)
                                .arg(w.hours).arg(st.sleepHour);
            if (ok)
                out += QStringLiteral("\nbase '%1' in %2, prepared '%3'\n")
                           .arg(st.fileBaseName, QString(st.fileDirectory).replace(dir, "DIR"),
                                QString(st.preparedFilePath).replace(dir, "DIR"))
                       + (s.patient.valid ? QString::asprintf("patient '%s', type %d, %d hours from '%s'; ",
                                                              qPrintable(s.patient.patientName.toQString()),
                                                              code(st.recorderType), st.recordingHours,
                                                              qPrintable(st.startTimeText.toQString()))
                                          : QStringLiteral("no patient record; "))
                       + QString::asprintf("window 1 from %d/%02d/%02d %02d:%02d, day offset %d, %d minutes; last "
                                           "reading on day %d at %02d:%02d", w.year, w.month, w.day, w.hour, w.minute,
                                           w.dayOffset, st.analysisMinutes, st.spanLast.day, st.spanLast.hour,
                                           st.spanLast.minute);
            return out.toUtf8();
        });
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

    // A first opening by ks318-cli list --prepare makes the companion file
    // (valid fields 0 on disk) with window 1 holding every reading; list takes
    // the sleep times of a companion file and leaves it as it is.
    void firstOpening()
    {
        const CliRun prepared = runCli({"list", "--prepare", dat_});
        QCOMPARE(prepared.exitCode, 0);
        QVERIFY(readFile(dir_.path("REC.p30")).startsWith(QByteArray("0\n0\n900\n") + QByteArray(4, '\0')));
        KS318_COMPARE_GOLDEN(rerunTranscript("info.txt", dir_.path()), "info.txt");
        QVERIFY(prepared.out.contains("\nreadingCount: 8\ninWindow1: 8\n"));
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
            const QMap<QString, QByteArray> before = filesOf(dir.path());

            MessageLog log;
            const bool ok = f[0] == "save" ? saveRecordingAs(session, path(f[1]), &log)
                                           : deleteRecording(session, path(f[1]), &log);
            QByteArray out = ok ? "done" : "not done";
            for (const ShownMessage& m : log.shown)
                out += ", message " + QByteArray::number(m.stringId) + " caption " + QByteArray::number(m.captionId)
                       + " icon " + QByteArray::number(int(m.icon));
            out += "\nfiles:";
            for (const auto& [name, bytes] : filesOf(dir.path()).asKeyValueRange()) {
                const QString source = before.key(bytes);
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
