#pragma once
// The BP data file NAME.DAT: one hexadecimal record line per reading, then a
// patient section and a comment section. The reader fills a SessionData for
// a BpMode and marks each reading's analysis window and day/night class; the
// writer produces the same format back.
#include "filenames.h"
#include "recording.h"

#include <QByteArray>
#include <QString>
#include <string_view>

namespace ks318 {

// Value of `count` characters read as hexadecimal; '1'-'9', 'A'-'F' and
// 'a'-'f' have their usual values, every other character counts as 0.
unsigned parseHex(const char* chars, int count);

// RecorderType named by the model id that opens a record line.
RecorderType recorderTypeOfLine(std::string_view line);

// One record line into one reading. Columns past the end of a short line read
// as '0'. `recorderId` receives 1, or the line's recorder id for the types
// whose lines carry one.
void decodeRecordLine(std::string_view line, BpMode mode, RecorderType type, BpReading& reading,
                      std::uint8_t& recorderId);

// String id of an error code's description; 0 for codes without one (0, 3).
int errorDescriptionId(int errorCode);

// A reading's comment as the interface shows it: the error description the
// reader gave an error reading, in the interface language; any other comment
// as recorded.
QString displayComment(const BpReading& reading);
// What the record keeps for a comment shown as `shown`: the Japanese
// description when `shown` is the shown description of the reading's error,
// else `shown` itself, in CP932. Files do not change with the language.
std::string recordedComment(const BpReading& reading, const QString& shown);

// Fills session.data() (allocated by the caller) from the data file of
// `path` (its extension replaced by ".DAT"). Sets state.recorderType from the
// first record line, state.firstRecordLine, and state.timeOrderError when a
// reading is earlier than one before it. Window 1 comes from
// session.intervals when it is valid, the sleep and wake times from
// session.state. Returns data()->loaded != 0.
bool readBpDataFile(Recording& session, const QString& path, BpMode mode);
// The same from the data file the resolved member names.
bool readBpDataFile(Recording& session, const RecordingFiles& files, BpMode mode);
// The same over the file's bytes already in memory.
bool parseBpDataText(Recording& session, const QByteArray& bytes, BpMode mode);

// The complete file text for a block, as the rewriter stores it.
QByteArray formatBpDataFile(const SessionData& data, RecorderType type);

// Writes `data` as a BP data file at exactly `path`, atomically.
bool writeBpDataFile(const QString& path, const SessionData& data, RecorderType type);

// Writes the current block back to the current data file (preparedFilePath
// with the extension ".DAT"), replacing it atomically. Refuses, writing
// nothing, when no block is loaded or when the block does not hold the whole
// file (reading stopped at the reading cap with more behind it).
bool rewriteBpDataFile(Recording& session);

} // namespace ks318
