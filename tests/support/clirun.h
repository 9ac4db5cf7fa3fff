#pragma once
// ks318-cli runs read from a golden transcript (test::cliTranscript): its
// "$ ks318-cli ARGS" lines are the runs, the whole file what they print.
#include "support/testfiles.h"

namespace ks318::test {

// The runs of tests/golden/NAME, each line's ARGS split at every blank (a
// blank at the end is an empty argument), made again in `dir`: the
// transcript to be compared with the file.
inline QByteArray rerunTranscript(const QString& name, const QString& dir)
{
    QList<QStringList> runs;
    for (const QByteArray& line : golden(name).split('\n'))
        if (line.startsWith("$ ks318-cli "))
            runs << QString::fromUtf8(line.mid(12)).split(QLatin1Char(' '));
    return runs.isEmpty() ? QByteArray("no runs in ") + name.toUtf8() : cliTranscript(runs, dir);
}

} // namespace ks318::test
