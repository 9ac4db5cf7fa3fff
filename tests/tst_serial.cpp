// The serial port: port names, opening (exclusive, message 198 on failure),
// the line settings and the byte operations, on a pseudo-terminal standing
// in for the line; why a device can or cannot be used, looked at without
// opening and as the reason an open failed, and the line ks318-cli adds
// after message 198.
#include "recordingsink.h"
#include "recorder/linkframes.h"
#include "recorder/serial.h"
#include "support/testfiles.h"

#include <QtTest>
#include <cstdlib>
#include <memory>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace ks318;
using namespace ks318::test;

namespace {

// A pseudo-terminal pair: the test plays the recorder on the master side.
struct Pty {
    int master = -1;
    QString device;
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        device = QString::fromLocal8Bit(::ptsname(master));
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { ::close(master); }
    QByteArray readAll(int waitMs = 500)
    {
        QByteArray out;
        pollfd p{master, POLLIN, 0};
        while (::poll(&p, 1, waitMs) > 0) {
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, int(n));
            waitMs = 50;
        }
        return out;
    }
    // Writes everything, letting `drain` empty the other side when full.
    template <typename F>
    void writeAll(const QByteArray& bytes, F&& drain)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.constData() + done, std::size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                drain();
        }
    }
};

// Waits until `port` reports at least `n` bytes (the pseudo-terminal hands
// them over asynchronously).
int waitForCount(Serial& port, int n)
{
    int count = 0;
    for (int i = 0; i < 200 && (count = port.bytesAvailable()) < n; ++i)
        ::usleep(5000);
    return count;
}

} // namespace

