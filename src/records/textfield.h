#pragma once
// A fixed-capacity, NUL-terminated text field of CP932 bytes, as the records
// and files of a recording hold their texts. The capacity counts the NUL.
#include "cp932.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ks318 {

template <std::size_t N>
class TextField {
    static_assert(N >= 1, "a text field holds at least its NUL");

public:
    static constexpr std::size_t kCapacity = N;       // bytes, NUL included
    static constexpr std::size_t kMaxLength = N - 1;  // bytes of text

    TextField() { clear(); }
    TextField(std::string_view text) { assign(text); }  // NOLINT: fields are built from literals a lot

    void clear() { std::memset(bytes_, 0, N); }

    // Copies `text` cut to the capacity on a character boundary; the rest is NUL.
    void assign(std::string_view text)
    {
        clear();
        const std::size_t n = cp932FitLength(text, kMaxLength);
        std::memcpy(bytes_, text.data(), n);
    }
    TextField& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    // Raw access for the fixed layouts: every byte of the field, NUL padding
    // and whatever a foreign writer left behind the terminator included.
    void loadRaw(const std::uint8_t* src) { std::memcpy(bytes_, src, N); }
    void storeRaw(std::uint8_t* dst) const { std::memcpy(dst, bytes_, N); }
    std::uint8_t rawByte(std::size_t i) const { return static_cast<std::uint8_t>(bytes_[i]); }
    void setRawByte(std::size_t i, std::uint8_t b) { bytes_[i] = static_cast<char>(b); }

    // The text up to its NUL, never past the field even when no NUL is stored.
    std::string_view view() const { return std::string_view(bytes_, strnlen(bytes_, N)); }
    std::string str() const { return std::string(view()); }
    QString toQString() const { return fromCp932(view()); }
    void setQString(const QString& text) { assign(toCp932(text)); }

    bool empty() const { return bytes_[0] == '\0'; }
    std::size_t size() const { return view().size(); }

    bool operator==(std::string_view other) const { return view() == other; }
    bool operator!=(std::string_view other) const { return view() != other; }

private:
    char bytes_[N];
};

} // namespace ks318
