#pragma once
// The link to the KS-318P recorder: command frames answered by reply frames,
// data frames answered by acknowledgement frames, the recorder's XON/XOFF,
// time-outs, and ESC to give up a line held by XOFF.
//
// One RecorderService per recorder command. The program always speaks first;
// every wait is a fixed number of polls of a fixed length.
#include "linkio.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace ks318 {

struct MessageSink;

enum LinkResult : int { LinkOk = 0, LinkFailed = 1, LinkCancelled = 3 };

class RecorderService {
public:
    static constexpr int kReceiveSize = 8192;      // receive buffer and dataBuffer
    static constexpr int kTransmitSize = 1024;
    static constexpr int kSettingsLength = 34;
    static constexpr int kRecordLength = 22;
    static constexpr int kMaxBlockLength = kReceiveSize;   // longest "10" data part taken

    // The exclamation beep: after an acknowledged clear and schedule.
    using Beep = std::function<void()>;

    RecorderService(SerialPortIo& port, Clock& clock, EscapeProbe& escape, Beep beep = {});
    RecorderService(const RecorderService&) = delete;
    RecorderService& operator=(const RecorderService&) = delete;

    // --- session fields ---
    char settingsText[kSettingsLength + 1] = {};   // last block received with "11"
    bool settingsReceived = false;                  // settingsText holds a block
    int dateOrder = 0;
    char commandCode[3] = {};
    int errorCount = 0;
    int replyStatus = 0;                            // 0 ACK, 1 NAK
    int recordCount = 0;
    // Length the last "10" block header announced; -1 when no header was
    // taken (no reply, no block, or every header refused).
    int announcedLength = -1;
    std::array<int, 5> clockValues{};               // year - 1900 (+100 below 96), month, day, hour, minute
    std::array<int, 6> slotHour{};                  // -1 in hour or minute: slot off
    std::array<int, 6> slotMinute{};
    char dataBuffer[kReceiveSize] = {};             // data part of the "10" block
    int dataLength = 0;                             // characters of it in dataBuffer

    // --- link buffers ---
    char receiveBuffer[kReceiveSize] = {};          // its first six bytes hold a reply
    char transmitBuffer[kTransmitSize] = {};        // NUL-terminated text sent next
    int queuedCount = 0;

    // --- common operations ---
    void Delay(std::int64_t ms);
    bool EscapePressed();

    // --- link operations ---
    // "05" frame, its reply wait, then the frame of `code`; the caller waits
    // for the reply of that one.
    LinkResult SendCommand(const char code[2]);
    LinkResult SendText();
    LinkResult CheckFlowControl();
    LinkResult WaitReply();
    void ReadReply();
    LinkResult WaitForBytes(int n);
    void SendAck();
    void SendNak();
    LinkResult RejectBlock();

    // --- commands ---
    LinkResult RetrieveDataBlock();
    LinkResult ReadSettingsBlock();
    LinkResult WriteSchedule();
    LinkResult SetRecorderClock();
    LinkResult ClearRecorderData(bool pauseFirst);
    void StartMeasurement();

    // Sounds the exclamation beep.
    void beep() const
    {
        if (beep_)
            beep_();
    }

    // The presence check that opens every session: "05", and once more after
    // 350 ms when the recorder did not answer.
    LinkResult CheckPresence();

private:
    // Sends `code` until it is acknowledged; LinkFailed when a reply is
    // missing. Waits 100 ms before each attempt.
    LinkResult commandUntilAcknowledged(const char code[2]);
    // Reads away every byte waiting; returns how many there were.
    int discardInput();
    // Reads away bytes still arriving: until `expected` bytes have come or
    // the line stayed quiet for three byte polls.
    void drainInput(int expected);
    void setTransmit(const char* bytes, int count);
    int readBytes(char* into, int count);

    SerialPortIo& port_;
    Clock& clock_;
    EscapeProbe& escape_;
    Beep beep_;
};

// Opens a recorder session as every recorder command does: the port is
// opened when none is (message 198 on failure), then the recorder must answer
// "05" (message 224 when it does not). Returns null when either fails.
std::unique_ptr<RecorderService> OpenSession(const QString& portName, Clock& clock, EscapeProbe& escape,
                                             RecorderService::Beep beep, MessageSink* messages);
// The same on a port already open.
std::unique_ptr<RecorderService> OpenSession(SerialPortIo& port, Clock& clock, EscapeProbe& escape,
                                             RecorderService::Beep beep, MessageSink* messages);

} // namespace ks318
