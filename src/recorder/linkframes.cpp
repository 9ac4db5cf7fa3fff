#include "linkframes.h"

#include <cstdio>

namespace ks318 {

std::uint8_t frameChecksum(const char* bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += static_cast<unsigned char>(bytes[i]);
    return std::uint8_t(sum & 0xFF);
}

QByteArray commandFrame(const char code[2])
{
    QByteArray frame;
    frame.append(ctl::STX);
    frame.append("CPC");
    frame.append(code[0]);
    frame.append(code[1]);
    frame.append(char(frameChecksum(frame.constData() + 1, 5)));
    return frame;
}

QByteArray ackFrame(bool accepted)
{
    QByteArray frame;
    frame.append(ctl::SOH);
    frame.append("PC70");
    frame.append(accepted ? ctl::ACK : ctl::NAK);
    return frame;
}

QByteArray dataFrame(const QByteArray& data, const char origin[2])
{
    char length[8];
    std::snprintf(length, sizeof length, "%04X", unsigned(data.size()) & 0xFFFFu);
    QByteArray frame;
    frame.append(ctl::STX);
    frame.append('D');
    frame.append(origin[0]);
    frame.append(origin[1]);
    frame.append(length, 4);
    frame.append('0');
    frame.append(data);
    frame.append(char(frameChecksum(frame.constData() + 1, int(frame.size()) - 1)));
    return frame;
}

int lengthDigit(unsigned char c)
{
    return c < 0x3C ? int(c) - 0x30 : int(c) - 0x37;
}

} // namespace ks318

namespace ks318 {

QByteArray scheduleDataPart(const int hours[6], const int minutes[6], const char tail[2])
{
    QByteArray data("00000000");
    for (int i = 0; i < 6; ++i) {
        if (hours[i] == -1 || minutes[i] == -1) {
            data.append("FFFF");
        } else {
            char slot[8];
            std::snprintf(slot, sizeof slot, "%02X%02X", unsigned(hours[i]) & 0xFFu, unsigned(minutes[i]) & 0xFFu);
            data.append(slot);
        }
    }
    data.append(tail[0]);
    data.append(tail[1]);
    return data;
}

QByteArray clockDataPart(const int values[5])
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X", unsigned(values[0]) & 0xFFu, unsigned(values[1]) & 0xFFu,
                  unsigned(values[2]) & 0xFFu, unsigned(values[3]) & 0xFFu, unsigned(values[4]) & 0xFFu);
    return QByteArray(text, 10);
}

} // namespace ks318

namespace ks318 {

int dataFrameLength(const QByteArray& header)
{
    if (header.size() < 8)
        return -1;
    bool ok = false;
    const int value = header.mid(4, 4).toInt(&ok, 16);
    return ok ? value : -1;
}

bool dataFrameChecksumOk(const QByteArray& frame)
{
    if (frame.size() < 10)
        return false;
    return frameChecksum(frame.constData() + 1, int(frame.size()) - 2) == std::uint8_t(frame.back());
}

bool FrameAssembler::complete(Kind kind, Frame& frame)
{
    frame.kind = kind;
    frame.bytes = partial_;
    partial_.clear();
    return true;
}

bool FrameAssembler::feed(char byte, Frame& frame)
{
    if (partial_.isEmpty() && byte != ctl::STX && byte != ctl::SOH) {
        partial_.append(byte);
        return complete(Kind::Stray, frame);
    }
    partial_.append(byte);
    const qsizetype n = partial_.size();
    if (partial_[0] == ctl::SOH)
        return n == 6 ? complete(Kind::Acknowledgement, frame) : false;
    if (n < 2)
        return false;
    if (partial_[1] == 'C')
        return n == 7 ? complete(Kind::Command, frame) : false;
    if (partial_[1] != 'D')
        return complete(Kind::Stray, frame);   // STX and a byte that starts no frame
    if (n < 9)
        return false;
    const int length = dataFrameLength(partial_);
    if (length < 0)
        return complete(Kind::Stray, frame);
    if (n == 9 + length && zeroChecksumEndsFrame_ && frameChecksum(partial_.constData() + 1, int(n) - 1) == 0)
        return complete(Kind::Data, frame);
    return n == 10 + length ? complete(Kind::Data, frame) : false;
}

} // namespace ks318
