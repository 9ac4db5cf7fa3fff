#pragma once
// The frames spoken on the recorder line: command frames, reply frames,
// acknowledgement frames and data frames, with their checksums. Shared by
// the link, the recorder simulator and the tests.
#include <QByteArray>
#include <cstdint>

namespace ks318 {

namespace ctl {
constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char ACK = 0x06;
constexpr char XON = 0x11;
constexpr char XOFF = 0x13;
constexpr char NAK = 0x15;
} // namespace ctl

// Low byte of the sum of `bytes`.
std::uint8_t frameChecksum(const char* bytes, int count);
inline std::uint8_t frameChecksum(const QByteArray& bytes) { return frameChecksum(bytes.constData(), int(bytes.size())); }

// STX "CPC", the two-digit code, the checksum of everything after STX.
QByteArray commandFrame(const char code[2]);

// SOH "PC70" and ACK or NAK: the program's answer to a data block.
QByteArray ackFrame(bool accepted);

// STX 'D', `origin` (two characters), the length as four upper-case
// hexadecimal digits, '0', the data part and the checksum of every byte
// after STX. The program's frames carry "PC" as origin.
QByteArray dataFrame(const QByteArray& data, const char origin[2] = "PC");

// Value of a received hexadecimal length digit, decoded the way the program
// always has: c - 0x30 below 0x3C, c - 0x37 from there on. Only "0"-"9" and
// "A"-"F" come out right; anything else gives a value outside 0..15.
int lengthDigit(unsigned char c);

} // namespace ks318

namespace ks318 {

// The 34-character data part of a schedule frame: eight "0", then per slot
// "%02X%02X" of hour and minute, or "FFFF" when either is -1, then `tail`
// (the last two characters of the settings block as received).
QByteArray scheduleDataPart(const int hours[6], const int minutes[6], const char tail[2]);

// The 10-character data part of a clock frame: five values as "%02X".
QByteArray clockDataPart(const int values[5]);

} // namespace ks318

namespace ks318 {

// Cuts a byte stream sent by the program into frames, for the recorder
// simulator and the tests. A command frame is 7 bytes from STX 'C', an
// acknowledgement frame 6 bytes from SOH, a data frame 9 + length + 1 bytes
// from STX 'D'. A byte that starts none of them comes out alone as a stray
// byte (with the STX before it, or a whole data header whose length is not
// hexadecimal).
class FrameAssembler {
public:
    enum class Kind { Command, Acknowledgement, Data, Stray };
    struct Frame {
        Kind kind = Kind::Stray;
        QByteArray bytes;
    };

    // With `zeroChecksumEndsFrame`, a data frame whose checksum comes to 0x00
    // is complete without it (the program holds frames as text and never
    // sends that byte).
    explicit FrameAssembler(bool zeroChecksumEndsFrame = false) : zeroChecksumEndsFrame_(zeroChecksumEndsFrame) {}

    // Adds one byte; true when it completed a frame, which `frame` receives.
    bool feed(char byte, Frame& frame);
    // Drops a partly received frame.
    void reset() { partial_.clear(); }
    bool inFrame() const { return !partial_.isEmpty(); }
    QByteArray partial() const { return partial_; }

private:
    bool complete(Kind kind, Frame& frame);

    bool zeroChecksumEndsFrame_;
    QByteArray partial_;
};

// The length field of a data frame header (bytes 4 to 7) as a number; -1
// when it is not four hexadecimal digits.
int dataFrameLength(const QByteArray& header);

// True when the last byte of a complete data frame is the checksum of the
// bytes between STX and it.
bool dataFrameChecksumOk(const QByteArray& frame);

} // namespace ks318
