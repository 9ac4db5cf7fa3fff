// Every writer of the program against a disk that fails at each step of a
// write: the files there before stay byte for byte, no temporary file is
// left, and the failure is reported, never passed off as success.
#include "linksupport.h"
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

using namespace ks318;
using namespace ks318::test;

// A writer of the program: whether it claims success; its messages go to the log.
using Writer = std::function<bool(Session&, const QString& dir, MessageLog* log)>;

Q_DECLARE_METATYPE(Writer)

class TstWriteFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setWriteFault(std::nullopt); }

    void writerUnderFault_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<int>("fault");    // the WriteStep that fails; -1 for none
        QTest::addColumn<int>("message");  // shown for each file that failed; 0 for none
        const QList<std::tuple<const char*, int, Writer>> writers = {
            {"data file rewrite", 0, [](Session& s, const QString&, MessageLog*) {
                 s.allocateData();
                 readBpDataFile(s, s.state.currentFilePath, BpMode::OscillometricOnly);
                 s.data()->readings[1].comment = "changed";
                 return rewriteBpDataFile(s);
             }},
            {"companion file", kCompanionFileErrorId, [](Session& s, const QString&, MessageLog* log) {
                 s.patient.patientName = "OTHER";
                 return writeCompanionFile(s, s.state.currentFilePath, log);
             }},
            {"settings", kSettingsFileErrorId, [](Session& s, const QString&, MessageLog* log) {
                 s.settings.facility.facilityName = "CLINIC";
                 return saveSettings(s, log);
             }},
            {"CSV conversion", kWriteFailedId,
             [](Session& s, const QString&, MessageLog* log) { return exportCsv(s.state.currentFilePath, log); }},
            {"save as", kWriteFailedId, [](Session& s, const QString& dir, MessageLog* log) {
                 return saveRecordingAs(s, dir + "/COPY.DAT", log);
             }},
            {"merge", kWriteFailedId, [](Session&, const QString& dir, MessageLog* log) {
                 return mergeRecordings({dir + "/R.DAT", dir + "/B.DAT"}, dir + "/OUT.DAT", log) == MergeResult::Merged;
             }},
            {"retrieval", 0, [](Session&, const QString& dir, MessageLog*) {
                 Rig rig;
                 rig.setBlock(QByteArray("0A0B020800785A3C000000").repeated(3));
                 return writeRetrievedFile(dir + "/NEW.DAT", *rig.link) == RetrievalWrite::Written;
             }},
            {"patient information", kCompanionFileErrorId, [](Session& s, const QString&, MessageLog* log) {
                 PatientRecord entered = s.patient;
                 entered.patientName = "OTHER";
                 entered.day1SleepTime = "22:00";
                 entered.day1WakeTime = "06:00";
                 return savePatientInformation(s, entered, log).saved;
             }},
        };
        const char* const steps[] = {"open", "write", "flush", "rename"};
        for (const auto& [name, message, writer] : writers)
            for (int fault = -1; fault <= int(WriteStep::Rename); ++fault)
                QTest::addRow("%s, %s", name, fault < 0 ? "no fault" : steps[fault]) << writer << fault << message;
    }

    void writerUnderFault()
    {
        QFETCH(Writer, writer);
        QFETCH(int, fault);
        QFETCH(int, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("R.DAT");
        // Two recordings of a day each, one after the other, with patient sections and comments.
        QVERIFY(writeFile(path, golden("merge-a.DAT")) && writeFile(dir.filePath("R.csv"), "old export\r\n")
                && writeFile(dir.filePath("B.DAT"), golden("merge-b.DAT")));
        Session session;
        QVERIFY(loadSettings(session, dir.path(), nullptr));
        session.state.currentFilePath = path;
        QVERIFY(prepareDataSet(session, path));
        const auto before = filesOf(dir.path());

        MessageLog log;
        setWriteFault(fault < 0 ? std::nullopt : std::optional(WriteStep(fault)));
        const bool ok = writer(session, dir.path(), &log);  // cleanup() lifts the fault

        // Without a fault every writer does write (else the table proves nothing).
        QCOMPARE(ok, fault < 0);
        QCOMPARE(filesOf(dir.path()) == before, fault >= 0);
        QCOMPARE(log.ids(), fault < 0 || !message ? QList<int>{} : QList<int>(log.ids().size(), message));
        QVERIFY(fault < 0 || !message || !log.ids().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstWriteFaults)
#include "tst_writefaults.moc"
