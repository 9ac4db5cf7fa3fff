// Every writer of the program against a disk that fails at each step of a
// write (creating the temporary file, writing, flushing, renaming): the
// files there before stay byte for byte, no temporary file is left, and the
// failure is reported, never passed off as success.
#include "linksupport.h"
#include "recordingsink.h"
#include "recorder/retrieval.h"
#include "records/atomicfile.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/csvexport.h"
#include "records/dataset.h"
#include "records/fileoperations.h"
#include "records/filemerge.h"
#include "records/patientinformation.h"
#include "session/session.h"
#include "records/settings.h"
#include "support/testfiles.h"

#include <QDir>
#include <QMap>
#include <QtTest>
#include <functional>
#include <optional>

using namespace ks318;
using namespace ks318::test;

namespace {

// Every file of a folder, hidden ones included, with its bytes.
QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, readFile(QDir(dir).filePath(name)));
    return files;
}

QByteArray recording(int day)
{
    QByteArray text;
    for (int hour = 8; hour < 12; ++hour)
        text += recordLine(2026, 11, day, hour, 0, 130 + hour, 80, 70);
    return text + patientSections("PATIENT", "1:first\n");
}

// What a writer reports: whether it claims success, and its messages.
struct Outcome {
    bool ok = false;
    QList<int> messages;
};

using Writer = std::function<Outcome(Session&, const QString& dir)>;

} // namespace

Q_DECLARE_METATYPE(Writer)
Q_DECLARE_METATYPE(std::optional<WriteStep>)

class TstWriteFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setWriteFault(std::nullopt); }

    void writerUnderFault_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<std::optional<WriteStep>>("fault");
        QTest::addColumn<int>("message");  // shown for each file that failed; 0 for none

        const QList<std::tuple<const char*, Writer, int>> writers = {
            {"data file rewrite",
             [](Session& s, const QString&) {
                 s.allocateData();
                 readBpDataFile(s, s.state.currentFilePath, BpMode::OscillometricOnly);
                 s.data()->readings[1].comment = "changed";
                 return Outcome{rewriteBpDataFile(s), {}};
             },
             0},
            {"companion file",
             [](Session& s, const QString&) {
                 MessageLog log;
                 s.patient.patientName = "OTHER";
                 return Outcome{writeCompanionFile(s, s.state.currentFilePath, &log), log.ids()};
             },
             kCompanionFileErrorId},
            {"settings",
             [](Session& s, const QString&) {
                 MessageLog log;
                 s.settings.facility.facilityName = "CLINIC";
                 return Outcome{saveSettings(s, &log), log.ids()};
             },
             kSettingsFileErrorId},
            {"CSV conversion",
             [](Session& s, const QString&) {
                 MessageLog log;
                 return Outcome{exportCsv(s.state.currentFilePath, &log), log.ids()};
             },
             kWriteFailedId},
            {"save as",
             [](Session& s, const QString& dir) {
                 MessageLog log;
                 return Outcome{saveRecordingAs(s, dir + "/COPY.DAT", &log), log.ids()};
             },
             kWriteFailedId},
            {"merge",
             [](Session&, const QString& dir) {
                 MessageLog log;
                 const bool ok = mergeRecordings({dir + "/R.DAT", dir + "/B.DAT"}, dir + "/OUT.DAT", &log) ==
                                 MergeResult::Merged;
                 return Outcome{ok, log.ids()};
             },
             kWriteFailedId},
            {"retrieval",
             [](Session&, const QString& dir) {
                 Rig rig;
                 rig.setBlock(QByteArray("0A0B020800785A3C000000").repeated(3));
                 return Outcome{writeRetrievedFile(dir + "/NEW.DAT", *rig.link) == RetrievalWrite::Written, {}};
             },
             0},
            {"patient information",
             [](Session& s, const QString&) {
                 MessageLog log;
                 PatientRecord entered = s.patient;
                 entered.patientName = "OTHER";
                 entered.day1SleepTime = "22:00";
                 entered.day1WakeTime = "06:00";
                 return Outcome{savePatientInformation(s, entered, &log).saved, log.ids()};
             },
             kCompanionFileErrorId},
        };
        const QList<std::pair<const char*, std::optional<WriteStep>>> faults = {
            {"no fault", std::nullopt},      {"open", WriteStep::Open},     {"write", WriteStep::Write},
            {"flush", WriteStep::Flush}, {"rename", WriteStep::Rename},
        };
        for (const auto& [name, writer, message] : writers)
            for (const auto& [step, fault] : faults)
                QTest::addRow("%s, %s", name, step) << writer << fault << message;
    }

    void writerUnderFault()
    {
        QFETCH(Writer, writer);
        QFETCH(std::optional<WriteStep>, fault);
        QFETCH(int, message);

        QTemporaryDir dir;
        const QString path = dir.filePath("R.DAT");
        QVERIFY(writeFile(path, recording(2)));
        QVERIFY(writeFile(dir.filePath("R.csv"), "old export\r\n"));
        QVERIFY(writeFile(dir.filePath("B.DAT"), recording(3)));
        Session session;
        QVERIFY(loadSettings(session, dir.path(), nullptr));
        session.state.currentFilePath = path;
        QVERIFY(prepareDataSet(session, path));
        const auto before = snapshot(dir.path());

        setWriteFault(fault);
        const Outcome outcome = writer(session, dir.path());
        setWriteFault(std::nullopt);

        if (!fault) {
            // The table is only worth something if each writer does write.
            QVERIFY(outcome.ok);
            QVERIFY(outcome.messages.isEmpty());
            QVERIFY(snapshot(dir.path()) != before);
            return;
        }
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.messages.isEmpty(), message == 0);
        for (const int shown : outcome.messages)
            QCOMPARE(shown, message);
        const auto after = snapshot(dir.path());
        QCOMPARE(after.keys(), before.keys());
        QVERIFY(after == before);
    }
};

QTEST_GUILESS_MAIN(TstWriteFaults)
#include "tst_writefaults.moc"
