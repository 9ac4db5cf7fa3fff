// ks318-cli merge OUT.DAT IN1.DAT IN2.DAT [... IN6.DAT]: File > merge from the
// command line, with the rules of the merge dialog.
#include "climessages.h"
#include "commands.h"
#include "recording.h"

#include "records/filemerge.h"

#include <QFileInfo>

namespace ks318::cli {

const char* const kMergeUsage =
    "  merge OUT.DAT IN1.DAT IN2.DAT [... IN6.DAT]\n"
    "      Joins two to six KS-318P data files into OUT.DAT: the record lines\n"
    "      of every file in time order, then the patient and comment sections\n"
    "      of the latest file (its comment numbers shifted to stay with their\n"
    "      readings). Refused when spans overlap or touch, and when OUT.DAT\n"
    "      exists. A file named twice counts once.\n";

int runMerge(const QStringList& args)
{
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--"))) {
            err(QStringLiteral("merge: unexpected argument %1").arg(a));
            return ExitUsage;
        }
    }
    if (args.isEmpty()) {
        err(QStringLiteral("merge: OUT.DAT and two to six input files are needed"));
        return ExitUsage;
    }
    const QString output = QFileInfo(args[0]).absoluteFilePath();
    // As in the dialog's merge list, the same file goes in once.
    QStringList inputs;
    for (const QString& a : args.mid(1)) {
        const QString path = QFileInfo(a).absoluteFilePath();
        if (!inputs.contains(path))
            inputs << path;
    }
    if (inputs.size() < kMinMergeFiles || inputs.size() > kMaxMergeFiles) {
        err(QStringLiteral("merge: two to six different input files are needed"));
        return ExitUsage;
    }

    StderrMessages messages;
    QStringList ordered;
    // Each input is refused as opening it would refuse it; nothing is
    // written for the inputs.
    const auto acceptInput = [&messages](const QString& path) {
        Session scratch;
        OpenOptions options;
        options.writeNothing = true;
        options.otherRecorders = false;
        return openForCommand(scratch, path, options, messages);
    };
    switch (mergeRecordings(inputs, output, &messages, &ordered, acceptInput)) {
    case MergeResult::Merged:
        break;
    case MergeResult::CannotCreate:
        err(QStringLiteral("merge: %1 cannot be written").arg(output));
        return ExitFailure;
    case MergeResult::WrongCount:
        return ExitUsage;
    default:
        return ExitFailure;
    }
    for (const QString& path : ordered)
        out(path);
    out(QStringLiteral("-> %1").arg(output));
    return ExitOk;
}

} // namespace ks318::cli
