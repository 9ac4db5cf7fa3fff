// ks318-cli report FILE [FILE...] --kind full|mini|patient|clinical -o OUT.pdf
//                       [--mode 0..3] [--paper a4|letter] [--sleep HH:MM --wake HH:MM]
#include "commands.h"
#include "recording.h"

#include "records/messages.h"
#include "records/settings.h"
#include "records/stringtable.h"
#include "reports/reportbody.h"
#include "session/session.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <iterator>

namespace ks318::cli {

const char* const kReportUsage =
    "  report FILE [FILE...] --kind full|mini|patient|clinical -o OUT.pdf\n"
    "         [--mode 0..3] [--paper a4|letter] [--sleep HH:MM --wake HH:MM]\n"
    "      Prints the report of each recording into one PDF file, one after\n"
    "      another, as the program prints it: the full report with every page\n"
    "      of the built-in format, the mini report or the patient report; or\n"
    "      the clinical sheet (clinical measures and 24-hour profile). Files\n"
    "      of other recorders and refused recordings are left out with their\n"
    "      message; the exit status is 1 then (or when nothing was printed).\n"
    "      --sleep/--wake replace the recordings' sleep and wake times for this\n"
    "      run only.\n";

namespace {

// The printable part of a sheet begins this far from the paper's edges.
constexpr double kPaperMarginMm = 5.0;

struct Kind {
    const char* name;
    ReportKind kind;
};
const Kind kKinds[] = {{"full", ReportKind::Full},
                       {"mini", ReportKind::Mini},
                       {"patient", ReportKind::Patient},
                       {"clinical", ReportKind::Clinical}};
constexpr int kKindCount = int(std::size(kKinds));

int usage(const QString& message)
{
    return usageError(kReportUsage, message);
}

// Messages of the report go to stderr as one line each, after the file's path.
struct StderrSink : MessageSink {
    QString path;
    void show(int stringId, int, MessageIcon) override
    {
        err(path + QStringLiteral(": ") + StringTable::text(stringId).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
};

} // namespace

int runReport(const QStringList& args)
{
    QStringList files;
    QString output;
    int kindIndex = -1;
    int mode = 0;
    QPageSize paper(QPageSize::A4);
    std::optional<std::pair<int, int>> sleep;
    std::optional<std::pair<int, int>> wake;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&]() { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            return printHelp(kReportUsage);
        } else if (a == QLatin1String("--kind")) {
            const QString name = next();
            kindIndex = -1;
            for (int k = 0; k < kKindCount; ++k)
                if (name == QLatin1String(kKinds[k].name))
                    kindIndex = k;
            if (kindIndex < 0)
                return usage(QStringLiteral("--kind takes full, mini, patient or clinical"));
        } else if (a == QLatin1String("-o")) {
            output = next();
        } else if (a == QLatin1String("--sleep") || a == QLatin1String("--wake")) {
            const auto t = parseClockTime(next());
            if (!t)
                return usage(QStringLiteral("%1 takes a time HH:MM").arg(a));
            (a == QLatin1String("--sleep") ? sleep : wake) = t;
        } else if (a == QLatin1String("--mode")) {
            bool ok = false;
            mode = next().toInt(&ok);
            if (!ok || !isValidBpMode(mode))
                return usage(QStringLiteral("--mode takes 0, 1, 2 or 3"));
        } else if (a == QLatin1String("--paper")) {
            const QString name = next();
            if (name == QLatin1String("a4"))
                paper = QPageSize(QPageSize::A4);
            else if (name == QLatin1String("letter"))
                paper = QPageSize(QPageSize::Letter);
            else
                return usage(QStringLiteral("--paper takes a4 or letter"));
        } else if (a.startsWith(QLatin1Char('-'))) {
            return usage(QStringLiteral("report: unexpected argument %1").arg(a));
        } else {
            files << a;
        }
    }
    if (files.isEmpty() || kindIndex < 0 || output.isEmpty())
        return usage(QStringLiteral("report needs FILE, --kind and -o"));
    if (QFileInfo(output).suffix().toLower() != QLatin1String("pdf"))
        return usage(QStringLiteral("-o takes a file ending in .pdf"));
    if (sleep.has_value() != wake.has_value())
        return usage(QStringLiteral("--sleep and --wake go together"));

    const ReportKind kind = kKinds[kindIndex].kind;
    const ReportFormat format = reportFormatFor(kind, std::uint8_t(mode));

    // The thresholds of data.d and the facility name of data.o, read-only.
    Session settingsOnly;
    storedThresholds(settingsOnly);
    if (QFileInfo::exists(settingsOnly.settings.filePath("data.o")))
        readDataO(settingsOnly, nullptr);

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        err(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
        return ExitFailure;
    }
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("ks318"));
    writer.setResolution(kReportDpi);
    writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait,
                                     QMarginsF(kPaperMarginMm, kPaperMarginMm, kPaperMarginMm, kPaperMarginMm),
                                     QPageLayout::Millimeter));

    StderrSink messages;
    int status = ExitOk;
    {
        ReportDocument document(writer);
        for (const QString& path : files) {
            Session session;
            session.settings = settingsOnly.settings;
            messages.path = path;
            OpenOptions options;
            options.mode = BpMode(mode);
            if (!openForCommand(session, path, options, messages)
                || (sleep && !setSleepTimes(session, *sleep, *wake))) {
                status = ExitFailure;
                continue;
            }
            const ReportResult result = printReportBody(document, session, format, kind, &messages);
            if (result == ReportResult::DeviceFailed) {
                err(QStringLiteral("cannot write %1").arg(output));
                return ExitFailure;
            }
            if (result != ReportResult::Printed)
                status = ExitFailure;
        }
        if (document.sheets() == 0)
            return ExitFailure;
        if (!document.finish()) {
            err(QStringLiteral("cannot write %1").arg(output));
            return ExitFailure;
        }
    }
    if (!file.commit()) {
        err(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
        return ExitFailure;
    }
    return status;
}

} // namespace ks318::cli
