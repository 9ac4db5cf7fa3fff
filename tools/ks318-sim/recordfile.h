#pragma once
// The readings ks318-sim offers, read from a --records file: one 22-character
// record per line, or the record lines of a BP data file.
#include <QByteArray>
#include <QString>

namespace ks318::sim {

constexpr int kRecordLength = 22;
// The recorder holds 372 records; a longer file offers its first 372.
constexpr int kMaxRecords = 372;

// The records of a file text, concatenated: a "KS-318  70" line of at least
// 42 characters gives the record it was written from (characters 30-39,
// 20-29 and 40-41); any other line of at least 22 characters that does not
// start with '#' gives its first 22. Lines are trimmed first; shorter lines
// give nothing.
QByteArray recordsOfText(const QByteArray& text);

// The records of the file at `path`; false when it cannot be read.
bool loadRecords(const QString& path, QByteArray& out);

} // namespace ks318::sim