class TstSerial : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ClosePort(); }

    void portNames()
    {
        qputenv("KS318_COM2", "/dev/ttyUSB0");
        QStringList devices;
        for (const char* name : {"COM1", "COM4", "COM2", "/dev/ttyACM0", "COM0"})
            devices << resolvePortDevice(QLatin1String(name));
        qunsetenv("KS318_COM2");
        devices << resolvePortDevice(QStringLiteral("COM2"));
        QCOMPARE(devices,
                 (QStringList{"/dev/ttyS0", "/dev/ttyS3", "/dev/ttyUSB0", "/dev/ttyACM0", "COM0", "/dev/ttyS1"}));
    }

    // The line settings; bytes both ways, XON/XOFF and CR/LF passed through
    // untouched; a whole 8 KB block counted, beyond what the terminal layer
    // reports.
    void lineAndBytes()
    {
        Pty pty;
        Serial port(pty.device);
        QVERIFY(port.isOpen());
        const QByteArray toRecorder = commandFrame("05") + QByteArray("\r\n\x11\x13\x00\xff", 6);
        for (const char c : toRecorder)
            QVERIFY(port.writeByte(c));
        QCOMPARE(pty.readAll(), toRecorder);

        QByteArray fromRecorder = QByteArray("\x01KS70\x06\x11\x13\r\n\x00\xff", 12) + QByteArray(8192, 'A');
        for (qsizetype i = 12; i < fromRecorder.size(); ++i)
            fromRecorder[i] = char('A' + i % 26);
        pty.writeAll(fromRecorder, [&] {
            port.bytesAvailable();
            ::usleep(2000);
        });
        const int size = int(fromRecorder.size());
        QCOMPARE(waitForCount(port, size), size);
        QByteArray got(size, '\0');
        QCOMPARE(port.read(got.data(), 5), 5);
        QCOMPARE(port.bytesAvailable(), size - 5);
        QCOMPARE(port.read(got.data() + 5, size), size - 5);
        QCOMPARE(got, fromRecorder);
        QCOMPARE(port.read(got.data(), 1), 0);

        pty.writeAll("stale bytes", [] {});
        QCOMPARE(waitForCount(port, 11), 11);
        port.purge();
        QCOMPARE(port.bytesAvailable(), 0);
        // Read through the master: the port holds the terminal exclusively.
        termios tio{};
        QCOMPARE(::tcgetattr(pty.master, &tio), 0);
        QCOMPARE(int(tio.c_cflag & CSIZE), int(CS8));
        QVERIFY(tio.c_cflag & CSTOPB);
        QVERIFY(!(tio.c_cflag & PARENB));
        QVERIFY(!(tio.c_cflag & CRTSCTS));
        QVERIFY(!(tio.c_iflag & (IXON | IXOFF)));
        QVERIFY(!(tio.c_lflag & (ICANON | ECHO)));
        QCOMPARE(int(cfgetospeed(&tio)), int(B9600));
    }

    // The device goes while the port is open (the other end of the line
    // closes: an adapter unplugged) and comes back under the same name: the
    // port finds out by whatever it does next and lets go of the handle, and
    // the next OpenPort opens the device that is there now, without message.
    void vanishedDeviceIsOpenedAgain_data()
    {
        QTest::addColumn<QString>("noticedBy");
        for (const char* how : {"write", "count", "check", "open"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    void vanishedDeviceIsOpenedAgain()
    {
        QFETCH(QString, noticedBy);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyKS"));
        auto before = std::make_unique<Pty>();
        QVERIFY(QFile::link(before->device, link));
        MessageLog sink;
        QVERIFY(OpenPort(link, &sink));
        Serial* port = currentPort();
        QVERIFY(checkOpenPort() && !port->vanished());
        QVERIFY(OpenPort(QStringLiteral("/nonexistent"), &sink));   // the open port is kept
        QCOMPARE(currentPort(), port);

        before.reset();
        Pty after;
        QVERIFY(QFile::remove(link) && QFile::link(after.device, link));
        if (noticedBy == QLatin1String("write"))
            QVERIFY(!port->writeByte('x'));
        else if (noticedBy == QLatin1String("count"))
            QCOMPARE(port->bytesAvailable(), 0);
        else if (noticedBy == QLatin1String("check"))
            QVERIFY(!checkOpenPort());
        if (noticedBy != QLatin1String("open")) {
            QVERIFY(port->vanished() && !port->isOpen());
            QCOMPARE(currentPort(), port);   // released by the next OpenPort only
        }

        QVERIFY(OpenPort(link, &sink));
        QVERIFY(currentPort()->isOpen() && !currentPort()->vanished());
        ::write(after.master, "\x01KS70\x06", 6);
        QCOMPARE(waitForCount(*currentPort(), 6), 6);
        QVERIFY(sink.shown.isEmpty());
        ClosePort();
        QVERIFY(currentPort() == nullptr);
    }

    void reasons_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("checked");
        QTest::addColumn<int>("opened");
        QTest::newRow("pseudo-terminal") << "pty" << int(PortAccess::Usable) << int(PortAccess::Usable);
        QTest::newRow("held by another program") << "held" << int(PortAccess::Usable) << int(PortAccess::Busy);
        QTest::newRow("no such device") << "missing" << int(PortAccess::Missing) << int(PortAccess::Missing);
        QTest::newRow("no permission") << "denied" << int(PortAccess::Denied) << int(PortAccess::Denied);
        QTest::newRow("not a terminal") << "null" << int(PortAccess::Usable) << int(PortAccess::NotSerial);
    }

    // Looked at, opened, and opened as the program opens its port: message
    // 198 and no port where it cannot be used.
    void reasons()
    {
        QFETCH(QString, kind);
        if (kind == QLatin1String("denied") && ::geteuid() == 0) {  // refused nothing: the row runs as nobody
            // A copy in a folder of its own, which nobody may enter wherever the build lies.
            QTemporaryDir dir;
            const QString copy = dir.filePath(QStringLiteral("tst_serial"));
            const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
            QVERIFY(QFile::setPermissions(copy, everyone) && QFile::setPermissions(dir.path(), everyone));
            QProcess child;  // setpriv is in util-linux
            child.setWorkingDirectory(dir.path());
            child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", copy, "reasons:no permission"});
            child.waitForFinished();
            const QByteArray out = child.readAll() + child.errorString().toUtf8();
            QVERIFY2(out.contains("PASS   : TstSerial::reasons(no permission)"), out);
            return;
        }
        Pty pty;
        QTemporaryDir dir;
        const QMap<QString, QString> devices{
            {"missing", dir.filePath("ttyUSB9")}, {"null", "/dev/null"}, {"denied", dir.filePath("ttyUSB0")}};
        const QString device = devices.value(kind, pty.device);
        if (kind == QLatin1String("denied"))   // a file only its owner may read
            QVERIFY(writeFile(device, {}) && QFile::setPermissions(device, QFileDevice::ReadOwner));
        const auto holder = kind == QLatin1String("held") ? std::make_unique<Serial>(device) : nullptr;
        const PortAccess check = checkPortAccess(device);
        QTEST(int(check.verdict), "checked");
        QTEST(int(Serial(device).failure().verdict), "opened");
        if (kind == QLatin1String("denied"))
            QCOMPARE(check.group, QString::fromLocal8Bit(::getgrgid(::getegid())->gr_name));
        MessageLog sink;
        const bool usable = kind == QLatin1String("pty");
        QCOMPARE(OpenPort(device, &sink), usable);
        QCOMPARE(currentPort() != nullptr, usable);
        QCOMPARE(sink.shown, QList<ShownMessage>(usable ? 0 : 1, {198, 14, MessageIcon::Exclamation}));
    }

    void commandLineNamesTheDeviceAndTheReason()
    {
        const QStringList lines = runCli({"recorder", "--port", "/dev/ttyUSB97", "clear"}).error().split('\n');
        QVERIFY(lines.value(0).endsWith(QStringLiteral("シリアルポートを初期化出来ませんでした。")));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("ks318-cli: /dev/ttyUSB97: デバイスがありません。")));
    }
};

QTEST_GUILESS_MAIN(TstSerial)
#include "tst_serial.moc"
