#include "serial.h"

#include "records/messages.h"

#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ks318 {

namespace {

// Bytes held in user space at most; the recorder never sends more than one
// data block (8 KB and a little) before waiting for an answer.
constexpr int kPendingLimit = 65536;

std::unique_ptr<Serial>& portSlot()
{
    static std::unique_ptr<Serial> port;
    return port;
}

PortAccess& lastFailureSlot()
{
    static PortAccess failure;
    return failure;
}

// Errors by which a terminal says that its device is gone: a hung-up line
// answers EIO, an unplugged adapter ENODEV or ENXIO.
bool deviceGone(int err)
{
    return err == EIO || err == ENXIO || err == ENODEV;
}

} // namespace

QString portNameFor(int number)
{
    return QString::asprintf("COM%d", number);
}

QString resolvePortDevice(const QString& portName)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(portName);
    if (!m.hasMatch())
        return portName;
    const int n = m.captured(1).toInt();
    const QByteArray variable = "KS318_COM" + QByteArray::number(n);
    const QByteArray device = qgetenv(variable.constData());
    if (!device.isEmpty())
        return QString::fromLocal8Bit(device);
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

Serial::Serial(const QString& portName) : portName_(portName), device_(resolvePortDevice(portName))
{
    const QByteArray path = device_.toLocal8Bit();
    // Non-blocking for the open itself, so that a line without carrier does
    // not hold it up.
    fd_ = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        errno_ = errno;
        error_ = QStringLiteral("%1: %2").arg(device_, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (!::isatty(fd_)) {
        fail("not a terminal", ENOTTY);
        return;
    }
    // Exclusive: a port in use by another program is refused. TIOCEXCL keeps
    // later opens out; the lock also catches a program that opened it first
    // and took it the same way (and works for the superuser, whom TIOCEXCL
    // does not stop).
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        fail("in use", errno);
        return;
    }
    if (::ioctl(fd_, TIOCEXCL) != 0) {
        fail("TIOCEXCL", errno);
        return;
    }

    ::tcflush(fd_, TCOFLUSH);
    ::tcflush(fd_, TCIFLUSH);

    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        fail("tcgetattr", errno);
        return;
    }
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~tcflag_t(CSIZE | PARENB | CRTSCTS);
    tio.c_cflag |= CS8 | CSTOPB | CREAD | CLOCAL;
    tio.c_cc[VMIN] = 0;   // reads return at once with what is there
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0 || ::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        fail("tcsetattr", errno);
        return;
    }
    // DTR on. A pseudo-terminal has no modem lines; that is not a failure.
    int dtr = TIOCM_DTR;
    ::ioctl(fd_, TIOCMBIS, &dtr);

    // From here on writes may wait for room in the output queue; reads never
    // wait (VMIN 0, VTIME 0, and only counted bytes are asked for).
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

Serial::~Serial()
{
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
}

void Serial::fail(const char* what, int err)
{
    errno_ = err;
    error_ = QStringLiteral("%1: %2: %3")
                 .arg(device_, QLatin1String(what), QString::fromLocal8Bit(std::strerror(err)));
    ::close(fd_);
    fd_ = -1;
}

void Serial::lose(int err)
{
    if (fd_ < 0)
        return;
    vanished_ = true;
    errno_ = err != 0 ? err : ENODEV;
    error_ = QStringLiteral("%1: %2").arg(device_, err != 0 ? QString::fromLocal8Bit(std::strerror(err))
                                                            : QStringLiteral("hung up"));
    ::close(fd_);
    fd_ = -1;
}

bool Serial::checkLine()
{
    if (fd_ < 0)
        return false;
    pollfd p{fd_, POLLIN, 0};
    int ready = 0;
    do
        ready = ::poll(&p, 1, 0);
    while (ready < 0 && errno == EINTR);
    if (ready > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        lose(0);
    return fd_ >= 0;
}

PortAccess Serial::failure() const
{
    if (isOpen())
        return PortAccess{device_, PortAccess::Usable, {}, {}};
    return portOpenFailure(device_, errno_);
}

void Serial::purge()
{
    pending_.clear();
    if (fd_ < 0)
        return;
    ::tcflush(fd_, TCOFLUSH);
    ::tcflush(fd_, TCIFLUSH);
}

int Serial::bytesAvailable()
{
    if (fd_ < 0)
        return int(pending_.size());
    // A line that hung up reports nothing waiting; it is found out here.
    if (!checkLine())
        return int(pending_.size());
    // Move what the driver holds into user space, as long as it reports any.
    while (pending_.size() < kPendingLimit) {
        int queued = 0;
        if (::ioctl(fd_, FIONREAD, &queued) != 0) {
            if (deviceGone(errno))
                lose(errno);
            break;
        }
        if (queued <= 0)
            break;
        const int room = kPendingLimit - int(pending_.size());
        char chunk[4096];
        const int want = std::min({queued, room, int(sizeof chunk)});
        const ssize_t got = ::read(fd_, chunk, std::size_t(want));
        if (got == 0 || (got < 0 && deviceGone(errno))) {
            // Counted bytes that cannot be read: the line is closed.
            lose(got == 0 ? 0 : errno);
            break;
        }
        if (got < 0)
            break;
        pending_.append(chunk, int(got));
    }
    return int(pending_.size());
}

int Serial::read(char* into, int count)
{
    const int n = std::min(count, int(pending_.size()));
    if (n <= 0)
        return 0;
    std::memcpy(into, pending_.constData(), std::size_t(n));
    pending_.remove(0, n);
    return n;
}

bool Serial::writeByte(char byte)
{
    if (fd_ < 0)
        return false;
    for (;;) {
        const ssize_t n = ::write(fd_, &byte, 1);
        if (n == 1)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && deviceGone(errno))
            lose(errno);
        return false;
    }
}

Serial* currentPort()
{
    return portSlot().get();
}

bool OpenPort(const QString& portName, MessageSink* messages)
{
    std::unique_ptr<Serial>& slot = portSlot();
    if (slot) {
        if (slot->checkLine())
            return true;
        // The device went away since: let go of its handle and open the
        // port again, where the device may be back.
        slot.reset();
    }
    auto port = std::make_unique<Serial>(portName);
    if (!port->isOpen()) {
        lastFailureSlot() = port->failure();
        showMessage(messages, 198, kErrorCaptionId, MessageIcon::Exclamation);
        return false;
    }
    slot = std::move(port);
    return true;
}

bool checkOpenPort()
{
    Serial* port = currentPort();
    return port && port->checkLine();
}

PortAccess lastPortFailure()
{
    return lastFailureSlot();
}

void ClosePort()
{
    portSlot().reset();
}

} // namespace ks318
