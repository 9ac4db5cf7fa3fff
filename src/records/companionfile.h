#pragma once
// The companion file NAME.p30 beside each BP data file: version line "0",
// then sections 0 (PatientRecord, 900 bytes), 1 (AnalysisIntervals, 144)
// and 2 (RecordingSpan, 56), each framed as id line, size line, raw bytes
// and a line feed. Older files with a 1100-byte section 0 or an 80-byte
// section 1 are converted on reading.
#include "filenames.h"
#include "records.h"

#include <QByteArray>
#include <QString>

namespace ks318 {

class Recording;
struct MessageSink;

// Which records a parse filled.
struct CompanionSections {
    bool patient = false;
    bool intervals = false;
    bool span = false;
};

// The file text of the three records, valid fields as they stand.
QByteArray formatCompanionFile(const PatientRecord& patient, const AnalysisIntervals& intervals,
                               const RecordingSpan& span);

// Reads the sections of `bytes` over the three records: first marks all
// three not valid, then each section read sets its record's valid to 1. A
// version other than 0 reads nothing; reading stops at an unknown section
// id, a bad size line or a short block.
CompanionSections parseCompanionFile(const QByteArray& bytes, PatientRecord& patient,
                                     AnalysisIntervals& intervals, RecordingSpan& span);

// NAME.p30 for the data file `path` (the extension replaced; an existing
// "name.P30" spelling is found too).
QString companionFilePath(const QString& path);
bool companionFileExists(const QString& path);

// Reads NAME.p30 into session.patient, .intervals and .span. When the file
// does not open, message 202 is shown and the records stay as they were.
bool readCompanionFile(Recording& session, const QString& path, MessageSink* messages);
bool readCompanionFile(Recording& session, const RecordingFiles& files, MessageSink* messages);

// Writes the three records to NAME.p30, atomically; message 202 on failure.
bool writeCompanionFile(const Recording& session, const QString& path, MessageSink* messages);
bool writeCompanionFile(const Recording& session, const RecordingFiles& files, MessageSink* messages);

enum class CompanionCreation {
    Present,     // NAME.p30 was there already or has been written
    NotWritten,  // the records were made, but NAME.p30 could not be written (message 202)
    NoRecords,   // nothing describes the file: its data cannot be read or holds no reading
};

// Creates NAME.p30 when it is missing: from a legacy patient file NAME.pat
// through the converter `fileconv` (found on PATH) when there is one and it
// delivers NAME.tmp in time, otherwise from the BP data file. `patientName`,
// when not empty, replaces the name of the data file's patient section.
// Leaves an existing NAME.p30 alone. When records were made, the three
// records in memory describe the new file afterwards (valid 0, as written),
// whether or not the file could be written.
CompanionCreation createCompanionFile(Recording& session, const QString& path, const QString& patientName,
                                      MessageSink* messages);
CompanionCreation createCompanionFile(Recording& session, const RecordingFiles& files, const QString& patientName,
                                      MessageSink* messages);

// The records of a data file's first opening, from its first and last
// reading. False when the file cannot be read or holds no reading.
bool companionRecordsFromDataFile(const QString& path, const QString& patientName, PatientRecord& patient,
                                  AnalysisIntervals& intervals, RecordingSpan& span);
bool companionRecordsFromDataFile(const RecordingFiles& files, const QString& patientName, PatientRecord& patient,
                                  AnalysisIntervals& intervals, RecordingSpan& span);
// The same from a block already filled (with BpMode 0) from the data file.
bool companionRecordsFromBlock(const Recording& filled, const QString& patientName, PatientRecord& patient,
                               AnalysisIntervals& intervals, RecordingSpan& span);

// The records NAME.tmp stands for, as the converter writes it (the companion
// framing over the legacy layouts), all with valid 0. False while a section
// is missing: a file still being written.
bool recordsFromLegacyText(const QByteArray& bytes, PatientRecord& patient, AnalysisIntervals& intervals,
                           RecordingSpan& span);

// Outcome of the legacy conversion.
enum class LegacyConversion {
    NotAvailable,  // no NAME.pat, no converter, or no complete NAME.tmp in time
    Converted,     // NAME.p30 written, NAME.tmp and NAME.pat deleted
    WriteFailed,   // converted in memory, but NAME.p30 could not be written; nothing deleted
};

// Runs the legacy conversion for `path` when NAME.pat exists: starts the
// converter with the full path of NAME.pat as its one argument (no shell),
// polls for NAME.tmp up to `polls` times `pollMs` apart, converts it into the
// session's records and writes NAME.p30.
LegacyConversion convertLegacyPatientFile(Recording& session, const QString& path, MessageSink* messages,
                                          int polls = 20, int pollMs = 100);
LegacyConversion convertLegacyPatientFile(Recording& session, const RecordingFiles& files, MessageSink* messages,
                                          int polls = 20, int pollMs = 100);

} // namespace ks318
