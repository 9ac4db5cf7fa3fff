#include "blockframing.h"

#include <cstring>
#include <limits>

namespace ks318 {

void appendNumberLine(QByteArray& out, int value)
{
    out.append(QByteArray::number(value));
    out.append('\n');
}

void appendBlock(QByteArray& out, const std::uint8_t* bytes, std::size_t size)
{
    appendNumberLine(out, static_cast<int>(size));
    out.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    out.append('\n');
}

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
} // namespace

bool FramingReader::readNumber(int& value)
{
    qsizetype p = pos_;
    const qsizetype end = bytes_.size();
    while (p < end && isBlank(bytes_[p]))
        ++p;
    bool negative = false;
    if (p < end && (bytes_[p] == '-' || bytes_[p] == '+'))
        negative = bytes_[p++] == '-';
    const qsizetype digits = p;
    long long v = 0;
    while (p < end && bytes_[p] >= '0' && bytes_[p] <= '9') {
        v = v * 10 + (bytes_[p] - '0');
        if (v > std::numeric_limits<int>::max())
            return false;
        ++p;
    }
    if (p == digits)
        return false;
    if (p < end && bytes_[p] == '\r' && p + 1 < end && bytes_[p + 1] == '\n')
        ++p;
    if (p < end && bytes_[p] == '\n')
        ++p;
    value = static_cast<int>(negative ? -v : v);
    pos_ = p;
    return true;
}

bool FramingReader::readBytes(std::uint8_t* dst, std::size_t count)
{
    if (static_cast<std::size_t>(bytes_.size() - pos_) < count)
        return false;
    std::memcpy(dst, bytes_.constData() + pos_, count);
    pos_ += static_cast<qsizetype>(count);
    return true;
}

bool FramingReader::skip(std::size_t count)
{
    if (static_cast<std::size_t>(bytes_.size() - pos_) < count)
        return false;
    pos_ += static_cast<qsizetype>(count);
    return true;
}

void FramingReader::skipLineFeed()
{
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n')
        ++pos_;
}

} // namespace ks318
