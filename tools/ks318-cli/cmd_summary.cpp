// ks318-cli summary FILE [--json] [--mode 0..3] [--sleep HH:MM --wake HH:MM]
//                        [--thresholds S1/D1,S2/D2]
#include "commands.h"
#include "json.h"
#include "recording.h"

#include "analysis/periodstatistics.h"
#include "session/summarylines.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/settings.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "records/textformat.h"
#include "session/session.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <optional>

namespace ks318::cli {

const char* const kSummaryUsage =
    "  summary FILE [--json] [--mode 0..3] [--sleep HH:MM --wake HH:MM]\n"
    "          [--thresholds S1/D1,S2/D2]\n"
    "      The statistics of the summary page: the whole analysis interval, and\n"
    "      the daytime and night-time periods when sleep and wake times are set.\n"
    "      --sleep/--wake and --thresholds (awake pair, asleep pair) replace the\n"
    "      recording's times and the stored thresholds for this run only.\n"
    "      --json prints the full table with unrounded values.\n";

namespace {

struct Options {
    QString path;
    bool json = false;
    int mode = 0;
    std::optional<std::pair<int, int>> sleep;   // hour, minute
    std::optional<std::pair<int, int>> wake;
    std::optional<BpThresholds> thresholds;
};

const char* const kParameterKeys[kParameterCount] = {"SYS", "DIA", "MAP", "PULSE", "DP"};
const char* const kStatKeys[kStatCount] = {"min", "mean", "max", "sd", "se", "cv"};

std::optional<std::pair<int, int>> parseTime(const QString& text)
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

// "S1/D1,S2/D2", each 10..300 with SYS above DIA, as the settings accept them.
std::optional<BpThresholds> parseThresholds(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,3})/(\\d{1,3}),(\\d{1,3})/(\\d{1,3})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = m.captured(i + 1).toInt();
        if (v[i] < 10 || v[i] > 300)
            return std::nullopt;
    }
    if (v[0] <= v[1] || v[2] <= v[3])
        return std::nullopt;
    BpThresholds t;
    t.awakeSys = v[0];
    t.awakeDia = v[1];
    t.asleepSys = v[2];
    t.asleepDia = v[3];
    return t;
}

int usage(const QString& message)
{
    return usageError(kSummaryUsage, message);
}

bool showsDayNight(const SessionState& s) { return s.sleepHour != -1 && s.wakeHour != -1; }

// --- text ------------------------------------------------------------------

void printLines(const QStringList& lines)
{
    for (const QString& line : lines)
        out(line);
}

void printText(const Session& session, const BpThresholds& thresholds)
{
    out(summaryModeLine(code(session.state.bpMode)));
    out(QString());
    printLines(summaryBlockLines(session, thresholds, WholePeriod));
    out(summaryClosingLine());
    if (showsDayNight(session.state)) {
        out(QString());
        printLines(summaryBlockLines(session, thresholds, AwakePeriod));
        out(summaryClosingLine());
        out(QString());
        printLines(summaryBlockLines(session, thresholds, AsleepPeriod));
    }
}

// --- JSON ------------------------------------------------------------------

