// ks318-cli recorder against ks318-sim on a real pseudo-terminal, in real
// time: every command end to end, with the simulator's fault options.
#include "support/simulator.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using ks318::test::Simulator;

namespace {

// The command line in real time; a retrieval may take a while.
test::CliRun cli(const QStringList& args) { return test::runCli(args, {}, 120000); }

} // namespace

class SlowRecorderSim : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariable("KS318_SIM").isEmpty(), "KS318_SIM names the simulator");
        QVERIFY2(!qEnvironmentVariable("KS318_CLI").isEmpty(), "KS318_CLI names the command line");
    }

    void retrieveFiveRecords()
    {
        Simulator sim({"--generate", "5"});
        QVERIFY(!sim.device().isEmpty());
        QTemporaryDir dir;
        const test::CliRun r = cli({"recorder", "--port", sim.device(), "retrieve", dir.filePath("OUT.DAT"), "--patient",
                           QStringLiteral("山田 太郎")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.text().contains(QStringLiteral("5 readings, first 2026/11/02 07:00")), qPrintable(r.text()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"OUT.dat", "OUT.p30"}));
        // Five record lines of a KS-318 (type 70), and the patient's name in the companion file.
        QCOMPARE(test::readFile(dir.filePath("OUT.dat")).count("KS-318  70"), 5);
        const test::CliRun info = cli({"info", dir.filePath("OUT.DAT")});
        QVERIFY2(info.text().contains(QStringLiteral("patientName: 山田 太郎")), qPrintable(info.text()));

        const QString log = sim.log();
        QCOMPARE(log.count("recv command 10"), 1);
        QCOMPARE(log.count("recv ACK"), 1);
    }

    void readAndWriteSchedule()
    {
        // (The schedule as read is listed by faultsTheLinkRidesOut.)
        Simulator sim({"--settings", "00000000" "07000C1EFFFF1500FFFFFFFF" "4B"});
        const test::CliRun setup = cli({"recorder", "--port", sim.device(), "setup", "--slots",
                               "06:45,off,13:05,off,off,23:59", "--set-clock", "--clear"});
        QCOMPARE(setup.exitCode, 0);
        const QString log = sim.log();
        // Clear, clock and schedule in that order, the block's tail sent back.
        const qsizetype clear = log.indexOf("recv command 12");
        const qsizetype clock = log.indexOf("clock set to");
        const qsizetype schedule = log.indexOf("schedule now 062DFFFF0D05FFFFFFFF173B");
        QVERIFY(clear > 0 && clock > clear && schedule > clock);
        QVERIFY(log.contains("recv data \"00000000062DFFFF0D05FFFFFFFF173B4B\" checksum ok"));

        const test::CliRun after = cli({"recorder", "--port", sim.device(), "read-setup"});
        QCOMPARE(after.text(), QStringLiteral("1 06:45\n2 off\n3 13:05\n4 off\n5 off\n6 23:59\n"));
    }

    void faultsTheLinkRidesOut()
    {
        // Stray bytes before replies, replies in two parts, a settings block
        // with a wrong length and one with a wrong checksum, and an XOFF hold.
        Simulator sim({"--stray", "2", "--split", "--bad-settings-length", "1", "--bad-checksum", "1", "--xoff",
                       "1.5@3"});
        const test::CliRun r = cli({"recorder", "--port", sim.device(), "read-setup"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.text(), QStringLiteral("1 07:00\n2 12:30\n3 off\n4 21:00\n5 off\n6 off\n"));
        const QString log = sim.log();
        QCOMPARE(log.count("recv NAK"), 2);
        QCOMPARE(log.count("XOFF for"), 1);
    }

    // A recorder that leaves the line, falls silent after the opening (a
    // failed link, not an empty recorder) or never answers: exit 1 with the
    // no-answer message, the command sent as often as given, nothing written.
    void recorderStopsAnswering_data()
    {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("times");
        QTest::newRow("exits mid-session") << QStringList{"--exit-after", "2"} << QStringList{"clear"} << "" << 0;
        QTest::newRow("silent after the opening") << QStringList{"--silent-after", "2"}
                                                  << QStringList{"retrieve", "OUT.DAT", "--patient", "x"}
                                                  << "recv command 10" << 1;
        QTest::newRow("silent") << QStringList{"--silent-after", "0"} << QStringList{"measure"} << "recv command 05" << 4;
    }

    void recorderStopsAnswering()
    {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, command);
        QFETCH(QString, sent);
        QFETCH(int, times);
        Simulator sim(simulator);
        QTemporaryDir dir;
        const test::CliRun r = test::runCli(QStringList{"recorder", "--port", sim.device()} + command, dir.path(), 120000);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.error().contains(QStringLiteral("レコーダが応答しません。接続を確認してください。")), qPrintable(r.error()));
        QVERIFY(QDir(dir.path()).isEmpty());
        if (!sent.isEmpty())
            QCOMPARE(sim.log().count(sent), times);
    }
};

QTEST_GUILESS_MAIN(SlowRecorderSim)
#include "slow_recorder_sim.moc"
