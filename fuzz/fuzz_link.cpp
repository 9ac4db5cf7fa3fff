// The recorder link on whatever comes down the line: the frame splitter the
// simulator uses, and every recorder command against a port that hands out
// the fuzzer's bytes as the program writes its frames. Time is simulated, so
// the waits pass at once. What a command took must be usable: a retrieved
// block writes a data file that the reader takes, a settings block gives
// six slots.
#include "fuzzsupport.h"

#include "recorder/linkframes.h"
#include "recorder/recorderflows.h"
#include "recorder/recorderservice.h"
#include "recorder/retrieval.h"
#include "recorder/schedule.h"
#include "records/bpdatafile.h"
#include "session/session.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <deque>

using namespace ks318;

namespace {

class SimClock final : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t nowMs() override { return now; }
    void sleepMs(std::int64_t ms) override { now += ms > 0 ? ms : 0; }
};

// Chunks of the recorder's bytes, each released once the program has written
// a given number of bytes.
class FuzzPort final : public SerialPortIo {
public:
    std::deque<std::pair<int, QByteArray>> pending;

    void purge() override { queue_.clear(); }
    int bytesAvailable() override
    {
        release();
        return int(queue_.size());
    }
    int read(char* into, int count) override
    {
        release();
        const int n = std::min(count, int(queue_.size()));
        std::copy(queue_.constData(), queue_.constData() + n, into);
        queue_.remove(0, n);
        return n;
    }
    bool writeByte(char) override
    {
        ++written_;
        return true;
    }

private:
    void release()
    {
        while (!pending.empty() && pending.front().first <= written_) {
            queue_.append(pending.front().second);
            pending.pop_front();
        }
    }
    QByteArray queue_;
    int written_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int command = in.ConsumeIntegralInRange(0, 6);

    FuzzPort port;
    int after = 0;
    while (in.remaining_bytes() > 0) {
        after += in.ConsumeIntegralInRange(0, 40);
        const std::string chunk = in.ConsumeRandomLengthString(256);
        port.pending.push_back({after, QByteArray(chunk.data(), qsizetype(chunk.size()))});
    }

    // The frame splitter over everything the recorder would send.
    for (const bool zeroEnds : {false, true}) {
        FrameAssembler assembler(zeroEnds);
        FrameAssembler::Frame frame;
        for (const auto& chunk : port.pending)
            for (const char byte : chunk.second)
                if (assembler.feed(byte, frame) && frame.kind == FrameAssembler::Kind::Data) {
                    dataFrameLength(frame.bytes);
                    dataFrameChecksumOk(frame.bytes);
                }
    }

    SimClock clock;
    NoEscape escape;
    RecorderService link(port, clock, escape);
    switch (command) {
    case 0:
        link.CheckPresence();
        break;
    case 1: {
        const LinkResult result = link.RetrieveDataBlock();
        fuzz::require(link.dataLength >= 0 && link.dataLength <= RecorderService::kReceiveSize,
                      "the block fits its buffer");
        if (blockHasData(result, link)) {
            static Session session;
            if (!session.data())
                session.allocateData();
            session.state = SessionState();
            const QByteArray text = formatRetrievedFile(link.dataBuffer, link.recordCount);
            fuzz::require(parseBpDataText(session, text, BpMode::OscillometricOnly), "a retrieved file reads");
            fuzz::require(int(session.data()->readingCount()) == std::min(link.recordCount, kMaxReadings),
                          "a retrieved file holds every record");
        }
        break;
    }
    case 2:
        if (const auto schedule = readSchedule(link))
            (void)schedule;
        break;
    case 3:
        link.WriteSchedule();
        break;
    case 4:
        link.SetRecorderClock();
        break;
    case 5:
        clearDataFlow(link, nullptr);
        break;
    default:
        link.StartMeasurement();
        break;
    }
    return 0;
}
