// ks318-sim: plays a KS-318P recorder on a pseudo-terminal, so that the
// program (or ks318-cli recorder) can be tried without a recorder.
//
// It prints the device path of the terminal's other end on the first line of
// stdout (and with --link PATH makes PATH a symbolic link to it), then
// answers frames until it is stopped. With --vanish-after it closes its
// terminal (a recorder unplugged) and, with --back-after, comes back on a new
// one behind the same --link path, printing the new device on another line. Every frame received and every reply is
// logged on stderr. Bytes go out at the pace of 9600 baud with 8N2 framing.
#include "recordfile.h"

#include "recorder/linkframes.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace ks318;

namespace {

const char* const kUsage =
    "usage: ks318-sim [OPTIONS]\n"
    "  --link PATH           make PATH a symbolic link to the terminal device\n"
    "  --records FILE        the stored readings: one 22-character record per line,\n"
    "                        or the record lines of a BP data file\n"
    "  --generate N          N generated readings instead (default 5)\n"
    "  --settings TEXT       the 34-character settings block\n"
    "                        (default 00000000 07000C1EFFFF1500FFFFFFFF 00)\n"
    "  --nak K[:CODE]        answer the next K commands (of CODE only) with NAK\n"
    "  --silent-after K      answer K commands, then nothing at all\n"
    "  --exit-after K        answer K commands, then exit at the next one\n"
    "  --xoff T[@N]          after the N-th byte received (default 3) hold the\n"
    "                        line with XOFF for T seconds, then XON\n"
    "  --stray N             send N stray bytes before every reply\n"
    "  --split               send every reply in two parts, 300 ms apart\n"
    "  --bad-settings-length K  the next K settings blocks announce 33 characters\n"
    "                        (header only)\n"
    "  --bad-checksum K      the next K settings blocks carry a wrong checksum\n"
    "  --turnaround MS       pause between a frame received and the reply\n"
    "                        (default 50; a real line never answers at once)\n"
    "  --vanish-after K      after answering the K-th frame received, close the\n"
    "                        terminal (the recorder unplugged) and remove the\n"
    "                        --link path; without --back-after, then exit\n"
    "  --back-after MS       come back MS milliseconds after vanishing, on a new\n"
    "                        terminal behind the same --link path, with the\n"
    "                        readings and the schedule kept\n"
    "  --quiet               log nothing\n";

// 11 bits per character at 9600 baud.
constexpr long kCharacterNs = 11L * 1000000000L / 9600L;

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

struct Options {
    QString link;
    QByteArray records;            // concatenated 22-character records
    QByteArray settings = "00000000" "07000C1EFFFF1500FFFFFFFF" "00";
    int nakCount = 0;
    QByteArray nakCode;            // empty: any command
    int silentAfter = -1;
    int exitAfter = -1;
    double xoffSeconds = 0;
    int xoffAtByte = 3;
    int stray = 0;
    bool split = false;
    int badSettingsLength = 0;
    int badChecksum = 0;
    int turnaroundMs = 50;
    int vanishAfter = -1;          // frames answered before the terminal closes
    int backAfterMs = -1;          // -1: gone for good
    bool quiet = false;
};

timespec monotonicNow()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

double secondsSince(const timespec& start)
{
    const timespec now = monotonicNow();
    return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
}

void sleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR && !g_stop) {
    }
}

QByteArray generatedRecords(int count)
{
    QByteArray out;
    // Readings every four hours from 2 November 2026, 07:00.
    QDateTime t(QDate(2026, 11, 2), QTime(7, 0));
    for (int i = 0; i < count; ++i) {
        const int dia = 78 + (i * 7) % 15;
        const int pp = 45 + (i * 11) % 20;
        const int pulse = 62 + (i * 5) % 18;
        const int error = (i % 17 == 16) ? 0x08 : 0;
        out.append(QString::asprintf("%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X", pp, dia, pulse, error, 0,
                                     t.date().year() - 1900, t.date().month(), t.date().day(), t.time().hour(),
                                     t.time().minute(), 1)
                       .toLatin1());
        t = t.addSecs(4 * 3600);
    }
    return out;
}

