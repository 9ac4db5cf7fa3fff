// ks318-cli summary FILE [--json | --clinical] [--mode 0..3]
//                        [--sleep HH:MM --wake HH:MM] [--thresholds S1/D1,S2/D2]
#include "commands.h"
#include "json.h"
#include "recording.h"

#include "analysis/clinicalmeasures.h"
#include "analysis/periodstatistics.h"
#include "session/clinicallines.h"
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
    "  summary FILE [--json | --clinical] [--mode 0..3] [--sleep HH:MM --wake HH:MM]\n"
    "          [--thresholds S1/D1,S2/D2]\n"
    "      The statistics of the summary page: the whole analysis interval, and\n"
    "      the daytime and night-time periods when sleep and wake times are set.\n"
    "      --sleep/--wake and --thresholds (awake pair, asleep pair) replace the\n"
    "      recording's times and the stored thresholds for this run only.\n"
    "      --json prints the full table with unrounded values and the clinical\n"
    "      measures (object \"clinical\"); --clinical prints the clinical measures\n"
    "      page (dipping, morning and evening pressure, surge, variability,\n"
    "      guideline thresholds, adequacy) as text.\n";

namespace {

struct Options {
    QString path;
    bool json = false;
    bool clinical = false;
    int mode = 0;
    std::optional<std::pair<int, int>> sleep;   // hour, minute
    std::optional<std::pair<int, int>> wake;
    std::optional<BpThresholds> thresholds;
};

const char* const kParameterKeys[kParameterCount] = {"SYS", "DIA", "MAP", "PULSE", "DP"};
const char* const kStatKeys[kStatCount] = {"min", "mean", "max", "sd", "se", "cv"};

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

void jsonMeasure(JsonWriter& j, const char* key, const Measure& v)
{
    if (v)
        j.value(key, *v);
    else
        j.null(key);
}

template <typename T>
void jsonOptional(JsonWriter& j, const char* key, const std::optional<T>& v)
{
    if (v)
        j.value(key, *v);
    else
        j.null(key);
}

void jsonMeans(JsonWriter& j, const char* key, const ClinicalMeans& m)
{
    j.beginObject(key);
    jsonMeasure(j, "sys", m.sys);
    jsonMeasure(j, "dia", m.dia);
    jsonMeasure(j, "pulse", m.pulse);
    jsonMeasure(j, "pp", m.pp);
    j.endObject();
}

void printClinicalJson(JsonWriter& j, const ClinicalMeasures& m)
{
    j.beginObject("clinical");
    j.beginObject("means");
    jsonMeans(j, "whole", m.whole);
    jsonMeans(j, "day", m.day);
    jsonMeans(j, "night", m.night);
    j.endObject();
    j.beginObject("dipping");
    jsonMeasure(j, "sysPercent", m.dipSysPercent);
    jsonMeasure(j, "diaPercent", m.dipDiaPercent);
    if (m.dipping)
        j.value("class", dippingClassName(*m.dipping));
    else
        j.null("class");
    j.endObject();
    j.beginObject("morning");
    jsonMeasure(j, "sys", m.morningSys);
    jsonMeasure(j, "dia", m.morningDia);
    jsonOptional(j, "count", m.morningCount);
    j.endObject();
    j.beginObject("evening");
    jsonMeasure(j, "sys", m.eveningSys);
    jsonMeasure(j, "dia", m.eveningDia);
    jsonOptional(j, "count", m.eveningCount);
    j.endObject();
    jsonMeasure(j, "meAverage", m.meAverage);
    jsonMeasure(j, "meDifference", m.meDifference);
    j.beginObject("surge");
    jsonMeasure(j, "prewaking", m.prewakingSurge);
    jsonMeasure(j, "sleepTrough", m.sleepTroughSurge);
    j.endObject();
    j.beginObject("arv");
    jsonMeasure(j, "sys", m.arvSys);
    jsonMeasure(j, "dia", m.arvDia);
    j.endObject();
    j.beginObject("weightedSd");
    jsonMeasure(j, "sys", m.weightedSdSys);
    jsonMeasure(j, "dia", m.weightedSdDia);
    j.endObject();
    jsonMeasure(j, "cvSys", m.cvSys);
    jsonMeasure(j, "aasi", m.aasi);
    j.beginObject("flags");
    jsonOptional(j, "whole", m.highWhole);
    jsonOptional(j, "day", m.highDay);
    jsonOptional(j, "night", m.highNight);
    jsonOptional(j, "morning", m.highMorning);
    jsonOptional(j, "isolatedNocturnal", m.isolatedNocturnal);
    j.endObject();
    j.beginObject("adequacy");
    jsonMeasure(j, "validPercent", m.validPercent);
    j.value("dayCount", m.dayCount);
    j.value("nightCount", m.nightCount);
    j.value("days", m.days);
    j.value("enough", m.enough);
    j.endObject();
    j.endObject();
}

// The clinical measures of the block in use, with the recording's (or the
// run's) sleep and wake times.
ClinicalMeasures clinicalMeasuresOf(const Session& session)
{
    const SessionState& s = session.state;
    return computeClinicalMeasures(session.data(), s.sleepHour, s.sleepMinute, s.wakeHour, s.wakeMinute);
}

void printJson(const Session& session, const Options& o, const BpThresholds& thresholds,
               const ClinicalMeasures& clinical)
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
    printClinicalJson(j, clinical);
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
        } else if (a == QLatin1String("--clinical")) {
            o.clinical = true;
        } else if (a == QLatin1String("--mode")) {
            bool ok = false;
            o.mode = next().toInt(&ok);
            if (!ok || !isValidBpMode(o.mode))
                return usage(QStringLiteral("--mode takes 0, 1, 2 or 3"));
        } else if (a == QLatin1String("--sleep") || a == QLatin1String("--wake")) {
            const auto t = parseClockTime(next());
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
    if (o.json && o.clinical)
        return usage(QStringLiteral("--json and --clinical go separately"));
    if (o.sleep.has_value() != o.wake.has_value())
        return usage(QStringLiteral("--sleep and --wake go together"));

    Session session;
    const BpThresholds thresholds = o.thresholds ? *o.thresholds : storedThresholds(session);
    OpenOptions options;
    options.mode = BpMode(o.mode);
    options.otherRecorders = true;
    if (!openForCommand(session, o.path, options))
        return ExitFailure;
    if (o.sleep && !setSleepTimes(session, *o.sleep, *o.wake))
        return ExitFailure;
    computePeriodStatistics(session, thresholds);

    const ClinicalMeasures clinical = clinicalMeasuresOf(session);
    if (o.json)
        printJson(session, o, thresholds, clinical);
    else if (o.clinical)
        printLines(clinicalTextLines(clinical));
    else
        printText(session, thresholds);
    return ExitOk;
}

} // namespace ks318::cli
