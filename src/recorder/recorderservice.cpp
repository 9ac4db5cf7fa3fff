#include "recorderservice.h"

#include "linkframes.h"
#include "records/messages.h"
#include "serial.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace ks318 {

namespace {

constexpr int kReplyPolls = 16;           // of 100 ms
constexpr int kBytePolls = 61;            // of 30 ms
constexpr int kXoffPolls = 1800;          // of 100 ms
constexpr int kQuietPolls = 3;            // byte polls without a byte: the line is quiet

} // namespace

RecorderService::RecorderService(SerialPortIo& port, Clock& clock, EscapeProbe& escape, Beep beep)
    : port_(port), clock_(clock), escape_(escape), beep_(std::move(beep))
{
}

void RecorderService::Delay(std::int64_t ms)
{
    if (ms <= 0)
        return;
    const std::int64_t end = clock_.nowMs() + ms;
    for (std::int64_t now = clock_.nowMs(); now < end; now = clock_.nowMs())
        clock_.sleepMs(end - now);
}

bool RecorderService::EscapePressed()
{
    return escape_.escapePressed();
}

void RecorderService::setTransmit(const char* bytes, int count)
{
    count = std::min(count, kTransmitSize - 1);
    std::memcpy(transmitBuffer, bytes, std::size_t(count));
    transmitBuffer[count] = '\0';
}

