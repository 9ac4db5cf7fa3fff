// ks318-cli recorder: what is refused before the recorder is spoken to, and
// a port that cannot be opened.
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TstCliRecorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QStringList port{"recorder", "--port", "/nonexistent/ttyS9"};
        const QString cannotOpen = QStringLiteral("シリアルポートを初期化出来ませんでした。");
        QTest::newRow("no subcommand") << QStringList{"recorder"} << 2 << "subcommand";
        QTest::newRow("unknown subcommand") << port + QStringList{"rewind"} << 2 << "unknown subcommand";
        QTest::newRow("csv taken, port cannot be opened")
            << port + QStringList{"retrieve", "OUT.DAT", "--patient", "a", "--csv"} << 1 << cannotOpen;
        QTest::newRow("no patient") << port + QStringList{"retrieve", "OUT.DAT"} << 2 << "--patient";
        QTest::newRow("empty patient") << port + QStringList{"retrieve", "OUT.DAT", "--patient", ""} << 2
                                       << QStringLiteral("患者名を入力してください。");
        // A file that is there already is refused before any transfer.
        QTest::newRow("target exists") << port + QStringList{"retrieve", "THERE.DAT", "--patient", "a"} << 1
                                       << QStringLiteral("上書きは出来ません。");
        QTest::newRow("five slots") << port + QStringList{"setup", "--slots", "08:00,off,off,off,off"} << 2
                                    << "six times";
        QTest::newRow("hour 24") << port + QStringList{"setup", "--slots", "24:00,off,off,off,off,off"} << 2
                                 << "six times";
        QTest::newRow("same time twice") << port + QStringList{"setup", "--slots", "08:00,off,8:00,off,off,off"}
                                         << 2 << QStringLiteral("同じ時刻は設定できません。");
        QTest::newRow("port cannot be opened") << port + QStringList{"read-setup"} << 1 << cannotOpen;
        QTest::newRow("COM9 through the environment") << QStringList{"recorder", "--port", "COM9", "clear"} << 1
                                                      << cannotOpen;
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(ks318::test::writeFile(dir.filePath("THERE.dat"), {}));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KS318_COM9", "/nonexistent/ttyUSB9");
        const ks318::test::CliRun r = ks318::test::runCli(args, dir.path(), 10000, env);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.error().contains(message), qPrintable(r.error()));
        // Nothing written in the current directory.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"THERE.dat"});
    }
};

QTEST_GUILESS_MAIN(TstCliRecorder)
#include "tst_cli_recorder.moc"
