#pragma once
// A recording is a set of files sharing one base name: NAME.DAT, NAME.p30,
// NAME.csv. Members are found by replacing the extension after the last '.'.
// Every member is written through atomicfile.h.
#include "atomicfile.h"

#include <QString>
#include <QStringList>

namespace ks318 {

// `path` with the extension of its file name replaced by `extension` (which
// starts with '.'); a name without extension gets it appended. Dots in the
// directory part are left alone.
QString replaceExtension(const QString& path, const QString& extension);

// The member with `extension` as it exists on disk. Files copied from other
// systems often carry the extension in the other case ("name.dat" for
// "NAME.DAT"), so when the exact name is missing a name differing only in the
// case of the extension is taken. Returns the exact name when neither exists.
QString resolveMemberPath(const QString& path, const QString& extension);

// The member with `extension` in every spelling the lookup above finds:
// as given, in lower case and in upper case (no duplicates).
QStringList memberSpellings(const QString& path, const QString& extension);

// The member files of one recording, each looked up once by the rules of
// resolveMemberPath. The functions of the open sequence take this value, so
// one open asks the file system for each member once. A member that does
// not exist yet (NAME.p30 before the first opening, NAME.csv before the
// first export) carries the name it is created under.
struct RecordingFiles {
    QString path;             // as given (the path of NAME.DAT the user chose)
    QString data;             // NAME.DAT / NAME.dat
    QString companion;        // NAME.p30
    QString csv;              // NAME.csv
    QString legacy;           // NAME.pat, input of the converter
    QString converterOutput;  // NAME.tmp the converter writes beside NAME.pat (absolute)

    static RecordingFiles resolve(const QString& path);
};

} // namespace ks318
