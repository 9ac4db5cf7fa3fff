// ks318-cli: the program's recordings from the command line.
#include "commands.h"

#include "records/bpdatafile.h"
#include "records/language.h"
#include "session/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>
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
    std::fprintf(to, "usage: ks318-cli [--lang ja|en] COMMAND [ARGS]\n       ks318-cli --version\n\n"
                     "--lang: the language of the texts printed (default: the locale's, from LANGUAGE,\n"
                     "LC_ALL, LC_MESSAGES, LANG; Japanese for ja); files written stay the same.\n\n"
                     "commands:\n");
    for (const Command& c : kCommands)
        std::fprintf(to, "%s", *c.usage);
}

// Qt's platform layer wants a private runtime folder and warns on stderr
// when XDG_RUNTIME_DIR names none (a root shell, a service, cron). Without
// one the drawing commands get a folder of their own for the run, made
// private by mkdtemp and removed at the end, so that a successful run
// prints nothing on stderr.
class RuntimeDir {
public:
    RuntimeDir()
    {
        const char* given = std::getenv("XDG_RUNTIME_DIR");
        if (given && *given)
            return;
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/ks318-runtime-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return;
        path_ = pattern;
        ::setenv("XDG_RUNTIME_DIR", path_.constData(), 1);
    }
    ~RuntimeDir()
    {
        if (!path_.isEmpty())
            QDir(QString::fromLocal8Bit(path_)).removeRecursively();
    }
    RuntimeDir(const RuntimeDir&) = delete;
    RuntimeDir& operator=(const RuntimeDir&) = delete;

private:
    QByteArray path_;
};

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

std::optional<std::pair<int, int>> parseClockTime(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt();
    const int n = m.captured(2).toInt();
    if (h > 23 || n > 59)
        return std::nullopt;
    return std::make_pair(h, n);
}

bool setSleepTimes(Session& session, std::pair<int, int> sleep, std::pair<int, int> wake)
{
    session.state.sleepHour = sleep.first;
    session.state.sleepMinute = sleep.second;
    session.state.wakeHour = wake.first;
    session.state.wakeMinute = wake.second;
    // The block in use is filled again, its readings classed by these times.
    if (!session.data())
        return true;
    const QString& path = session.state.currentFilePath;
    if (session.allocateData() && readBpDataFile(session, path, session.state.bpMode))
        return true;
    err(QStringLiteral("cannot read %1").arg(path));
    return false;
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
    // The command is the first argument after a leading --lang and its value.
    const int command = argc > 2 && std::strcmp(argv[1], "--lang") == 0 ? 3 : 1;
    const bool draws = argc > command
                       && (std::strcmp(argv[command], "plot") == 0 || std::strcmp(argv[command], "report") == 0);
    std::unique_ptr<RuntimeDir> runtimeDir;
    std::unique_ptr<QCoreApplication> app;
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    std::vector<char*> guiArgv;
    int guiArgc = argc + 2;
    if (draws) {
        guiArgv.assign(argv, argv + argc);
        guiArgv.insert(guiArgv.begin() + 1, {platform, offscreen});
        guiArgv.push_back(nullptr);
        runtimeDir = std::make_unique<RuntimeDir>();
        app = std::make_unique<QGuiApplication>(guiArgc, guiArgv.data());
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = app->arguments().mid(1);
    ks318::Language language = ks318::languageOfEnvironment();
    if (!args.isEmpty() && args[0] == QLatin1String("--lang")) {
        const qsizetype at = 0;
        const auto chosen = ks318::parseLanguage(args.value(at + 1));
        if (!chosen) {
            err(QStringLiteral("--lang takes ja or en"));
            printUsage(stderr);
            return ExitUsage;
        }
        language = *chosen;
        args.remove(at, 2);
    }
    ks318::applyLanguage(*app, language);
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
