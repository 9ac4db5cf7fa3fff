#pragma once
// The framing shared by the settings blocks and the companion file: numbers
// as "%d\n" text lines (format version, section id, byte count), each raw
// block followed by a line feed.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace ks318 {

// Appends "%d\n".
void appendNumberLine(QByteArray& out, int value);
// Appends "%d\n" with `size`, the `size` bytes and "\n".
void appendBlock(QByteArray& out, const std::uint8_t* bytes, std::size_t size);

class FramingReader {
public:
    explicit FramingReader(const QByteArray& bytes) : bytes_(bytes) {}

    // A decimal number as "%d" reads it (leading blanks and line ends
    // skipped, optional sign), then the line end after it. Only that one line
    // end is taken, so a block that starts with a blank byte stays whole.
    bool readNumber(int& value);

    // Copies the next `count` bytes into `dst`; false, consuming nothing,
    // when fewer are left.
    bool readBytes(std::uint8_t* dst, std::size_t count);
    bool skip(std::size_t count);
    // The line feed after a block, when there is one.
    void skipLineFeed();

    bool atEnd() const { return pos_ >= bytes_.size(); }

private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

} // namespace ks318
