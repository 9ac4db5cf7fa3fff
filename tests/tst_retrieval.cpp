// Retrieval: recorder records to record lines, the no-data rule, the first
// reading's date and time, and the data file written from a block.
#include "linksupport.h"
#include "recorder/retrieval.h"
#include "records/bpdatafile.h"
#include "records/dataset.h"
#include "support/testfiles.h"
#include "session/session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

void touch(const QString& path, const QByteArray& content = "old\n")
{
    QVERIFY(writeFile(path, content));
}

} // namespace

class TstRetrieval : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordLine_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("rule");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("31 Dec 2009 23:59") << QByteArray("5A504600126D0C1F173B01") << true
                                           << QByteArray("KS-318  7000000001006D0C1F173B5A5046001201");
        QTest::newRow("no pulse: excluded") << QByteArray("5A500000126D0C1F173B01") << true
                                            << QByteArray("KS-318  7000000001006D0C1F173B5A5000801201");
        QTest::newRow("no pulse, error 14") << QByteArray("5A500014126D0C1F173B01") << true
                                            << QByteArray("KS-318  7000000001006D0C1F173B5A5000841201");
        QTest::newRow("no pulse, header line") << QByteArray("5A500000126D0C1F173B01") << false
                                               << QByteArray("KS-318  7000000001006D0C1F173B5A5000001201");
        QTest::newRow("pulse 0x10 is not 00") << QByteArray("5A501000126D0C1F173B01") << true
                                              << QByteArray("KS-318  7000000001006D0C1F173B5A5010001201");
        QTest::newRow("line break in a record") << QByteArray("5A50\n600126D0C1F173B01") << true
                                                << QByteArray("KS-318  7000000001006D0C1F173B5A5006001201");
        QTest::newRow("short record") << QByteArray("5A5046") << true
                                      << QByteArray("KS-318  70000000010000000000005A5046000000");
    }

    void recordLine()
    {
        QFETCH(QByteArray, record);
        QFETCH(bool, rule);
        QFETCH(QByteArray, line);
        const std::string made = recordLineFromRecord(std::string_view(record.constData(), std::size_t(record.size())), rule);
        QCOMPARE(QByteArray::fromStdString(made), line);
        QCOMPARE(int(made.size()), 42);
    }

    void hasData_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<bool>("hasData");
        QTest::newRow("one record") << int(LinkOk) << QByteArray("5A504600126D0C1F173B01") << true;
        QTest::newRow("link failed") << int(LinkFailed) << QByteArray("5A504600126D0C1F173B01") << false;
        QTest::newRow("no records") << int(LinkOk) << QByteArray() << false;
        QTest::newRow("first record empty") << int(LinkOk) << QByteArray("00000000006D0C1F173B01") << false;
        QTest::newRow("empty first, data after")
            << int(LinkOk) << QByteArray("0000000000FFFFFFFFFFFF" "5A504600126D0C1F173B01") << false;
        QTest::newRow("nine zeros") << int(LinkOk) << QByteArray("00000000016D0C1F173B01") << true;
    }

    void hasData()
    {
        QFETCH(int, result);
        QFETCH(QByteArray, block);
        QFETCH(bool, hasData);
        Rig rig;
        rig.setBlock(block, LinkResult(result));
        if (result != LinkOk)
            rig.link->recordCount = 1;
        QCOMPARE(blockHasData(LinkResult(result), *rig.link), hasData);
    }

    void start_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QDateTime>("start");
        QTest::newRow("2009") << QByteArray("5A504600126D0C1F173B01") << QDateTime(QDate(2009, 12, 31), QTime(23, 59));
        QTest::newRow("2026") << QByteArray("5A50460012" "7E0B020700" "01") << QDateTime(QDate(2026, 11, 2), QTime(7, 0));
        QTest::newRow("year byte 50") << QByteArray("5A50460012" "5001010000" "01")
                                      << QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    }

    void start()
    {
        QFETCH(QByteArray, record);
        QFETCH(QDateTime, start);
        const RetrievedStart s = startOfRecordLine(recordLineFromRecord(record.toStdString(), false));
        QCOMPARE(QDateTime(QDate(s.year, s.month, s.day), QTime(s.hour, s.minute)), start);
    }

    void fileText()
    {
        const QByteArray block("5A504600126D0C1F173B01" "5A500000126D0C1F181E01");
        const QByteArray text = formatRetrievedFile(block.constData(), 2);
        QCOMPARE(text, QByteArray("KS-318  7000000001006D0C1F173B5A5046001201\n"
                                  "KS-318  7000000001006D0C1F181E5A5000801201\n"
                                  "#PATIENT\nName:\nIDNumber:0\nAddress:\nPhone:\nSSNumber:\nMedicare:\n"
                                  "Insurance:\nAge:\nSex:\nHeight:\nWeight:\nComment1:\n       2:\n       3:\n"
                                  "#END\n#COMMENTS\n#END\n"));
    }

    // What is written reads back as the recording the recorder held; the
    // "8" rule keeps a reading's error code and marks it excluded.
    void writtenFileReadsBack()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.setBlock("5A504600126D0C1F173B01" "5A500014126E0101001E01");
        const QString chosen = dir.filePath("abc");
        // Progress follows the lines written.
        QList<int> progress;
        QCOMPARE(writeRetrievedFile(chosen, *rig.link, [&](int n) { progress << n; }), RetrievalWrite::Written);
        QCOMPARE(progress, (QList<int>{1, 2}));
        Session session;
        session.allocateData();
        QVERIFY(readBpDataFile(session, dir.filePath("abc.dat"), BpMode::OscillometricOnly));
        const SessionData& d = *session.data();
        QCOMPARE(int(d.counters.readingCount), 2);
        QCOMPARE(int(d.readings[0].sys), 170);
        QCOMPARE(QByteArray(d.readings[0].methodText.str().c_str()), QByteArray("O"));
        QCOMPARE((QList<int>{d.readings[1].oscExcluded, d.readings[1].oscError}), (QList<int>{1, 4}));
        QCOMPARE(int(d.readings[1].year), 2010);
        QCOMPARE(d.idNumber.str(), std::string("0"));
        QCOMPARE(session.state.recorderType, RecorderType::Ks318);
    }

    // The target is the file actually written, and it is never replaced.
    void target_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "abc" << QStringList{} << int(RetrievalWrite::Written) << "abc.dat";
        QTest::newRow("other extension") << "abc.txt" << QStringList{} << int(RetrievalWrite::Written)
                                         << "abc.dat";
        QTest::newRow("chosen name free, .dat taken") << "abc.txt" << QStringList{"abc.dat"}
                                                      << int(RetrievalWrite::Exists) << QString();
        QTest::newRow(".DAT taken") << "abc.x" << QStringList{"abc.DAT"} << int(RetrievalWrite::Exists)
                                    << QString();
        QTest::newRow("chosen name taken, .dat free") << "abc.txt" << QStringList{"abc.txt"}
                                                      << int(RetrievalWrite::Written) << "abc.dat";
        QTest::newRow("dot in the directory") << "d.x/abc" << QStringList{} << int(RetrievalWrite::Written)
                                              << "d.x/abc.dat";
        QTest::newRow("no such directory") << "nowhere/abc" << QStringList{} << int(RetrievalWrite::CannotCreate)
                                           << QString();
    }

    void target()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, existing);
        QFETCH(int, outcome);
        QFETCH(QString, written);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("d.x"));
        for (const QString& name : existing)
            touch(dir.filePath(name));
        Rig rig;
        rig.setBlock("5A504600126D0C1F173B01");
        int progress = 0;
        QCOMPARE(int(writeRetrievedFile(dir.filePath(chosen), *rig.link, [&](int) { ++progress; })), outcome);
        QCOMPARE(progress, outcome == int(RetrievalWrite::Written) ? 1 : 0);
        for (const QString& name : existing)
            QCOMPARE(readFile(dir.filePath(name)), QByteArray("old\n"));
        if (!written.isEmpty())
            QVERIFY(readFile(dir.filePath(written)).startsWith("KS-318  7000000001006D0C1F173B5A5046001201\n"));
        QCOMPARE(retrievalTargetExists(dir.filePath(chosen)), outcome != int(RetrievalWrite::CannotCreate));
    }

    // The new recording gets a fresh companion file with the patient's name;
    // the recording open before is described again afterwards.
    void prepareAndRestore()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.setBlock("5A504600126D0C1F173B01");
        QCOMPARE(writeRetrievedFile(dir.filePath("old"), *rig.link), RetrievalWrite::Written);
        Session session;
        QVERIFY(prepareDataSet(session, dir.filePath("old.dat"), QStringLiteral("前の患者")));
        session.state.currentFilePath = dir.filePath("old.dat");

        rig.setBlock("5A504600127E0B02070001");
        const QString chosen = dir.filePath("new.DAT");
        QCOMPARE(writeRetrievedFile(chosen, *rig.link), RetrievalWrite::Written);
        // Stale members in either spelling; the upper-case companion file
        // is the previous patient's.
        touch(dir.filePath("new.p30"), "stale companion file\n");
        QVERIFY(QFile::copy(dir.filePath("old.p30"), dir.filePath("new.P30")));
        touch(dir.filePath("new.csv"), "stale\n");
        touch(dir.filePath("new.CSV"), "stale\n");
        QVERIFY(prepareRetrievedRecording(session, chosen, QStringLiteral("山田 太郎"), nullptr));
        QCOMPARE(session.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
        QCOMPARE(session.state.fileBaseName, QStringLiteral("new"));
        QVERIFY(!QFileInfo::exists(dir.filePath("new.csv")) && !QFileInfo::exists(dir.filePath("new.CSV")));
        QVERIFY(!QFileInfo::exists(dir.filePath("new.P30")));
        QVERIFY(!readFile(dir.filePath("new.p30")).startsWith("stale"));

        restoreCurrentRecording(session, nullptr);
        QCOMPARE(session.patient.patientName.toQString(), QStringLiteral("前の患者"));
        QCOMPARE(session.state.fileBaseName, QStringLiteral("old"));
        QCOMPARE(session.state.currentFilePath, dir.filePath("old.dat"));
    }
};

QTEST_GUILESS_MAIN(TstRetrieval)
#include "tst_retrieval.moc"