bool parseCount(const char* text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || v < 0 || v > 1000000)
        return false;
    value = int(v);
    return true;
}

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

class Recorder {
public:
    Recorder(int fd, Options options) : fd_(fd), o_(std::move(options)) { start_ = monotonicNow(); }

    // Answers frames until stopped; false when the recorder is to vanish.
    bool run()
    {
        FrameAssembler assembler;
        timespec lastByte = monotonicNow();
        vanishing_ = false;
        while (!g_stop && !vanishing_) {
            pollfd p{fd_, POLLIN, 0};
            const int ready = ::poll(&p, 1, 50);
            if (ready < 0 && errno != EINTR)
                break;
            if (assembler.inFrame() && secondsSince(lastByte) > 0.5) {
                log(QStringLiteral("incomplete frame dropped: %1").arg(hexText(assembler.partial())));
                assembler.reset();
            }
            if (ready <= 0 || !(p.revents & POLLIN)) {
                if (ready > 0 && (p.revents & (POLLHUP | POLLERR)))
                    sleepMs(50);
                continue;
            }
            char buffer[256];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                sleepMs(20);
                continue;
            }
            lastByte = monotonicNow();
            for (ssize_t i = 0; i < n && !g_stop; ++i) {
                ++bytesReceived_;
                if (o_.xoffSeconds > 0 && bytesReceived_ == o_.xoffAtByte) {
                    log(QStringLiteral("XOFF for %1 s").arg(o_.xoffSeconds));
                    send(QByteArray(1, ctl::XOFF));
                    sleepMs(long(o_.xoffSeconds * 1000));
                    send(QByteArray(1, ctl::XON));
                    log(QStringLiteral("XON"));
                }
                FrameAssembler::Frame frame;
                if (assembler.feed(buffer[i], frame)) {
                    handle(frame);
                    if (frame.kind != FrameAssembler::Kind::Stray && ++frames_ == o_.vanishAfter) {
                        log(QStringLiteral("vanished after %1 frames").arg(frames_));
                        vanishing_ = true;
                        break;
                    }
                }
            }
        }
        return !vanishing_;
    }

    // Plugged in again, on another terminal.
    void reconnect(int fd, const QByteArray& device)
    {
        fd_ = fd;
        expect_ = Expect::Nothing;
        lastBlock_ = Block::None;
        log(QStringLiteral("back on %1").arg(QString::fromLocal8Bit(device)));
    }

    void log(const QString& text) const
    {
        if (o_.quiet)
            return;
        std::fprintf(stderr, "ks318-sim %8.3f %s\n", secondsSince(start_), text.toLocal8Bit().constData());
        std::fflush(stderr);
    }

    // Writes bytes at the wire's pace.
    void send(const QByteArray& bytes)
    {
        timespec next = monotonicNow();
        for (const char byte : bytes) {
            while (::write(fd_, &byte, 1) < 0 && errno == EINTR) {
            }
            next.tv_nsec += kCharacterNs;
            if (next.tv_nsec >= 1000000000L) {
                next.tv_nsec -= 1000000000L;
                ++next.tv_sec;
            }
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) == EINTR && !g_stop) {
            }
        }
    }

    void reply(bool ack)
    {
        sleepMs(o_.turnaroundMs);
        QByteArray frame;
        frame.append(ctl::SOH);
        frame.append("KS70");
        frame.append(ack ? ctl::ACK : ctl::NAK);
        if (o_.stray > 0)
            send(QByteArray(o_.stray, 'U'));
        if (o_.split) {
            send(frame.left(1));
            sleepMs(300);
            send(frame.mid(1));
        } else {
            send(frame);
        }
        log(ack ? QStringLiteral("reply ACK") : QStringLiteral("reply NAK"));
    }

    void sendBlock(const QByteArray& block, const char* what)
    {
        sleepMs(50);
        send(block);
        log(QStringLiteral("sent %1 (%2 bytes)").arg(QLatin1String(what)).arg(block.size()));
    }

    QByteArray readingsBlock() const { return dataFrame(o_.records, "KS"); }

    QByteArray settingsBlock()
    {
        if (o_.badSettingsLength > 0) {
            --o_.badSettingsLength;
            QByteArray header = dataFrame(o_.settings.left(33), "KS").left(9);
            return header;
        }
        QByteArray frame = dataFrame(o_.settings, "KS");
        if (o_.badChecksum > 0) {
            --o_.badChecksum;
            frame[frame.size() - 1] = char(frame.back() + 1);
        }
        return frame;
    }

    void handle(const FrameAssembler::Frame& frame)
    {
        switch (frame.kind) {
        case FrameAssembler::Kind::Stray:
            log(QStringLiteral("stray %1").arg(hexText(frame.bytes)));
            return;
        case FrameAssembler::Kind::Acknowledgement:
            handleAcknowledgement(frame.bytes);
            return;
        case FrameAssembler::Kind::Data:
            handleData(frame.bytes);
            return;
        case FrameAssembler::Kind::Command:
            handleCommand(frame.bytes);
            return;
        }
    }

    void handleAcknowledgement(const QByteArray& bytes)
    {
        const bool ack = bytes.back() == ctl::ACK;
        log(QStringLiteral("recv %1 [%2]").arg(ack ? "ACK" : (bytes.back() == ctl::NAK ? "NAK" : "?"), hexText(bytes)));
        if (bytes.back() == ctl::NAK && lastBlock_ != Block::None)
            sendLastBlockAgain();
        else
            lastBlock_ = Block::None;
    }

    void handleData(const QByteArray& bytes)
    {
        const QByteArray data = bytes.mid(9, bytes.size() - 10);
        const bool sumOk = dataFrameChecksumOk(bytes);
        log(QStringLiteral("recv data \"%1\" checksum %2 [%3]")
                .arg(QString::fromLatin1(data), sumOk ? "ok" : "WRONG", hexText(bytes)));
        const Expect expect = expect_;
        expect_ = Expect::Nothing;
        if (!sumOk || expect == Expect::Nothing) {
            reply(false);
            return;
        }
        if (expect == Expect::Schedule) {
            if (data.size() != 34) {
                reply(false);
                return;
            }
            o_.settings.replace(8, 24, data.mid(8, 24));
            log(QStringLiteral("schedule now %1").arg(QString::fromLatin1(o_.settings.mid(8, 24))));
        } else {
            if (data.size() != 10) {
                reply(false);
                return;
            }
            bool ok = true;
            int v[5];
            for (int i = 0; i < 5; ++i)
                v[i] = data.mid(2 * i, 2).toInt(&ok, 16);
            log(QStringLiteral("clock set to %1-%2-%3 %4:%5")
                    .arg(v[0] + 1900)
                    .arg(v[1], 2, 10, QLatin1Char('0'))
                    .arg(v[2], 2, 10, QLatin1Char('0'))
                    .arg(v[3], 2, 10, QLatin1Char('0'))
                    .arg(v[4], 2, 10, QLatin1Char('0')));
        }
        reply(true);
    }

    void handleCommand(const QByteArray& bytes)
    {
        const QByteArray code = bytes.mid(4, 2);
        const bool sumOk = std::uint8_t(bytes.back()) == frameChecksum(bytes.constData() + 1, 5);
        ++commands_;
        log(QStringLiteral("recv command %1%2 [%3]")
                .arg(QString::fromLatin1(code), sumOk ? "" : " checksum WRONG", hexText(bytes)));
        if (o_.exitAfter >= 0 && commands_ > o_.exitAfter) {
            log(QStringLiteral("exiting"));
            g_stop = 1;
            return;
        }
        if (o_.silentAfter >= 0 && commands_ > o_.silentAfter) {
            log(QStringLiteral("silent"));
            return;
        }
        expect_ = Expect::Nothing;
        if (!sumOk) {
            reply(false);
            return;
        }
        if (o_.nakCount > 0 && (o_.nakCode.isEmpty() || o_.nakCode == code)) {
            --o_.nakCount;
            reply(false);
            return;
        }
        if (code == "05") {
            reply(true);
        } else if (code == "10") {
            reply(true);
            lastBlock_ = Block::Readings;
            sendBlock(readingsBlock(), "readings");
        } else if (code == "11") {
            reply(true);
            lastBlock_ = Block::Settings;
            sendBlock(settingsBlock(), "settings");
        } else if (code == "12") {
            reply(true);
            o_.records.clear();
            log(QStringLiteral("data cleared"));
        } else if (code == "30") {
            reply(true);
            expect_ = Expect::Schedule;
        } else if (code == "31") {
            reply(true);
            expect_ = Expect::Clock;
        } else if (code == "40") {
            reply(true);
            log(QStringLiteral("measurement started"));
        } else {
            reply(false);
        }
    }

    enum class Expect { Nothing, Schedule, Clock };

    int fd_;
    Options o_;
    timespec start_{};
    int commands_ = 0;
    int frames_ = 0;
    bool vanishing_ = false;
    int bytesReceived_ = 0;
    Expect expect_ = Expect::Nothing;
    // The block sent last: answered with NAK, it goes out again (a settings
    // block made anew, so that the fault options count down).
    enum class Block { None, Readings, Settings };
    Block lastBlock_ = Block::None;

    void sendLastBlockAgain()
    {
        if (lastBlock_ == Block::Readings)
            sendBlock(readingsBlock(), "readings");
        else
            sendBlock(settingsBlock(), "settings");
    }
};

