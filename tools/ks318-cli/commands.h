#pragma once
#include "records/sessiondata.h"

#include <QStringList>
#include <optional>
#include <utility>

namespace ks318 {
class Session;
}

namespace ks318::cli {

// The ten counters of a block under the names the JSON output gives them.
struct CounterName {
    const char* name;
    std::uint32_t PeriodCounters::*field;
};

inline constexpr CounterName kCounters[] = {
    {"readingCount", &PeriodCounters::readingCount},
    {"inWindow1", &PeriodCounters::inWindow1},
    {"inWindow2", &PeriodCounters::inWindow2},
    {"awakeInWindow1", &PeriodCounters::awakeInWindow1},
    {"asleepInWindow1", &PeriodCounters::asleepInWindow1},
    {"validTotal", &PeriodCounters::validTotal},
    {"validInWindow1", &PeriodCounters::validInWindow1},
    {"validInWindow2", &PeriodCounters::validInWindow2},
    {"validAwake", &PeriodCounters::validAwake},
    {"validAsleep", &PeriodCounters::validAsleep},
};

// Exit statuses of every command.
enum Exit { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

// "HH:MM" (00:00..23:59) as hour and minute; nothing for another text.
std::optional<std::pair<int, int>> parseClockTime(const QString& text);

// Replaces the open recording's sleep and wake times for this run only
// (nothing is written back).
bool setSleepTimes(Session& session, std::pair<int, int> sleep, std::pair<int, int> wake);

int runList(const QStringList& args);
extern const char* const kListUsage;
int runInfo(const QStringList& args);
extern const char* const kInfoUsage;
int runSummary(const QStringList& args);
extern const char* const kSummaryUsage;
int runRecorder(const QStringList& args);
extern const char* const kRecorderUsage;
int runCsv(const QStringList& args);
extern const char* const kCsvUsage;
int runMerge(const QStringList& args);
extern const char* const kMergeUsage;
int runPlot(const QStringList& args);
extern const char* const kPlotUsage;
int runReport(const QStringList& args);
extern const char* const kReportUsage;

// Prints `usage` to stdout for --help; returns ExitOk.
int printHelp(const char* usage);
// Prints `message` (when not empty) and `usage` to stderr; returns ExitUsage.
int usageError(const char* usage, const QString& message = QString());

// Prints a line to stdout / stderr in UTF-8.
void out(const QString& line);
void err(const QString& line);

} // namespace ks318::cli
