#pragma once
// Making a recording current: its companion file is created when missing,
// read, and the session state is taken from the three records (window title,
// sleep and wake times, analysis windows, recording span). Used by File >
// Open and by everything that makes a file current again.
#include "filenames.h"

#include <QString>
#include <string>
#include <string_view>

namespace ks318 {

class Recording;
struct MessageSink;

// Creates NAME.p30 when missing (createCompanionFile, with `patientName`
// for a new file's name when given), then readDataSetRecords. When NAME.p30
// cannot be created or read (message 202, shown once), the records of the
// recording's first opening are held in memory instead
// (state.companionInMemory). Returns true when the records describe the
// recording: false only when its data file cannot be read either.
bool prepareDataSet(Recording& session, const QString& path, const QString& patientName = QString(),
                    MessageSink* messages = nullptr);
// The same over member files resolved once by the caller.
bool prepareDataSet(Recording& session, const RecordingFiles& files, const QString& patientName,
                    MessageSink* messages);

// Reads NAME.p30 of `path` and fills the session state from the records,
// without creating anything. A companion file that cannot be read (message
// 202) leaves no record valid, so nothing of another recording is taken.
bool readDataSetRecords(Recording& session, const QString& path, MessageSink* messages = nullptr);
bool readDataSetRecords(Recording& session, const RecordingFiles& files, MessageSink* messages);

// The records in memory (those of a first opening) describe the recording
// `path` as if they had been read back from NAME.p30: marked valid, the
// session state taken from them, state.companionInMemory set.
void holdRecordsInMemory(Recording& session, const QString& path);

// The session state from the three records in memory (the last part of the
// preparation): normalises the sleep and wake texts of session.patient and
// sets the title text, the day-1 sleep and wake times, the analysis windows
// and the recording span.
void applyDataSetRecords(Recording& session);

// A "hhmm" sleep or wake text as "hh:mm"; other texts are returned as they are.
std::string normalizedClockText(std::string_view text);

// Hour and minute of an "h:mm" / "hh:mm" text as "%2d:%2d" reads it; false
// when the text is not a time of day.
bool parseClockText(std::string_view text, int& hour, int& minute);

} // namespace ks318
