// ks318-cli recorder: what is refused before the recorder is spoken to, and
// a port that cannot be opened.
#include <QProcess>
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
        QTest::newRow("no subcommand") << QStringList{"recorder"} << 2 << "subcommand";
        QTest::newRow("unknown subcommand") << port + QStringList{"rewind"} << 2 << "unknown subcommand";
        QTest::newRow("csv taken, port cannot be opened")
            << port + QStringList{"retrieve", "OUT.DAT", "--patient", "a", "--csv"} << 1
            << QStringLiteral("シリアルポートを初期化出来ませんでした。");
        QTest::newRow("no patient") << port + QStringList{"retrieve", "OUT.DAT"} << 2 << "--patient";
        QTest::newRow("empty patient") << port + QStringList{"retrieve", "OUT.DAT", "--patient", ""} << 2
                                       << QStringLiteral("患者名を入力してください。");
        QTest::newRow("five slots") << port + QStringList{"setup", "--slots", "08:00,off,off,off,off"} << 2
                                    << "six times";
        QTest::newRow("hour 24") << port + QStringList{"setup", "--slots", "24:00,off,off,off,off,off"} << 2
                                 << "six times";
        QTest::newRow("same time twice") << port + QStringList{"setup", "--slots", "08:00,off,8:00,off,off,off"}
                                         << 2 << QStringLiteral("同じ時刻は設定できません。");
        QTest::newRow("port cannot be opened") << port + QStringList{"read-setup"} << 1
                                               << QStringLiteral("シリアルポートを初期化出来ませんでした。");
        QTest::newRow("COM9 through the environment")
            << QStringList{"recorder", "--port", "COM9", "clear"} << 1
            << QStringLiteral("シリアルポートを初期化出来ませんでした。");
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KS318_COM9", "/nonexistent/ttyUSB9");
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("KS318_CLI"), args);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), exitCode);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
        // Nothing written in the current directory.
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    // A file that is there already is refused before any transfer.
    void existingTarget()
    {
        QTemporaryDir dir;
        QFile existing(dir.filePath("OUT.dat"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QProcess p;
        p.start(qEnvironmentVariable("KS318_CLI"), {"recorder", "--port", "/nonexistent/ttyS9", "retrieve",
                                                     dir.filePath("OUT.DAT"), "--patient", "a"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("上書きは出来ません。")));
    }
};

QTEST_GUILESS_MAIN(TstCliRecorder)
#include "tst_cli_recorder.moc"