// The pseudo-terminal the recorder hangs on, and the --link path to it.
struct Terminal {
    int master = -1;
    int keep = -1;
    QByteArray device;

    bool open(const QString& linkPath)
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
            std::perror("ks318-sim: pseudo-terminal");
            return false;
        }
        const char* slaveName = ::ptsname(master);
        if (!slaveName) {
            std::perror("ks318-sim: ptsname");
            return false;
        }
        device = slaveName;
        // Keep one descriptor of our own on the other end: the terminal then
        // survives the program closing and reopening it, and it is raw (no
        // echo) from the start.
        keep = ::open(device.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (keep >= 0) {
            termios tio{};
            if (::tcgetattr(keep, &tio) == 0) {
                ::cfmakeraw(&tio);
                ::tcsetattr(keep, TCSANOW, &tio);
            }
        }
        if (!linkPath.isEmpty()) {
            const QByteArray link = linkPath.toLocal8Bit();
            ::unlink(link.constData());
            if (::symlink(device.constData(), link.constData()) != 0) {
                std::perror("ks318-sim: --link");
                return false;
            }
        }
        std::printf("%s\n", device.constData());
        std::fflush(stdout);
        return true;
    }

    // Waits (at most `limitMs`) until the program has read what was sent to
    // it: a terminal that hangs up drops the bytes still queued on its side.
    void waitUntilTaken(long limitMs) const
    {
        for (long waited = 0; keep >= 0 && waited < limitMs && !g_stop; waited += 20) {
            int queued = 0;
            if (::ioctl(keep, FIONREAD, &queued) != 0 || queued <= 0)
                return;
            sleepMs(20);
        }
    }

    void close(const QString& linkPath)
    {
        if (!linkPath.isEmpty())
            ::unlink(linkPath.toLocal8Bit().constData());
        if (keep >= 0)
            ::close(keep);
        if (master >= 0)
            ::close(master);
        keep = master = -1;
    }
};

} // namespace

