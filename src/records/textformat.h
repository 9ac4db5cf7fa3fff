#pragma once
// Texts made with printf formats, as the summary page, the reports and the
// command line print their numbers.
#include <QString>

namespace ks318 {

// What vsnprintf makes of `format` and the arguments, read as UTF-8.
QString formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "hh:nn".
QString clockText(int hour, int minute);

} // namespace ks318
