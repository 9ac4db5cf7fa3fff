#include "textformat.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace ks318 {

QString formatText(const char* format, ...)
{
    char small[256];
    va_list ap;
    va_start(ap, format);
    va_list again;
    va_copy(again, ap);
    const int n = std::vsnprintf(small, sizeof small, format, ap);
    va_end(ap);
    QString text;
    if (n < 0) {
        text = QString();
    } else if (std::size_t(n) < sizeof small) {
        text = QString::fromUtf8(small, n);
    } else {
        std::vector<char> big(std::size_t(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        text = QString::fromUtf8(big.data(), n);
    }
    va_end(again);
    return text;
}

QString clockText(int hour, int minute)
{
    return formatText("%02d:%02d", hour, minute);
}

} // namespace ks318
