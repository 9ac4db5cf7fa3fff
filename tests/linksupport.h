#pragma once
// A scripted recorder line for the link tests. Time is simulated: sleeping
// advances the clock, nothing really waits. The port answers each frame the
// program completes with the next scripted reply, and can also deliver bytes
// at a given time or after a given number of written bytes.
#include "recordingsink.h"
#include "recorder/linkframes.h"
#include "recorder/linkio.h"
#include "recorder/recorderservice.h"

#include <QByteArray>
#include <QMetaType>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace ks318::test {

class SimClock final : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t nowMs() override { return now; }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            now += ms;
    }
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

// What the scripted recorder sends after one frame of the program: chunks of
// bytes, each arriving a delay after the frame.
struct Reply {
    std::vector<std::pair<std::int64_t, QByteArray>> chunks;

    static Reply silence() { return {}; }
    static Reply bytes(const QByteArray& b, std::int64_t delay = 20)
    {
        Reply r;
        r.chunks.push_back({delay, b});
        return r;
    }
    static QByteArray frame(char status)
    {
        QByteArray f;
        f.append(ctl::SOH);
        f.append("KS70");
        f.append(status);
        return f;
    }
    static Reply ack(std::int64_t delay = 20) { return bytes(frame(ctl::ACK), delay); }
    static Reply nak(std::int64_t delay = 20) { return bytes(frame(ctl::NAK), delay); }
    Reply then(const QByteArray& b, std::int64_t delay) const
    {
        Reply r = *this;
        r.chunks.push_back({delay, b});
        return r;
    }
};

} // namespace ks318::test

Q_DECLARE_METATYPE(ks318::test::Reply)

namespace ks318::test {

struct WrittenFrame {
    FrameAssembler::Kind kind;
    QByteArray bytes;
    std::int64_t at;   // time the last byte was written
};

class ScriptedPort final : public SerialPortIo {
public:
    explicit ScriptedPort(SimClock& clock) : clock_(clock), assembler_(true) {}

    std::deque<Reply> replies;                 // one per frame the program completes
    QByteArray written;
    std::vector<std::int64_t> writeTimes;      // time of each written byte
    std::vector<WrittenFrame> frames;
    int purges = 0;
    int maxReadAsked = 0;                       // largest read the link asked for

    // Bytes that arrive at a fixed time.
    void deliverAt(std::int64_t at, const QByteArray& bytes) { incoming_.push_back({at, bytes}); }
    // Bytes that arrive as soon as the program has written `count` bytes.
    void deliverAfterWrites(int count, const QByteArray& bytes) { afterWrites_.push_back({count, bytes}); }

    void purge() override
    {
        ++purges;
        queue_.clear();
    }

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
        written.append(byte);
        writeTimes.push_back(clock_.now);
        for (auto it = afterWrites_.begin(); it != afterWrites_.end();) {
            if (int(written.size()) >= it->first) {
                incoming_.push_back({clock_.now, it->second});
                it = afterWrites_.erase(it);
            } else {
                ++it;
            }
        }
        FrameAssembler::Frame frame;
        if (assembler_.feed(byte, frame)) {
            frames.push_back({frame.kind, frame.bytes, clock_.now});
            if (!replies.empty()) {
                const Reply reply = replies.front();
                replies.pop_front();
                for (const auto& chunk : reply.chunks)
                    incoming_.push_back({clock_.now + chunk.first, chunk.second});
            }
        }
        return true;
    }

    // The frames written, as bytes, in order.
    QList<QByteArray> frameBytes() const
    {
        QList<QByteArray> out;
        for (const WrittenFrame& f : frames)
            out.append(f.bytes);
        return out;
    }

    // The two-digit codes of the command frames written, in order.
    QStringList commandCodes() const
    {
        QStringList out;
        for (const WrittenFrame& f : frames) {
            if (f.kind == FrameAssembler::Kind::Command)
                out.append(QString::fromLatin1(f.bytes.mid(4, 2)));
        }
        return out;
    }

private:
    void collect()
    {
        std::stable_sort(incoming_.begin(), incoming_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        while (!incoming_.empty() && incoming_.front().first <= clock_.now) {
            queue_.append(incoming_.front().second);
            incoming_.pop_front();
        }
    }

    SimClock& clock_;
    FrameAssembler assembler_;
    QByteArray queue_;
    std::deque<std::pair<std::int64_t, QByteArray>> incoming_;
    std::vector<std::pair<int, QByteArray>> afterWrites_;
};

inline QByteArray hex(const QByteArray& text) { return QByteArray::fromHex(text); }

// A link on the scripted port, counting its beeps.
struct Rig {
    SimClock clock;
    ScriptedPort port{clock};
    SimEscape escape{clock};
    int beeps = 0;
    std::unique_ptr<RecorderService> link =
        std::make_unique<RecorderService>(port, clock, escape, [this] { ++beeps; });

    // A received block of 22-character records, as RetrieveDataBlock leaves it.
    void setBlock(const QByteArray& block, LinkResult result = LinkOk)
    {
        std::memcpy(link->dataBuffer, block.constData(), std::size_t(block.size()));
        link->dataLength = int(block.size());
        link->recordCount = result == LinkOk ? int(block.size()) / 22 : 0;
    }
};

// The recorder's data header: STX, "D", origin, four length digits, "0".
inline QByteArray dataHeader(const char* length, const char* origin = "KS")
{
    return QByteArray(1, ctl::STX) + 'D' + QByteArray(origin, 2) + QByteArray(length, 4) + '0';
}

// The recorder's settings block frame for a 34-character data part.
inline QByteArray settingsFrame(const QByteArray& data, const char* length = "0022")
{
    QByteArray f = dataHeader(length) + data;
    f.append(char(frameChecksum(f.constData() + 1, int(f.size()) - 1)));
    return f;
}

} // namespace ks318::test
