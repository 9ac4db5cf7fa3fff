#pragma once
// Shared by the fuzz targets: the input as a QByteArray without a copy, and
// a check that stops the run with a message libFuzzer records as a finding.
#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace ks318::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace ks318::fuzz