QString isoTime(const ExtremeTime& t)
{
    return formatText("%04d-%02d-%02dT%02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
}

void jsonTimeOrNull(JsonWriter& j, const char* key, int hour, int minute)
{
    if (hour < 0 || minute < 0)
        j.null(key);
    else
        j.value(key, clockText(hour, minute));
}

void printJson(const Session& session, const Options& o, const BpThresholds& thresholds)
{
    const SessionState& s = session.state;
    const SessionData& d = *session.data();
    const PeriodStatistics& st = session.stats;
    JsonWriter j;
    j.beginObject();
    j.value("file", o.path);
    j.value("recorderType", code(s.recorderType));
    j.value("bpMode", code(s.bpMode));
    jsonTimeOrNull(j, "sleep", s.sleepHour, s.sleepMinute);
    jsonTimeOrNull(j, "wake", s.wakeHour, s.wakeMinute);
    j.beginObject("thresholds");
    j.beginArray("awake").value({}, thresholds.awakeSys).value({}, thresholds.awakeDia).endArray();
    j.beginArray("asleep").value({}, thresholds.asleepSys).value({}, thresholds.asleepDia).endArray();
    j.endObject();
    j.beginObject("counters");
    for (const CounterName& c : kCounters)
        j.value(c.name, d.counters.*c.field);
    j.endObject();

    j.beginArray("periods");
    const int shown[] = {WholePeriod, AwakePeriod, AsleepPeriod};
    for (int p : shown) {
        if (p != WholePeriod && !showsDayNight(s))
            continue;
        const std::uint32_t n = periodCount(d.counters, p);
        const std::uint32_t total = periodTotal(d.counters, p);
        j.beginObject();
        j.value("period", p);
        j.value("n", n);
        j.value("total", total);
        j.beginObject("stats");
        for (int k = 0; k < kParameterCount; ++k) {
            j.beginObject(kParameterKeys[k]);
            for (int v = 0; v < kStatCount; ++v)
                j.value(kStatKeys[v], st.stat[p][k][v]);
            j.endObject();
        }
        j.endObject();
        j.value("sysAbove", int(st.sysAboveCount[p]));
        j.value("diaAbove", int(st.diaAboveCount[p]));
        j.value("sysAbovePct", aboveThresholdPercent(st.sysAboveCount[p], n));
        j.value("diaAbovePct", aboveThresholdPercent(st.diaAboveCount[p], n));
        j.value("notCounted", notCountedCount(total, n));
        j.value("notCountedPct", notCountedPercent(total, n));
        j.beginObject("extremes");
        const std::pair<const char*, ExtremeKind> extremes[] = {
            {"lowestSys", LowestSys}, {"highestSys", HighestSys}, {"lowestDia", LowestDia}, {"highestDia", HighestDia}};
        for (const auto& [key, kind] : extremes) {
            if (n == 0)
                j.null(key);
            else
                j.value(key, isoTime(st.extremes[p][kind]));
        }
        j.endObject();
        if (p <= PartialPeriod) {
            j.beginObject("regression");
            const std::pair<const char*, RegressionPair> pairs[] = {{"sysOnDia", SysOnDia}, {"sysOnPulse", SysOnPulse}};
            for (const auto& [key, pair] : pairs) {
                const Regression& g = st.regression[p][pair];
                j.beginObject(key);
                j.value("r", g.r);
                j.value("slope", g.slope);
                j.value("intercept", g.intercept);
                j.endObject();
            }
            j.endObject();
        }
        j.endObject();
    }
    j.endArray();
    j.endObject();
    std::printf("%s\n", j.text().c_str());
}

} // namespace

int runSummary(const QStringList& args)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&]() { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return printHelp(kSummaryUsage);
        if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--mode")) {
            bool ok = false;
            o.mode = next().toInt(&ok);
            if (!ok || !isValidBpMode(o.mode))
                return usage(QStringLiteral("--mode takes 0, 1, 2 or 3"));
        } else if (a == QLatin1String("--sleep") || a == QLatin1String("--wake")) {
            const auto t = parseTime(next());
            if (!t)
                return usage(QStringLiteral("%1 takes a time HH:MM").arg(a));
            (a == QLatin1String("--sleep") ? o.sleep : o.wake) = t;
        } else if (a == QLatin1String("--thresholds")) {
            o.thresholds = parseThresholds(next());
            if (!o.thresholds)
                return usage(QStringLiteral("--thresholds takes S1/D1,S2/D2, each 10..300 with SYS above DIA"));
        } else if (a.startsWith(QLatin1String("--")) || !o.path.isEmpty()) {
            return usage(QStringLiteral("summary: unexpected argument %1").arg(a));
        } else {
            o.path = a;
        }
    }
    if (o.path.isEmpty())
        return usage(QString());
    if (o.sleep.has_value() != o.wake.has_value())
        return usage(QStringLiteral("--sleep and --wake go together"));

    Session session;
    const BpThresholds thresholds = o.thresholds ? *o.thresholds : storedThresholds(session);
    OpenOptions options;
    options.mode = BpMode(o.mode);
    options.otherRecorders = true;
    if (!openForCommand(session, o.path, options))
        return ExitFailure;
    if (o.sleep) {
        // The times of this run: the block is filled again with them.
        session.state.sleepHour = o.sleep->first;
        session.state.sleepMinute = o.sleep->second;
        session.state.wakeHour = o.wake->first;
        session.state.wakeMinute = o.wake->second;
        if (!session.allocateData() || !readBpDataFile(session, o.path, session.state.bpMode)) {
            err(QStringLiteral("cannot read %1").arg(o.path));
            return ExitFailure;
        }
    }
    computePeriodStatistics(session, thresholds);

    if (o.json)
        printJson(session, o, thresholds);
    else
        printText(session, thresholds);
    return ExitOk;
}

} // namespace ks318::cli
