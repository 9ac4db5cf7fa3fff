#include "recording.h"

#include "climessages.h"

#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/settings.h"
#include "session/session.h"

#include <QDir>
#include <QFileInfo>

namespace ks318::cli {

void prepareRecords(Session& session, const QString& path)
{
    StderrMessages messages;
    if (QFileInfo::exists(companionFilePath(path)))
        readDataSetRecords(session, path, &messages);
    if (session.intervals.valid)
        return;
    PatientRecord patient;
    AnalysisIntervals intervals;
    RecordingSpan span;
    if (!companionRecordsFromDataFile(path, QString(), patient, intervals, span))
        return;
    if (!session.patient.valid) {
        session.patient = patient;
        session.patient.valid = 1;
    }
    if (!session.span.valid) {
        session.span = span;
        session.span.valid = 1;
    }
    session.intervals = intervals;
    session.intervals.valid = 1;
    const QFileInfo info(path);
    session.state.preparedFilePath = path;
    session.state.fileDirectory = info.absolutePath();
    session.state.fileBaseName = info.completeBaseName();
    applyDataSetRecords(session);
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