int RecorderService::readBytes(char* into, int count)
{
    int done = 0;
    while (done < count) {
        const int n = port_.read(into + done, count - done);
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

LinkResult RecorderService::SendText()
{
    LinkResult result = LinkOk;
    // The frame is text: a byte 0x00 (a checksum that came to zero) ends it.
    for (int i = 0; i < kTransmitSize && transmitBuffer[i] != '\0'; ++i) {
        port_.writeByte(transmitBuffer[i]);
        result = CheckFlowControl();
        if (result == LinkFailed)
            break;
    }
    return result;
}

LinkResult RecorderService::CheckFlowControl()
{
    queuedCount = port_.bytesAvailable();
    if (queuedCount <= 0)
        return LinkOk;
    char byte = 0;
    readBytes(&byte, 1);
    if (byte != ctl::XOFF)
        return LinkOk;
    for (int polls = 0;; ++polls) {
        Delay(100);
        if (EscapePressed())
            return LinkCancelled;
        if (polls >= kXoffPolls)
            return LinkFailed;
        queuedCount = port_.bytesAvailable();
        if (queuedCount > 0 && readBytes(&byte, 1) == 1 && byte == ctl::XON)
            return LinkOk;
    }
}

LinkResult RecorderService::SendCommand(const char code[2])
{
    commandCode[0] = code[0];
    commandCode[1] = code[1];
    commandCode[2] = '\0';
    const QByteArray presence = commandFrame("05");
    setTransmit(presence.constData(), int(presence.size()));
    SendText();
    WaitReply();
    const QByteArray frame = commandFrame(code);
    setTransmit(frame.constData(), int(frame.size()));
    return SendText();
}

LinkResult RecorderService::WaitReply()
{
    std::memset(receiveBuffer, 0, 6);
    replyStatus = 0;
    for (int poll = 0; poll < kReplyPolls; ++poll) {
        Delay(100);
        queuedCount = port_.bytesAvailable();
        if (queuedCount > 0) {
            ReadReply();
            if (receiveBuffer[5] == ctl::ACK) {
                replyStatus = 0;
                return LinkOk;
            }
            if (receiveBuffer[5] == ctl::NAK) {
                replyStatus = 1;
                return LinkOk;
            }
        }
    }
    return LinkFailed;
}

void RecorderService::ReadReply()
{
    if (receiveBuffer[0] != ctl::SOH) {
        readBytes(receiveBuffer, 1);
        queuedCount = port_.bytesAvailable();
    }
    if (receiveBuffer[0] == ctl::SOH && queuedCount >= 5)
        readBytes(receiveBuffer + 1, 5);
}

LinkResult RecorderService::WaitForBytes(int n)
{
    for (int poll = 0; poll < kBytePolls; ++poll) {
        Delay(30);
        queuedCount = port_.bytesAvailable();
        if (queuedCount >= n)
            return LinkOk;
    }
    return LinkFailed;
}

void RecorderService::SendAck()
{
    const QByteArray frame = ackFrame(true);
    setTransmit(frame.constData(), int(frame.size()));
    SendText();
}

void RecorderService::SendNak()
{
    const QByteArray frame = ackFrame(false);
    setTransmit(frame.constData(), int(frame.size()));
    SendText();
}

LinkResult RecorderService::RejectBlock()
{
    ++errorCount;
    if (errorCount >= 3)
        return LinkFailed;
    SendNak();
    return LinkOk;
}

int RecorderService::discardInput()
{
    int dropped = 0;
    char scrap[256];
    for (int n = port_.bytesAvailable(); n > 0; n = port_.bytesAvailable()) {
        const int got = readBytes(scrap, std::min(n, int(sizeof scrap)));
        if (got <= 0)
            break;
        dropped += got;
    }
    queuedCount = 0;
    return dropped;
}

void RecorderService::drainInput(int expected)
{
    for (int quiet = 0; expected > 0 && quiet < kQuietPolls;) {
        Delay(30);
        const int dropped = discardInput();
        expected -= dropped;
        quiet = dropped > 0 ? 0 : quiet + 1;
    }
}

LinkResult RecorderService::commandUntilAcknowledged(const char code[2])
{
    const bool dataRequest = code[0] == '1' && code[1] == '0';
    for (;;) {
        Delay(100);
        SendCommand(code);
        const LinkResult reply = WaitReply();
        if (reply == LinkFailed)
            return LinkFailed;
        if (dataRequest)
            Delay(100);
        if (replyStatus == 0)
            return LinkOk;
    }
}

LinkResult RecorderService::RetrieveDataBlock()
{
    announcedLength = -1;
    if (commandUntilAcknowledged("10") == LinkFailed)
        return LinkFailed;

    int length = 0;
    for (;;) {
        recordCount = 0;
        if (WaitForBytes(9) == LinkFailed)
            return LinkFailed;
        readBytes(receiveBuffer, 9);
        if (receiveBuffer[0] != ctl::STX || receiveBuffer[1] != 'D') {
            // The rest of the bad block goes, so that the block sent again
            // after the NAK is read from its start.
            discardInput();
            if (RejectBlock() == LinkFailed) {
                drainInput(kMaxBlockLength + 1);
                return LinkFailed;
            }
            continue;
        }
        break;
    }

    // Length digits, least significant first, with a pause before each.
    int weight = 1;
    for (int i = 7; i >= 4; --i) {
        Delay(500);
        length += lengthDigit(static_cast<unsigned char>(receiveBuffer[i])) * weight;
        weight *= 16;
    }
    announcedLength = length;

    // A length outside what the buffers hold is refused like a short block:
    // nothing taken, the recorder still acknowledged.
    LinkResult result = LinkFailed;
    int taken = 0;
    if (length >= kRecordLength && length <= kMaxBlockLength) {
        recordCount = length / kRecordLength;
        Delay(std::int64_t(recordCount) * 150);
        result = WaitForBytes(length);
        if (result == LinkOk)
            readBytes(receiveBuffer, length);
        taken = length;
    } else if (length > 0 && length < kRecordLength) {
        taken = length;
    }
    std::memcpy(dataBuffer, receiveBuffer, std::size_t(taken));
    dataLength = taken;

    Delay(350);
    // Whatever came beyond the data part (a checksum byte, the rest of a
    // block refused for its length) must not reach the flow checks of the
    // acknowledgement, where a 0x13 would hold the line for three minutes,
    // nor the next reply wait.
    const int read = result == LinkOk ? length : 0;
    const int unread = std::max(length - read, 0) + 1 - discardInput();
    SendAck();
    drainInput(unread);
    return result;
}

LinkResult RecorderService::ReadSettingsBlock()
{
    errorCount = 0;
    settingsReceived = false;
    if (commandUntilAcknowledged("11") == LinkFailed)
        return LinkFailed;

    for (;;) {
        if (WaitForBytes(9) == LinkFailed)
            return LinkFailed;
        char header[9];
        readBytes(header, 9);
        const int length = lengthDigit(static_cast<unsigned char>(header[5])) * 256
            + lengthDigit(static_cast<unsigned char>(header[6])) * 16
            + lengthDigit(static_cast<unsigned char>(header[7]));
        if (header[0] != ctl::STX || header[1] != 'D' || length != kSettingsLength) {
            if (RejectBlock() == LinkFailed)
                return LinkFailed;
            continue;
        }
        unsigned sum = frameChecksum(header + 1, 8);
        if (WaitForBytes(kSettingsLength) == LinkFailed)
            return LinkFailed;
        readBytes(settingsText, kSettingsLength);
        settingsText[kSettingsLength] = '\0';
        sum += frameChecksum(settingsText, kSettingsLength);
        if (WaitForBytes(1) == LinkFailed)
            return LinkFailed;
        char checksum = 0;
        readBytes(&checksum, 1);
        if (static_cast<unsigned char>(checksum) == (sum & 0xFF)) {
            settingsReceived = true;
            SendAck();
            return LinkOk;
        }
        if (RejectBlock() == LinkFailed)
            return LinkFailed;
    }
}

LinkResult RecorderService::WriteSchedule()
{
    if (commandUntilAcknowledged("30") == LinkFailed)
        return LinkFailed;

    // The last two characters of the settings block go back unchanged. With
    // no block read (or a NUL there, which would end the frame early) "0"
    // stands in.
    char tail[2];
    for (int i = 0; i < 2; ++i)
        tail[i] = settingsReceived && settingsText[32 + i] != '\0' ? settingsText[32 + i] : '0';
    const QByteArray data = scheduleDataPart(slotHour.data(), slotMinute.data(), tail);
    const QByteArray frame = dataFrame(data);
    setTransmit(frame.constData(), int(frame.size()));

    Delay(350);
    SendText();
    if (WaitReply() == LinkOk && replyStatus == 0) {
        if (beep_)
            beep_();
        return LinkOk;
    }
    return LinkFailed;
}

LinkResult RecorderService::SetRecorderClock()
{
    if (commandUntilAcknowledged("31") == LinkFailed)
        return LinkFailed;

    const QByteArray frame = dataFrame(clockDataPart(clockValues.data()));
    setTransmit(frame.constData(), int(frame.size()));

    for (;;) {
        Delay(100);
        SendText();
        if (WaitReply() == LinkFailed)
            return LinkFailed;
        if (replyStatus == 0)
            return LinkOk;
    }
}

LinkResult RecorderService::ClearRecorderData(bool pauseFirst)
{
    for (;;) {
        if (pauseFirst)
            Delay(100);
        SendCommand("12");
        if (WaitReply() == LinkFailed)
            return LinkFailed;
        if (replyStatus == 0) {
            if (beep_)
                beep_();
            recordCount = 0;
            return LinkOk;
        }
    }
}

void RecorderService::StartMeasurement()
{
    for (;;) {
        Delay(100);
        SendCommand("40");
        if (WaitReply() == LinkFailed)
            return;
    }
}

LinkResult RecorderService::CheckPresence()
{
    SendCommand("05");
    if (WaitReply() == LinkOk)
        return LinkOk;
    Delay(350);
    SendCommand("05");
    return WaitReply();
}

std::unique_ptr<RecorderService> OpenSession(const QString& portName, Clock& clock, EscapeProbe& escape,
                                             RecorderService::Beep beep, MessageSink* messages)
{
    if (!OpenPort(portName, messages))
        return nullptr;
    return OpenSession(*currentPort(), clock, escape, std::move(beep), messages);
}

std::unique_ptr<RecorderService> OpenSession(SerialPortIo& port, Clock& clock, EscapeProbe& escape,
                                             RecorderService::Beep beep, MessageSink* messages)
{
    auto session = std::make_unique<RecorderService>(port, clock, escape, std::move(beep));
    if (session->CheckPresence() == LinkFailed) {
        showMessage(messages, 224, kErrorCaptionId, MessageIcon::Exclamation);
        return nullptr;
    }
    return session;
}

} // namespace ks318
