// The recorder link on whatever comes down the line: the frame splitter the
// simulator uses, and every recorder command against a port that hands out
// the fuzzer's bytes as the program writes its frames. Time is simulated, so
// the waits pass at once. What a command took must be usable: a retrieved
// block writes a data file that the reader takes, a settings block gives
// six slots.
#include "fuzzsupport.h"
#include "linksupport.h"

#include "recorder/recorderflows.h"
#include "recorder/retrieval.h"
#include "recorder/schedule.h"
#include "records/bpdatafile.h"
#include "session/session.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int command = in.ConsumeIntegralInRange(0, 6);

    // Each chunk reaches the line once the program has written so many bytes.
    test::Rig rig;
    QByteArray line;   // everything the recorder sends
    int after = 0;
    while (in.remaining_bytes() > 0) {
        after += in.ConsumeIntegralInRange(0, 40);
        const std::string chunk = in.ConsumeRandomLengthString(256);
        rig.port.deliverAfterWrites(after, QByteArray(chunk.data(), qsizetype(chunk.size())));
        line += QByteArray(chunk.data(), qsizetype(chunk.size()));
    }

    // The frame splitter over everything the recorder would send: every byte
    // comes out in exactly one frame, or waits in the frame not yet complete.
    for (const bool zeroEnds : {false, true}) {
        FrameAssembler assembler(zeroEnds);
        FrameAssembler::Frame frame;
        qsizetype framed = 0;
        for (const char byte : line) {
            if (!assembler.feed(byte, frame))
                continue;
            framed += frame.bytes.size();
            if (frame.kind == FrameAssembler::Kind::Data) {
                const int length = dataFrameLength(frame.bytes);
                fuzz::require(length >= 0 && frame.bytes.size() >= 9 + length && frame.bytes.size() <= 10 + length,
                              "a data frame is as long as its header says");
                dataFrameChecksumOk(frame.bytes);
            }
        }
        fuzz::require(framed + assembler.partial().size() == line.size(), "the splitter drops and repeats no byte");
    }

    // XOFF held too long makes the program give up in the middle of a frame
    // (and what follows a cut frame no longer splits at frame starts).
    const bool heldLine = line.contains(ctl::XOFF);

    RecorderService& link = *rig.link;
    switch (command) {
    case 0:
        link.CheckPresence();
        break;
    case 1: {
        const LinkResult result = link.RetrieveDataBlock();
        fuzz::require(link.dataLength >= 0 && link.dataLength <= RecorderService::kReceiveSize,
                      "the block fits its buffer");
        fuzz::require(link.recordCount >= 0 && link.recordCount * RecorderService::kRecordLength <= link.dataLength,
                      "the records counted lie in the block taken");
        if (result == LinkOk)
            fuzz::require(link.dataLength == link.announcedLength
                              && link.recordCount == link.dataLength / RecorderService::kRecordLength,
                          "a block taken whole is as long as its header announced");
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
        readSchedule(link);
        fuzz::require(link.settingsText[RecorderService::kSettingsLength] == '\0', "the settings text ends in its buffer");
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
    // What the program put on the line, whatever it was answered (the port
    // splits it as the recorder would): whole frames only, each with its
    // checksum (a data frame whose checksum comes to 0 goes without it), the
    // data parts of the schedule and the clock at their sizes.
    if (heldLine)
        return 0;
    for (const FrameAssembler::Frame& frame : rig.port.frames) {
        const QByteArray& f = frame.bytes;
        fuzz::require(frame.kind != FrameAssembler::Kind::Stray, "the program sends whole frames");
        if (frame.kind == FrameAssembler::Kind::Command)
            fuzz::require(frameChecksum(f.constData() + 1, 5) == std::uint8_t(f.back()), "a command frame's checksum");
        if (frame.kind == FrameAssembler::Kind::Data) {
            const int length = dataFrameLength(f);
            fuzz::require(length == 34 || length == 10, "a schedule or clock data part");
            fuzz::require(f.size() == 9 + length || dataFrameChecksumOk(f), "a data frame's checksum");
        }
    }
    fuzz::require(rig.port.unfinished().isEmpty(), "the program's last frame is whole");
    return 0;
}
