#pragma once
// A scripted recorder line on a simulated clock: sleeping advances the clock,
// nothing really waits. The port answers each frame the program completes
// with the next scripted reply, can deliver bytes at a given time or after a
// given number of written bytes, and keeps a transcript of what was written.
#include "recordingsink.h"
#include "recorder/linkframes.h"
#include "recorder/linkio.h"
#include "recorder/recorderservice.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace ks318::test {

class SimClock final : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t nowMs() override { return now; }
    void sleepMs(std::int64_t ms) override { now += std::max<std::int64_t>(ms, 0); }
};

// ESC goes down at a given simulated time and stays down.
class SimEscape final : public EscapeProbe {
public:
    explicit SimEscape(SimClock& clock) : clock_(clock) {}
    std::int64_t pressAt = -1;
    bool escapePressed() override { return pressAt >= 0 && clock_.now >= pressAt; }

private:
    SimClock& clock_;
};

// What the recorder sends after one frame of the program: chunks of bytes,
// each arriving a delay after the frame.
struct Reply {
    std::vector<std::pair<std::int64_t, QByteArray>> chunks;

    static QByteArray frame(char status) { return QByteArray(1, ctl::SOH) + "KS70" + status; }
    static Reply silence() { return {}; }
    static Reply ack() { return Reply().then(frame(ctl::ACK), 20); }
    static Reply nak() { return Reply().then(frame(ctl::NAK), 20); }
    Reply then(const QByteArray& b, std::int64_t delay) const
    {
        Reply r = *this;
        r.chunks.push_back({delay, b});
        return r;
    }
};

// Bytes as text: the line's control characters by name, other bytes outside
// printable ASCII as {hh}; with `checksum`, the last byte as {hh} whatever it is.
inline QString shownBytes(const QByteArray& bytes, bool checksum = false)
{
    static const QMap<char, QString> names{{0, "<NUL>"}, {ctl::SOH, "<SOH>"}, {ctl::STX, "<STX>"}, {ctl::ACK, "<ACK>"},
                                           {ctl::XON, "<XON>"}, {ctl::XOFF, "<XOFF>"}, {ctl::NAK, "<NAK>"}};
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (names.contains(c) && !(checksum && i == bytes.size() - 1))
            out += names[c];
        else if (c >= 0x20 && c < 0x7F && !(checksum && i == bytes.size() - 1))
            out += QLatin1Char(c);
        else
            out += QStringLiteral("{%1}").arg(std::uint8_t(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

class ScriptedPort final : public SerialPortIo {
public:
    explicit ScriptedPort(SimClock& clock) : clock_(clock), assembler_(true) {}

    std::deque<Reply> replies;      // one per frame the program completes
    QStringList transcript;         // each frame written: time, bytes (a good checksum as {hh})
    QList<FrameAssembler::Frame> frames;
    int maxReadAsked = 0;           // largest read the link asked for

    void deliverAt(std::int64_t at, const QByteArray& bytes) { incoming_.push_back({at, bytes}); }
    // Bytes that arrive as soon as the program has written `count` bytes
    // (asked for in rising order of `count`).
    void deliverAfterWrites(int count, const QByteArray& bytes) { afterWrites_.push_back({count, bytes}); }
    void note(const QString& text) { transcript << QStringLiteral("%1  %2").arg(clock_.now, 6).arg(text); }
    QByteArray unfinished() const { return assembler_.partial(); }

    // The two-digit codes of the command frames written, in order.
    QStringList commandCodes() const
    {
        QStringList out;
        for (const auto& f : frames)
            if (f.kind == FrameAssembler::Kind::Command)
                out << QString::fromLatin1(f.bytes.mid(4, 2));
        return out;
    }

    void purge() override { queue_.clear(); }
    int bytesAvailable() override
    {
        collect();
        return int(queue_.size());
    }
    int read(char* into, int count) override
    {
        maxReadAsked = std::max(maxReadAsked, count);
        collect();
        const int n = std::min(count, int(queue_.size()));
        std::copy(queue_.constData(), queue_.constData() + n, into);
        queue_.remove(0, n);
        return n;
    }
    bool writeByte(char byte) override
    {
        ++written_;
        for (; !afterWrites_.empty() && afterWrites_.front().first <= written_; afterWrites_.pop_front())
            deliverAt(clock_.now, afterWrites_.front().second);
        FrameAssembler::Frame frame;
        if (!assembler_.feed(byte, frame))
            return true;
        frames << frame;
        // A command or data frame that ends in its checksum (one whose sum came
        // to 0x00 ends without it).
        const QByteArray& b = frame.bytes;
        note(shownBytes(b, frame.kind != FrameAssembler::Kind::Acknowledgement && b.size() > 2
                               && frameChecksum(b.constData() + 1, int(b.size()) - 2) == std::uint8_t(b.back())));
        if (!replies.empty()) {
            for (const auto& [delay, bytes] : replies.front().chunks)
                deliverAt(clock_.now + delay, bytes);
            replies.pop_front();
        }
        return true;
    }

private:
    void collect()
    {
        std::stable_sort(incoming_.begin(), incoming_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (; !incoming_.empty() && incoming_.front().first <= clock_.now; incoming_.pop_front())
            queue_.append(incoming_.front().second);
    }

    SimClock& clock_;
    FrameAssembler assembler_;
    QByteArray queue_;
    int written_ = 0;
    std::deque<std::pair<std::int64_t, QByteArray>> incoming_;
    std::deque<std::pair<int, QByteArray>> afterWrites_;
};

// A link on the scripted port, counting its beeps.
struct Rig {
    SimClock clock;
    ScriptedPort port{clock};
    SimEscape escape{clock};
    MessageLog log;
    int beeps = 0;
    std::unique_ptr<RecorderService> link = std::make_unique<RecorderService>(port, clock, escape, [this] { ++beeps; });

    void script(const QList<Reply>& r) { port.replies.assign(r.begin(), r.end()); }
    // A received block of 22-character records, as RetrieveDataBlock leaves it.
    void setBlock(const QByteArray& block)
    {
        std::memcpy(link->dataBuffer, block.constData(), std::size_t(block.size()));
        link->dataLength = int(block.size());
        link->recordCount = int(block.size()) / 22;
    }
};

// The recorder's data frame header (STX, "D", "KS", four length digits, "0")
// and its settings block frame.
inline QByteArray dataHeader(const char* length)
{
    return QByteArray(1, ctl::STX) + "DKS" + QByteArray(length, 4) + '0';
}
inline QByteArray settingsFrame(const QByteArray& data, const char* length = "0022")
{
    const QByteArray f = dataHeader(length) + data;
    return f + char(frameChecksum(f.constData() + 1, int(f.size()) - 1));
}

} // namespace ks318::test
