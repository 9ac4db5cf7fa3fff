// ks318-cli: the program's recordings from the command line.
#include "commands.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

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
};

void printUsage(FILE* to)
{
    std::fprintf(to, "usage: ks318-cli COMMAND [ARGS]\n\ncommands:\n");
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
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return ExitUsage;
    }
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") || args[0] == QLatin1String("help")) {
        printUsage(stdout);
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
