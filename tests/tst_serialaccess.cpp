// Why a serial device can or cannot be used: looked at without opening, and
// the reason an open failed; and the line ks318-cli adds after message 198.
#include "recorder/serial.h"

#include <QtTest>
#include <grp.h>
#include <pty.h>
#include <unistd.h>

using namespace ks318;

class TestSerialAccess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reasons_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("checked");
        QTest::addColumn<int>("opened");
        QTest::newRow("pseudo-terminal") << "pty" << int(PortAccess::Usable) << int(PortAccess::Usable);
        QTest::newRow("held by another program") << "held" << int(PortAccess::Usable) << int(PortAccess::Busy);
        QTest::newRow("no such device") << "missing" << int(PortAccess::Missing) << int(PortAccess::Missing);
        QTest::newRow("no permission") << "denied" << int(PortAccess::Denied) << int(PortAccess::Denied);
    }

    void reasons()
    {
        QFETCH(QString, kind);
        if (kind == QLatin1String("denied") && ::geteuid() == 0) {  // refused nothing: the row runs as nobody
            // A copy in a folder of its own, which nobody may enter wherever the build lies.
            QTemporaryDir dir;
            const QString copy = dir.filePath(QStringLiteral("tst_serialaccess"));
            const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
            QVERIFY(QFile::setPermissions(copy, everyone) && QFile::setPermissions(dir.path(), everyone));
            QProcess child;  // setpriv is in util-linux
            child.setWorkingDirectory(dir.path());
            child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", copy, "reasons:no permission"});
            child.waitForFinished();
            const QByteArray out = child.readAll() + child.errorString().toUtf8();
            QVERIFY2(out.contains("PASS   : TestSerialAccess::reasons(no permission)"), out);
            return;
        }
        int master = -1, slave = -1;
        QVERIFY(::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        QString device = QString::fromLocal8Bit(::ttyname(slave));
        QTemporaryDir dir;
        if (kind == QLatin1String("missing"))
            device = dir.filePath(QStringLiteral("ttyUSB9"));
        if (kind == QLatin1String("denied")) {
            QFile file(device = dir.filePath(QStringLiteral("ttyUSB0")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.setPermissions(QFileDevice::ReadOwner));
        }
        const auto holder = kind == QLatin1String("held") ? std::make_unique<Serial>(device) : nullptr;
        const PortAccess check = checkPortAccess(device);
        QTEST(int(check.verdict), "checked");
        QTEST(int(Serial(device).failure().verdict), "opened");
        if (kind == QLatin1String("denied"))
            QCOMPARE(check.group, QString::fromLocal8Bit(::getgrgid(::getegid())->gr_name));
        ::close(slave);
        ::close(master);
    }

    void commandLineNamesTheDeviceAndTheReason()
    {
        QProcess cli;
        cli.start(qEnvironmentVariable("KS318_CLI"), {"recorder", "--port", "/dev/ttyUSB97", "clear"});
        QVERIFY(cli.waitForFinished());
        const QStringList lines = QString::fromUtf8(cli.readAllStandardError()).split(QLatin1Char('\n'));
        QVERIFY(lines.value(0).endsWith(QStringLiteral("シリアルポートを初期化出来ませんでした。")));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("ks318-cli: /dev/ttyUSB97: デバイスがありません。")));
    }
};

QTEST_GUILESS_MAIN(TestSerialAccess)
#include "tst_serialaccess.moc"
