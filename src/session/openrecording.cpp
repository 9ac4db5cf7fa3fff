#include "openrecording.h"

#include "session.h"

#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/filenames.h"
#include "records/messages.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>

namespace ks318 {

namespace {

OpenResult refuse(Session& session, MessageSink* messages, int id, QString reason = QString())
{
    showMessage(messages, id, kErrorCaptionId, MessageIcon::Warning);
    // The recording open before stays described; only the block in use is
    // dropped, as every view fills its own.
    session.freeData();
    session.state.timeOrderError = false;
    OpenResult r;
    r.messageId = id;
    r.reason = std::move(reason);
    return r;
}

} // namespace

OpenResult openRecording(Session& session, const QString& path, MessageSink* messages, const OpenOptions& options)
{
    const RecordingFiles files = RecordingFiles::resolve(path);

    QFile file(files.data);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(session, messages, kOpenCannotReadId, files.data + QStringLiteral(": ") + file.errorString());
    const QByteArray bytes = file.readAll();
    const bool readAll = file.error() == QFileDevice::NoError;
    const QString readError = file.errorString();
    file.close();
    if (!readAll)
        return refuse(session, messages, kOpenCannotReadId, files.data + QStringLiteral(": ") + readError);

    // What the file holds, before anything is created for it: a file without
    // a reading, of a recorder this caller does not take, with readings out
    // of order or (at its first opening) too long a window gets no
    // companion file.
    Recording first;  // the records of a first opening, when that is what this is
    bool firstOpening = false;
    {
        Recording probe;
        if (!probe.allocateData() || !parseBpDataText(probe, bytes, BpMode::OscillometricOnly))
            return refuse(session, messages, kOpenCannotReadId, files.data);
        if (probe.data()->readingCount() == 0)
            return refuse(session, messages, kOpenNotKs318Id);
        if (!options.otherRecorders && probe.state.recorderType != RecorderType::Ks318)
            return refuse(session, messages, kOpenNotKs318Id);
        if (probe.state.timeOrderError)
            return refuse(session, messages, kOpenBadTimesId);
        firstOpening = !QFileInfo(files.companion).isFile()
                       && (options.writeNothing || !QFileInfo(files.legacy).isFile());
        if (firstOpening) {
            companionRecordsFromBlock(probe, options.patientName, first.patient, first.intervals, first.span);
            if (first.intervals.interval1Hours > kMaxAnalysisHours)
                return refuse(session, messages, kOpenTooLongId);
        }
    }

    // The new recording is prepared aside; the session takes it over only
    // once it has passed every check.
    Recording candidate;
    candidate.state = session.state;  // keeps the BP modes and what was told about an in-memory recording
    candidate.state.timeOrderError = false;
    candidate.state.currentFilePath = path;
    if (firstOpening && options.writeNothing) {
        candidate.patient = first.patient;
        candidate.intervals = first.intervals;
        candidate.span = first.span;
        holdRecordsInMemory(candidate, path);
    } else if (!prepareDataSet(candidate, files, options.patientName, messages)) {
        // Nothing describes the file (message 202 shown by the preparation).
        return refuse(session, nullptr, kCompanionFileErrorId);
    }
    if (candidate.intervals.valid && candidate.intervals.interval1Hours > kMaxAnalysisHours)
        return refuse(session, messages, kOpenTooLongId);

    candidate.state.bpMode = options.mode;
    if (!candidate.allocateData() || !parseBpDataText(candidate, bytes, options.mode))
        return refuse(session, messages, kOpenCannotReadId, files.data);
    if (candidate.state.timeOrderError)
        return refuse(session, messages, kOpenBadTimesId);
    // The companion file may name another recorder than the data file does;
    // the data file's first record line decides (the block has set it).
    if (!options.otherRecorders && candidate.state.recorderType != RecorderType::Ks318)
        return refuse(session, messages, kOpenNotKs318Id);

    session.takeRecording(candidate);
    // The graph view File > Open leaves: all of window 1, from its start.
    const long long minutes = static_cast<long long>(session.intervals.interval1Hours) * 60;
    session.graphView.visibleMinutes = static_cast<int>(std::min<long long>(minutes, INT_MAX));
    session.graphView.zoomAllData = true;
    session.graphView.scrollHours = 0;

    OpenResult r;
    r.opened = true;
    return r;
}

} // namespace ks318
