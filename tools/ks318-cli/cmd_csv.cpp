// ks318-cli csv FILE.DAT: File > CSV conversion from the command line.
#include "climessages.h"
#include "commands.h"
#include "recording.h"

#include "records/csvexport.h"
#include "records/filenames.h"

#include <QFileInfo>
#include <QSaveFile>

namespace ks318::cli {

const char* const kCsvUsage =
    "  csv FILE.DAT\n"
    "      Writes FILE.csv as CSV conversion does (patient, sleep and wake lines,\n"
    "      then the readings of analysis window 1 with their raw values), after\n"
    "      preparing the file as opening it does (NAME.p30 is created when\n"
    "      missing). An earlier FILE.csv is replaced.\n";

int runCsv(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) {
        err(QStringLiteral("csv: exactly one FILE.DAT is needed"));
        return ExitUsage;
    }
    const QString path = QFileInfo(args[0]).absoluteFilePath();
    // Refused as the window refuses it, and then no CSV file is written.
    Session session;
    OpenOptions options;
    options.otherRecorders = true;
    if (!openForCommand(session, path, options))
        return ExitFailure;
    // The preparation has told about NAME.p30 already.
    if (!exportCsv(path, nullptr)) {
        // The system's reason, asked for without writing anything (the
        // file is never committed).
        QSaveFile probe(csvFilePath(path));
        const QString reason = probe.open(QIODevice::WriteOnly) ? QString() : probe.errorString();
        probe.cancelWriting();
        err(reason.isEmpty() ? QStringLiteral("csv: %1 cannot be written").arg(csvFilePath(path))
                             : QStringLiteral("csv: %1 cannot be written: %2").arg(csvFilePath(path), reason));
        return ExitFailure;
    }
    out(csvFilePath(path));
    return ExitOk;
}

} // namespace ks318::cli
