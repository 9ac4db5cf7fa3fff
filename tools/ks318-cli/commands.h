#pragma once
#include <QStringList>

namespace ks318::cli {

// Exit statuses of every command.
enum Exit { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

int runList(const QStringList& args);
extern const char* const kListUsage;
int runInfo(const QStringList& args);
extern const char* const kInfoUsage;
int runSummary(const QStringList& args);
extern const char* const kSummaryUsage;
int runRecorder(const QStringList& args);
extern const char* const kRecorderUsage;

// Prints a line to stdout / stderr in UTF-8.
void out(const QString& line);
void err(const QString& line);

} // namespace ks318::cli
