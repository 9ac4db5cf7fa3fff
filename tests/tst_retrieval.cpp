// Retrieval: record lines, the no-data rule, the first reading's moment, the
// file text and the file a chosen name leads to (against
// golden/retrieval.txt); the file read back and the new recording prepared.
// (The recording open before described again: tst_gui_openrecording.)
#include "linksupport.h"
#include "recorder/retrieval.h"
#include "records/bpdatafile.h"
#include "records/dataset.h"
#include "support/testfiles.h"
#include "session/session.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::test;

class TstRetrieval : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void golden()
    {
        QString t;
        // A record, then its line as written to the file and as the header line
        // (without the rule that marks a reading without pulse excluded).
        for (const char* record : {"5A504600126D0C1F173B01", "5A500000126D0C1F173B01", "5A500014126D0C1F173B01",
                                   "5A501000126D0C1F173B01", "5A50\n600126D0C1F173B01", "5A5046"})
            t += QStringLiteral("record %1\n  file   %2\n  header %3\n")
                     .arg(shownBytes(record), QString::fromStdString(recordLineFromRecord(record, true)),
                          QString::fromStdString(recordLineFromRecord(record, false)));
        for (const char* record : {"5A504600126D0C1F173B01", "5A504600127E0B02070001", "5A50460012500101000001"}) {
            const RetrievedStart s = startOfRecordLine(recordLineFromRecord(record, false));
            const QDateTime start(QDate(s.year, s.month, s.day), QTime(s.hour, s.minute));
            t += QStringLiteral("start of %1: %2\n").arg(QLatin1String(record), start.toString(Qt::ISODate));
        }
        for (const char* block : {"5A504600126D0C1F173B01", "", "00000000006D0C1F173B01",
                                  "0000000000FFFFFFFFFFFF" "5A504600126D0C1F173B01", "00000000016D0C1F173B01"}) {
            Rig rig;
            rig.setBlock(block);
            t += QStringLiteral("block '%1' has data: %2, after a failed link: %3\n")
                     .arg(QLatin1String(block))
                     .arg(blockHasData(LinkOk, *rig.link))
                     .arg(blockHasData(LinkFailed, *rig.link));
        }
        t += QStringLiteral("file text of two records:\n")
             + QString::fromLatin1(formatRetrievedFile("5A504600126D0C1F173B01" "5A500000126D0C1F181E01", 2));

        // The chosen name, the files there before -> the outcome, the files
        // afterwards with their first lines, the lines counted.
        for (const auto& [chosen, existing] : QList<std::pair<QString, QStringList>>{
                 {"abc", {}}, {"abc.txt", {}}, {"abc.txt", {"abc.dat"}}, {"abc.x", {"abc.DAT"}},
                 {"abc.txt", {"abc.txt"}}, {"d.x/abc", {}}, {"nowhere/abc", {}}}) {
            QTemporaryDir dir;
            QVERIFY(QDir(dir.path()).mkdir("d.x"));
            for (const QString& name : existing)
                QVERIFY(writeFile(dir.filePath(name), "old\n"));
            Rig rig;
            rig.setBlock("5A504600126D0C1F173B01");
            int progress = 0;
            const int outcome = int(writeRetrievedFile(dir.filePath(chosen), *rig.link, [&](int) { ++progress; }));
            t += QStringLiteral("write '%1' beside [%2] -> %3, target exists %4, lines counted %5:")
                     .arg(chosen, existing.join(' '))
                     .arg(outcome)
                     .arg(retrievalTargetExists(dir.filePath(chosen)))
                     .arg(progress);
            for (const QString& sub : {QString(), QStringLiteral("d.x/")})
                for (const QString& name : QDir(dir.filePath(sub)).entryList(QDir::Files, QDir::Name))
                    t += QStringLiteral(" %1%2 '%3'").arg(sub, name, readFile(dir.filePath(sub + name)).split('\n').first());
            t += '\n';
        }
        KS318_COMPARE_GOLDEN(t.toUtf8(), "retrieval.txt");
    }

    // What is written reads back as the recording the recorder held: the "8"
    // rule keeps a reading's error code and marks it excluded. The new
    // recording gets a fresh companion file with the patient's name.
    void readBackAndPrepared()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.setBlock("5A504600126D0C1F173B01" "5A500014126E0101001E01");
        QCOMPARE(writeRetrievedFile(dir.filePath("old"), *rig.link), RetrievalWrite::Written);
        Session session;
        QVERIFY(session.allocateData() && readBpDataFile(session, dir.filePath("old.dat"), BpMode::OscillometricOnly));
        const SessionData& d = *session.data();
        const BpReading& r = d.readings[1];
        QCOMPARE((QList<int>{int(d.counters.readingCount), int(d.readings[0].sys), r.oscExcluded, r.oscError}),
                 (QList<int>{2, 170, 1, 4}));
        QVERIFY(prepareDataSet(session, dir.filePath("old.dat"), QStringLiteral("前の患者")));

        rig.setBlock("5A504600127E0B02070001");
        const QString chosen = dir.filePath("new.DAT");
        QCOMPARE(writeRetrievedFile(chosen, *rig.link), RetrievalWrite::Written);
        // Stale members in either spelling; the upper-case companion file
        // is the previous patient's.
        QVERIFY(writeFile(dir.filePath("new.p30"), "stale companion file\n"));
        QVERIFY(QFile::copy(dir.filePath("old.p30"), dir.filePath("new.P30")));
        QVERIFY(writeFile(dir.filePath("new.csv"), "stale\n") && writeFile(dir.filePath("new.CSV"), "stale\n"));
        QVERIFY(prepareRetrievedRecording(session, chosen, QStringLiteral("山田 太郎"), nullptr));
        QCOMPARE(session.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
        QCOMPARE(session.state.fileBaseName, QStringLiteral("new"));
        QCOMPARE(QDir(dir.path()).entryList({"new.*"}, QDir::Files, QDir::Name), (QStringList{"new.dat", "new.p30"}));
        QVERIFY(!readFile(dir.filePath("new.p30")).startsWith("stale"));
    }
};

QTEST_GUILESS_MAIN(TstRetrieval)
#include "tst_retrieval.moc"
