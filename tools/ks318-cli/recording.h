#pragma once
// A recording as the commands open it: by the window's open sequence; the
// thresholds from data.d of the current directory when it exists.
#include "records/messages.h"
#include "session/openrecording.h"
#include "session/session.h"

#include <QString>

namespace ks318::cli {

// Opens `path` by the window's open sequence (NAME.p30 is created when
// missing, as File > Open creates it). The messages go to `messages` (the
// command's stderr lines); a data file that cannot be read is named with
// the system's reason instead of message 220. False when refused.
bool openForCommand(Session& session, const QString& path, const OpenOptions& options, MessageSink& messages);
// The same with the messages printed as they are.
bool openForCommand(Session& session, const QString& path, const OpenOptions& options);

// The four thresholds of data.d in the current directory, validated as the
// settings store validates them (session.settings.analysis holds them
// afterwards); the defaults when there is no data.d or it cannot be read.
// Nothing is created.
BpThresholds storedThresholds(Session& session);

} // namespace ks318::cli
