#pragma once
// Opening a recording: the one sequence the window's File > Open, every
// command of ks318-cli that reads a recording, batch printing and the
// retrieval's reopening run.
//
//   OpenResult r = openRecording(session, "/data/DEMO.DAT", &messages);
//   if (!r) ...;   // refused: the message has been shown, the session
//                  // still describes the recording it described before
//
// The sequence: the member files are resolved once; the data file is read;
// a file holding no reading, or readings of another recorder type, is
// refused with message 262, readings out of time order with message 271;
// the companion file NAME.p30 is created when missing (from NAME.pat
// through the converter, or from the data file) and read; where it cannot
// be written or read (message 202), the records of the first opening are
// held in memory and the recording opens all the same; a window-1 length
// above 43848 hours is refused with message 223; the block is filled with
// the requested BpMode. A file refused for what its data file holds gets no
// companion file.
//
// Nothing of the session changes until the recording has passed every
// check: the new recording is prepared aside and taken over at once, so a
// window repainting while a message is shown never sees half of it. A
// refusal drops the block in use and leaves everything else as it was.
// The caller tells the views (Session::recordingChanged) when it is done.
#include "records/types.h"

#include <QString>

namespace ks318 {

class Session;
struct MessageSink;

struct OpenOptions {
    // BpMode of the block filled on success.
    BpMode mode = BpMode::OscillometricOnly;
    // Files of the other recorder types (30, 21, 20, 25) are read as well.
    // The window, printing, `plot` and `report` take the KS-318P's files
    // only; `list`, `info`, `summary` and `csv` serve older recordings too.
    bool otherRecorders = false;
    // The patient name a newly created companion file carries instead of
    // the name in the data file (data retrieval).
    QString patientName;
    // Nothing is written: a missing NAME.p30 is not created (no converter
    // runs either); the records of the first opening are held in memory,
    // silently. For files that are only read, such as merge inputs.
    bool writeNothing = false;
};

struct OpenResult {
    bool opened = false;
    // String id of the message that refused the file (already shown through
    // the sink); 0 when opened.
    int messageId = 0;
    // For a data file that cannot be read: the file and the system's reason
    // ("/data/X.DAT: No such file or directory"), for output that prints
    // text rather than string-table messages. messageId is 220 then.
    QString reason;

    explicit operator bool() const { return opened; }
};

// String ids of the refusals.
constexpr int kOpenNotKs318Id = 262;    // not measured with the KS318P (or no reading at all)
constexpr int kOpenTooLongId = 223;     // measurement period beyond the limit
constexpr int kOpenBadTimesId = 271;    // measured times out of order
constexpr int kOpenCannotReadId = 220;  // the file cannot be opened

// Longest window 1 that is analysed, in hours.
constexpr unsigned kMaxAnalysisHours = 43848;

// Runs the open sequence for `path`. On success the session describes the
// recording: state (currentFilePath = path, preparedFilePath, title, sleep
// times, windows), the three records, a block filled with options.mode, and
// the graph view File > Open leaves (the whole window 1 shown, scrolled to
// its start). `messages` may be null (silent).
OpenResult openRecording(Session& session, const QString& path, MessageSink* messages,
                         const OpenOptions& options = OpenOptions());

} // namespace ks318
