#pragma once
// File > Save As and File > Delete on a recording's file set: NAME.DAT, its
// companion file NAME.p30 and its CSV export NAME.csv.
#include <QString>

namespace ks318 {

class Recording;
struct MessageSink;

// Message of a refused save-as: "上書きは出来ません。"
constexpr int kCannotOverwriteId = 268;

// Copies the file set of the current recording (state.currentFilePath) to
// the names of `destination`. When the destination or its data file exists
// already, message 268 is shown and nothing is copied. Otherwise NAME.dat,
// NAME.p30 and NAME.csv are copied where the source has them, after a stale
// companion and CSV file of the destination have been removed; no copy ever
// replaces a file. When a member cannot be copied, the copies made are
// removed again and message 1001 is shown. The current recording stays
// current and is prepared again. Returns false when refused or failed.
bool saveRecordingAs(Recording& session, const QString& destination, MessageSink* messages = nullptr);

// Removes NAME.DAT, NAME.P30 and NAME.CSV of `path` (either case of the
// extension); missing files are skipped. When the current recording is gone
// afterwards the session is left without a recording (empty path and title,
// no valid record, no block); otherwise the current recording is prepared
// again. Returns true when a current recording is still there.
bool deleteRecording(Recording& session, const QString& path, MessageSink* messages = nullptr);

} // namespace ks318
