#pragma once
// A recording as the commands read it: read-only, from NAME.p30 and data.d
// of the current directory when they exist.
#include "session/session.h"

#include <QString>

namespace ks318::cli {

// The recording's records as the program would hold them after opening it,
// without writing anything: NAME.p30 when there is one, read-only; where it
// is missing, cannot be read (message 202 on stderr) or holds no valid
// analysis intervals, the records its first opening would create from the
// data file.
void prepareRecords(Session& session, const QString& path);

// The four thresholds of data.d in the current directory, validated as the
// settings store validates them (session.settings.analysis holds them
// afterwards); the defaults when there is no data.d or it cannot be read.
// Nothing is created.
BpThresholds storedThresholds(Session& session);

} // namespace ks318::cli
