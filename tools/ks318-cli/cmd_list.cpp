// ks318-cli list FILE [--mode 0..3] [--prepare] [--json]
#include "climessages.h"
#include "commands.h"
#include "json.h"
#include "recording.h"

#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/language.h"
#include "session/session.h"

#include <QDate>
#include <cstdio>

namespace ks318::cli {

const char* const kListUsage =
    "  list FILE [--mode 0..3] [--prepare] [--json]\n"
    "      The readings of analysis window 1 as the BP data list shows them\n"
    "      (number, date, time, SYS, DIA, MAP, pulse, DP, state, deletion mark,\n"
    "      comment), then the ten counters. --json prints every reading of the\n"
    "      file with its decoded fields, the counters and the patient section.\n"
    "      The file is opened as File > Open opens it: NAME.p30 is created when\n"
    "      it is missing (--prepare, kept for older scripts, changes nothing),\n"
    "      and the analysis window and the sleep times come from it. Refused\n"
    "      files print the window's message and exit 1; files of the other\n"
    "      recorder types are listed.\n";

namespace {

QString text(std::string_view cp932) { return fromCp932(cp932); }

QString dateText(const BpReading& r)
{
    return displayDate(QDate(int(r.year), r.month, r.day));
}

QString timeText(const BpReading& r)
{
    return QString::asprintf("%02u:%02u", unsigned(r.hour), unsigned(r.minute));
}

QString stateText(const BpReading& r)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%2s %s %2s", r.methodText.str().c_str(), r.eFlagText.str().c_str(),
                  r.errorText.str().c_str());
    return QString::fromLatin1(buf);
}

void printText(const Session& session)
{
    const SessionData& d = *session.data();
    int row = 0;
    for (std::uint32_t i = 0; i < d.readingCount(); ++i) {
        const BpReading& r = d.readings[i];
        if (r.windowMembership == OutsideWindows)
            continue;
        out(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\t%10\t%11")
                .arg(++row)
                .arg(dateText(r), timeText(r), text(r.sysText.view()), text(r.diaText.view()),
                     text(r.mapText.view()), text(r.pulseText.view()), text(r.dpText.view()), stateText(r))
                .arg(text(r.excludedText.view()), displayComment(r)));
    }
    for (const CounterName& c : kCounters)
        out(QStringLiteral("%1: %2").arg(QLatin1String(c.name)).arg(d.counters.*c.field));
}

void printJson(const Session& session)
{
    const SessionData& d = *session.data();
    JsonWriter j;
    j.beginObject();
    j.value("recorderType", code(session.state.recorderType));
    j.value("bpMode", code(session.state.bpMode));
    j.value("loaded", d.loaded);
    j.value("timeOrderError", session.state.timeOrderError);
    j.beginObject("counters");
    for (const CounterName& c : kCounters)
        j.value(c.name, d.counters.*c.field);
    j.endObject();
    j.beginObject("patient");
    j.value("name", d.name.toQString());
    j.value("idNumber", d.idNumber.toQString());
    j.value("address", d.address.toQString());
    j.value("phone", d.phone.toQString());
    j.value("ssNumber", d.ssNumber.toQString());
    j.value("medicare", d.medicare.toQString());
    j.value("insurance", d.insurance.toQString());
    j.value("age", d.age.toQString());
    j.value("sex", d.sex.toQString());
    j.value("height", d.height.toQString());
    j.value("weight", d.weight.toQString());
    j.value("comment1", d.comment1.toQString());
    j.value("comment2", d.comment2.toQString());
    j.value("comment3", d.comment3.toQString());
    j.endObject();
    j.beginArray("readings");
    for (std::uint32_t i = 0; i < d.readingCount(); ++i) {
        const BpReading& r = d.readings[i];
        j.beginObject();
        j.value("n", i + 1);
        j.value("date", QString::asprintf("%04u-%02u-%02u", r.year, unsigned(r.month), unsigned(r.day)));
        j.value("time", timeText(r));
        j.value("sys", r.sys);
        j.value("dia", unsigned(r.dia));
        j.value("map", unsigned(r.map));
        j.value("pulse", unsigned(r.pulse));
        j.value("doubleProduct", unsigned(r.doubleProduct));
        j.value("method", unsigned(r.method));
        j.value("methodText", r.methodText.toQString());
        j.value("eFlagText", r.eFlagText.toQString());
        j.value("errorCode", unsigned(r.errorCode));
        j.value("errorText", r.errorText.toQString());
        j.value("excluded", unsigned(r.excluded));
        j.value("excludedText", r.excludedText.toQString());
        j.value("comment", r.comment.toQString());
        j.value("windowMembership", unsigned(r.windowMembership));
        j.value("periodClass", unsigned(r.periodClass));
        j.endObject();
    }
    j.endArray();
    j.endObject();
    std::printf("%s\n", j.text().c_str());
}

} // namespace

int runList(const QStringList& args)
{
    QString path;
    bool json = false;
    int mode = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return printHelp(kListUsage);
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--prepare")) {
        } else if (a == QLatin1String("--mode")) {
            bool ok = false;
            mode = i + 1 < args.size() ? args[++i].toInt(&ok) : -1;
            if (!ok || !isValidBpMode(mode)) {
                err(QStringLiteral("--mode takes 0, 1, 2 or 3"));
                return ExitUsage;
            }
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            return usageError(kListUsage, QStringLiteral("list: unexpected argument %1").arg(a));
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        return usageError(kListUsage);

    Session session;
    OpenOptions options;
    options.mode = BpMode(mode);
    options.otherRecorders = true;
    if (!openForCommand(session, path, options))
        return ExitFailure;
    if (json)
        printJson(session);
    else
        printText(session);
    return ExitOk;
}

} // namespace ks318::cli
