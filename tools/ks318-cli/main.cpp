// ks318-cli: the program's recordings from the command line.
#include "commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace ks318::cli;

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&);
    const char* const* usage;
};

const Command kCommands[] = {
    {"list", runList, &kListUsage},
    {"info", runInfo, &kInfoUsage},
    {"summary", runSummary, &kSummaryUsage},
    {"recorder", runRecorder, &kRecorderUsage},
    {"csv", runCsv, &kCsvUsage},
    {"merge", runMerge, &kMergeUsage},
    {"plot", runPlot, &kPlotUsage},
    {"report", runReport, &kReportUsage},
};

void printUsage(FILE* to)
{
    std::fprintf(to, "usage: ks318-cli COMMAND [ARGS]\n       ks318-cli --version\n\ncommands:\n");
    for (const Command& c : kCommands)
        std::fprintf(to, "%s", *c.usage);
}

} // namespace

namespace ks318::cli {

void out(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

int printHelp(const char* usage)
{
    std::printf("usage: ks318-cli\n%s", usage);
    return ExitOk;
}

int usageError(const char* usage, const QString& message)
{
    if (!message.isEmpty())
        err(message);
    std::fprintf(stderr, "usage: ks318-cli\n%s", usage);
    return ExitUsage;
}

void err(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fprintf(stderr, "ks318-cli: %s\n", bytes.constData());
}

} // namespace ks318::cli

int main(int argc, char** argv)
{
    // The commands that draw get a GUI application on the off-screen
    // platform, so they run without a display; the others stay QtCore only.
    const bool draws = argc > 1 && (std::strcmp(argv[1], "plot") == 0 || std::strcmp(argv[1], "report") == 0);
    std::unique_ptr<QCoreApplication> app;
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    std::vector<char*> guiArgv;
    int guiArgc = argc + 2;
    if (draws) {
        guiArgv.assign(argv, argv + argc);
        guiArgv.insert(guiArgv.begin() + 1, {platform, offscreen});
        guiArgv.push_back(nullptr);
        app = std::make_unique<QGuiApplication>(guiArgc, guiArgv.data());
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = app->arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return ExitUsage;
    }
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") || args[0] == QLatin1String("help")) {
        printUsage(stdout);
        return ExitOk;
    }
    if (args[0] == QLatin1String("--version")) {
        std::printf("ks318-cli %s\n", KS318_VERSION);
        return ExitOk;
    }
    for (const Command& c : kCommands) {
        if (args[0] == QLatin1String(c.name))
            return c.run(args.mid(1));
    }
    err(QStringLiteral("unknown command %1").arg(args[0]));
    printUsage(stderr);
    return ExitUsage;
}