int main(int argc, char** argv)
{
    Options o;
    int generate = 5;
    QString recordsFile;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        auto value = [&](const char*& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        bool ok = true;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--link") {
            ok = value(v);
            if (ok)
                o.link = QString::fromLocal8Bit(v);
        } else if (a == "--records") {
            ok = value(v);
            if (ok)
                recordsFile = QString::fromLocal8Bit(v);
        } else if (a == "--generate") {
            ok = value(v) && parseCount(v, generate);
        } else if (a == "--settings") {
            ok = value(v) && std::strlen(v) == 34;
            if (ok)
                o.settings = v;
        } else if (a == "--nak") {
            ok = value(v);
            if (ok) {
                const QByteArray text(v);
                const int colon = int(text.indexOf(':'));
                ok = parseCount(text.left(colon < 0 ? text.size() : colon).constData(), o.nakCount);
                if (colon >= 0)
                    o.nakCode = text.mid(colon + 1);
                ok = ok && (o.nakCode.isEmpty() || o.nakCode.size() == 2);
            }
        } else if (a == "--silent-after") {
            ok = value(v) && parseCount(v, o.silentAfter);
        } else if (a == "--exit-after") {
            ok = value(v) && parseCount(v, o.exitAfter);
        } else if (a == "--xoff") {
            ok = value(v);
            if (ok) {
                const QByteArray text(v);
                const int at = int(text.indexOf('@'));
                o.xoffSeconds = text.left(at < 0 ? text.size() : at).toDouble(&ok);
                if (ok && at >= 0)
                    ok = parseCount(text.mid(at + 1).constData(), o.xoffAtByte);
                ok = ok && o.xoffSeconds > 0;
            }
        } else if (a == "--stray") {
            ok = value(v) && parseCount(v, o.stray);
        } else if (a == "--split") {
            o.split = true;
        } else if (a == "--bad-settings-length") {
            ok = value(v) && parseCount(v, o.badSettingsLength);
        } else if (a == "--bad-checksum") {
            ok = value(v) && parseCount(v, o.badChecksum);
        } else if (a == "--turnaround") {
            ok = value(v) && parseCount(v, o.turnaroundMs);
        } else if (a == "--vanish-after") {
            ok = value(v) && parseCount(v, o.vanishAfter) && o.vanishAfter > 0;
        } else if (a == "--back-after") {
            ok = value(v) && parseCount(v, o.backAfterMs);
        } else if (a == "--quiet") {
            o.quiet = true;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "ks318-sim: bad argument %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (!recordsFile.isEmpty()) {
        if (!sim::loadRecords(recordsFile, o.records)) {
            std::fprintf(stderr, "ks318-sim: cannot read %s\n", recordsFile.toLocal8Bit().constData());
            return 1;
        }
    } else {
        o.records = generatedRecords(generate);
    }
    if (o.records.size() > sim::kMaxRecords * sim::kRecordLength) {
        std::fprintf(stderr, "ks318-sim: more than %d records; the rest is not offered\n", sim::kMaxRecords);
        o.records.truncate(sim::kMaxRecords * sim::kRecordLength);
    }

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    Terminal terminal;
    if (!terminal.open(o.link))
        return 1;
    Recorder recorder(terminal.master, o);
    while (!recorder.run()) {
        // Unplugged once the last reply was taken: the terminal closes, which
        // hangs up the program's end.
        terminal.waitUntilTaken(10000);
        terminal.close(o.link);
        if (o.backAfterMs < 0)
            return 0;
        long left = o.backAfterMs;
        for (; left > 0 && !g_stop; left -= 50)
            sleepMs(std::min(left, 50L));
        if (g_stop)
            return 0;
        if (!terminal.open(o.link))
            return 1;
        recorder.reconnect(terminal.master, terminal.device);
    }
    terminal.close(o.link);
    return 0;
}
