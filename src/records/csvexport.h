#pragma once
// CSV export of a recording: NAME.csv beside NAME.DAT, CRLF lines, texts
// between double quotes in CP932, the patient and sleep lines from the
// companion file, then one row per reading of analysis window 1 with the raw
// values of each measurement method the recorder type carries.
#include "records.h"
#include "types.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace ks318 {

struct SessionData;
struct MessageSink;

// `text` between double quotes, each double quote inside it doubled so that
// a spreadsheet reads the text back as it was.
std::string csvQuoted(std::string_view text);

// The file text for a block read with BpMode 2. `patient` is the valid
// companion record, or null for the blank lines. `twoNights` asks for the
// sleep lines of a 48-hour type-25 recording (day 1 and day 2). `type`
// chooses the header and the row format.
QByteArray formatCsv(const SessionData& data, RecorderType type, const PatientRecord* patient, bool twoNights);

// The CSV file of a data file: `path` with its extension replaced by ".csv".
QString csvFilePath(const QString& path);

// CSV conversion of the recording at `path`: prepares it (creating NAME.p30
// when missing), reads NAME.DAT with BpMode 2 and writes NAME.csv, replacing
// an earlier one. The work is done on a session of its own: the session of
// the current recording is not touched, so it still describes that
// recording afterwards. Returns false, writing nothing, when the data file
// cannot be read, and when NAME.csv cannot be written (message 1001).
bool exportCsv(const QString& path, MessageSink* messages = nullptr);

} // namespace ks318
