#pragma once
// Turning the recorder's block of readings into a BP data file.
//
// The block is a run of 22-character records: oscillometric pulse pressure,
// DIA, pulse rate, error byte, status byte, then year - 1900, month, day,
// hour, minute, then the recorder id, each as two hexadecimal digits. A record
// becomes a 42-character "KS-318  70" record line.
#include "recorderservice.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

namespace ks318 {

class Recording;
struct MessageSink;

// The record line of one 22-character record. With `excludeWithoutPulse`
// (as lines are written to the file) a record whose pulse rate is "00" gets
// "8" as the high digit of its error byte, so the reading is stored excluded.
std::string recordLineFromRecord(std::string_view record, bool excludeWithoutPulse);

// True when the transfer produced a usable block: it did not fail, it holds
// at least one record and the first record does not begin with ten "0".
bool blockHasData(LinkResult result, const RecorderService& session);

// What a transfer came to, as the user is told: readings to save; no
// readings (the recorder announced a block without one whole record, or the
// first record begins with ten "0"), message 208; or a failure of the link
// (no reply, every header refused, a block too long to take, data missing
// or cut short), message 224.
enum class RetrievalOutcome { Records, NoRecords, LinkFailure };
RetrievalOutcome retrievalOutcome(LinkResult result, const RecorderService& session);
// The message id for an outcome other than Records.
int retrievalMessageId(RetrievalOutcome outcome);

struct RetrievedStart {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// Date and time of the first reading of a record line.
RetrievedStart startOfRecordLine(std::string_view headerLine);

// The file text written for `recordCount` records of `block`: one record line
// per record (with the "8" rule), then the patient section (empty name, ID
// number 0) and an empty comment section.
QByteArray formatRetrievedFile(const char* block, int recordCount);

// The data file a chosen path leads to: its extension replaced by ".dat".
QString retrievalDataPath(const QString& chosenPath);

// True when the data file of `chosenPath` exists already, with its extension
// in either case (".dat" or ".DAT"): such a file is never replaced.
bool retrievalTargetExists(const QString& chosenPath);

enum class RetrievalWrite { Written, Exists, CannotCreate };

// Writes the data file for the session's block. Refuses (Exists) when the file
// is there already, even if it appeared after an earlier check; creates it
// new, and removes a half-written file on failure. `progress` is told the
// number of records in the file after each one is written (never when the
// file cannot be created).
RetrievalWrite writeRetrievedFile(const QString& chosenPath, const RecorderService& session,
                                  const std::function<void(int)>& progress = {});

// At least 20480 bytes free on the volume the data file goes to (the
// volume of the chosen path, not of the current directory).
bool retrievalSpaceAvailable(const QString& chosenPath);

// After the data file is written: removes a stale companion and CSV file of
// the new recording and prepares it with the patient's name, which creates
// its companion file. The session then describes the new recording.
bool prepareRetrievedRecording(Recording& session, const QString& chosenPath, const QString& patientName,
                               MessageSink* messages);

// The CSV step of a retrieval (when the CSV option is on): NAME.csv of the
// data file written for `chosenPath`. True when it was written.
bool exportRetrievedCsv(const QString& chosenPath, MessageSink* messages);

// Describes the recording open before the retrieval again (when one was).
void restoreCurrentRecording(Recording& session, MessageSink* messages);

} // namespace ks318
