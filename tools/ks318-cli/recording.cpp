#include "recording.h"

#include "climessages.h"

#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/settings.h"
#include "session/session.h"

#include <QDir>
#include <QFileInfo>

namespace ks318::cli {

namespace {

// Passes every message on but the one the system's reason replaces.
struct WithoutCannotRead : MessageSink {
    explicit WithoutCannotRead(MessageSink& to) : to_(to) {}
    void show(int stringId, int captionId, MessageIcon icon) override
    {
        if (stringId != kOpenCannotReadId)
            to_.show(stringId, captionId, icon);
    }
    MessageSink& to_;
};

} // namespace

bool openForCommand(Session& session, const QString& path, const OpenOptions& options, MessageSink& messages)
{
    WithoutCannotRead filtered(messages);
    const OpenResult result = openRecording(session, path, &filtered, options);
    if (!result.opened && result.messageId == kOpenCannotReadId)
        err(result.reason.isEmpty() ? QStringLiteral("cannot read %1").arg(path) : result.reason);
    return result.opened;
}

bool openForCommand(Session& session, const QString& path, const OpenOptions& options)
{
    StderrMessages messages;
    return openForCommand(session, path, options, messages);
}

BpThresholds storedThresholds(Session& session)
{
    session.settings.directory = QDir::currentPath();
    if (QFileInfo::exists(session.settings.filePath("data.d")))
        readDataD(session, nullptr);
    const AnalysisSettings& a = session.settings.analysis;
    return a.valid ? thresholdsOf(a) : BpThresholds();
}

} // namespace ks318::cli
