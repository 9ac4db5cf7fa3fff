#pragma once
// Joining two to six BP data files of one observation period into one new
// data file: the files are put in time order, refused when their spans
// overlap or touch, and their record lines written one file after another,
// followed by the patient and comment sections of the latest file.
#include "types.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace ks318 {

struct MessageSink;

constexpr int kMinMergeFiles = 2;
constexpr int kMaxMergeFiles = 6;
constexpr int kOverlapId = 259;  // "選択されたデータに時間の重複があります。"

struct MergeTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// The time key of a date and time: year × 1000000 + month × 10000 + day ×
// 100 + hour + minute × 0.01. Keys compare as the times do.
double timeKey(const MergeTime& t);

// What a file's record section says about it: the recorder of its first
// record line and the times of its first and last reading.
struct FileSpan {
    bool opened = false;   // the file could be read
    int records = 0;       // record lines before the patient section
    RecorderType type = RecorderType::Rv5720;
    MergeTime first;
    MergeTime last;

    bool isKs318() const { return opened && records > 0 && type == RecorderType::Ks318; }
    double startKey() const { return timeKey(first); }
    double endKey() const { return timeKey(last); }
};

FileSpan spanOfFileText(const QByteArray& text);
FileSpan readFileSpan(const QString& path);

// The text the merge dialog shows for a pressed file: "BP data:  " and the
// span as "h:mm m/d yyyy to h:mm m/d yyyy ", or "The data is not measured
// by KS318P." for a file of another recorder (or without readings).
QString spanMemoText(const FileSpan& span);

// Positions of the files in time order: element i is the index of the file
// that goes i-th. A file whose span starts at or before the start of another
// and ends at or after it overlaps that one; then the result is empty.
std::vector<int> mergeOrder(const std::vector<FileSpan>& spans);

// The merged text of data files already in time order (the latest last):
// every record line of every file ("KS-318  70", "RV5721  40" or "RV5730  30"
// at its start), and the other lines of the latest file only. The comment
// numbers of the latest file are shifted by the record lines written before
// it, so each comment stays with its reading. Lines are taken as a reader
// with a 80-byte buffer takes them (at most 79 characters).
QByteArray mergeFileTexts(const std::vector<QByteArray>& orderedTexts);

enum class MergeResult {
    Merged,
    WrongCount,    // fewer than two or more than six files
    Unreadable,    // an input cannot be read (message 220)
    NotKs318,      // an input holds no KS-318P readings (message 262)
    Overlap,       // spans overlap or touch (message 259)
    Exists,        // the output is there already (message 268)
    CannotCreate,  // the output cannot be written (message 1001)
    Refused,       // an input that opening refuses (its message shown by acceptInput)
};

// The whole merge: reads the inputs, orders them, checks the output and
// writes it as a new file (never replacing one). A stale companion or CSV
// file of the output's name is removed, so the merged file gets a fresh one
// when it is first opened. `ordered`, when given, receives the input paths
// in time order once they have been ordered.
// `acceptInput`, when given, is asked first about each input and refuses
// what opening it would refuse (its message shown by it): the merge stops
// with Refused.
MergeResult mergeRecordings(const QStringList& paths, const QString& output, MessageSink* messages,
                            QStringList* ordered = nullptr,
                            const std::function<bool(const QString& path)>& acceptInput = {});

} // namespace ks318
