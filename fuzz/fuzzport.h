#pragma once
// The recorder line of the link targets: a clock that only counts (the waits
// pass at once) and a port that hands out chunks of the recorder's bytes,
// each once the program has written a given number of bytes, and keeps what
// the program wrote.
#include "recorder/linkio.h"

#include <QByteArray>
#include <algorithm>
#include <deque>
#include <utility>

namespace ks318::fuzz {

class SimClock final : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t nowMs() override { return now; }
    void sleepMs(std::int64_t ms) override { now += ms > 0 ? ms : 0; }
};

class FuzzPort final : public SerialPortIo {
public:
    std::deque<std::pair<int, QByteArray>> pending;
    QByteArray written;   // every byte the program sent
    // A recorder that answers after a turnaround: bytes due after a write
    // are not there yet when the program looks right after writing it (its
    // flow-control check), only at its next look.
    bool turnaround = false;

    void purge() override { queue_.clear(); }
    int bytesAvailable() override
    {
        if (!std::exchange(justWrote_, false) || !turnaround)
            release();
        return int(queue_.size());
    }
    int read(char* into, int count) override
    {
        if (!turnaround)
            release();
        const int n = std::min(count, int(queue_.size()));
        std::copy(queue_.constData(), queue_.constData() + n, into);
        queue_.remove(0, n);
        return n;
    }
    bool writeByte(char byte) override
    {
        written.append(byte);
        justWrote_ = true;
        return true;
    }

private:
    void release()
    {
        while (!pending.empty() && pending.front().first <= written.size()) {
            queue_.append(pending.front().second);
            pending.pop_front();
        }
    }
    QByteArray queue_;
    bool justWrote_ = false;
};

} // namespace ks318::fuzz
