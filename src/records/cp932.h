#pragma once
// CP932 (Shift-JIS as written by Japanese Windows) text: the byte form every
// text of a recording takes on disk. Unicode appears only at the window's edge.
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace ks318 {

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length of the longest prefix of `text` that holds at most `maxBytes` bytes
// and does not end in the middle of a double-byte character.
std::size_t cp932FitLength(std::string_view text, std::size_t maxBytes);

// `text` cut to at most `maxBytes` bytes on a character boundary.
inline std::string_view cp932Cut(std::string_view text, std::size_t maxBytes)
{
    return text.substr(0, cp932FitLength(text, maxBytes));
}

// Number of characters (single- or double-byte) in `text`.
std::size_t cp932CharCount(std::string_view text);

QString fromCp932(std::string_view bytes);
// Characters that CP932 cannot express become '?'.
std::string toCp932(const QString& text);

} // namespace ks318
