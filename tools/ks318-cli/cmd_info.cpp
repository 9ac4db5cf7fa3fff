// ks318-cli info FILE [--json]
#include "climessages.h"
#include "commands.h"
#include "recording.h"
#include "json.h"

#include "records/companionfile.h"
#include "records/daycount.h"
#include "session/session.h"
#include "records/shortdate.h"

#include <cstdio>
#include <functional>

namespace ks318::cli {

const char* const kInfoUsage =
    "  info FILE [--json]\n"
    "      The three records of the companion file NAME.p30 of FILE, field by\n"
    "      field: PatientRecord, AnalysisIntervals and RecordingSpan. Dates and\n"
    "      times are also given as ISO text. FILE is opened as File > Open\n"
    "      opens it (NAME.p30 is created when missing); files the window refuses\n"
    "      print its message and exit 1, files of the other recorders are shown.\n";

namespace {

QString isoDate(double dayCount)
{
    return dateOfDayCount(dayCount).toString(Qt::ISODate);
}

QString isoTime(double fraction)
{
    const std::int64_t minutes = ((minutesFromDayCount(fraction) % 1440) + 1440) % 1440;
    return QString::asprintf("%02d:%02d", int(minutes / 60), int(minutes % 60));
}

QString isoPoint(const SpanPoint& p)
{
    return QString::asprintf("%04u-%02u-%02uT%02u:%02u", unsigned(p.year), unsigned(p.month), unsigned(p.day),
                             unsigned(p.hour), unsigned(p.minute));
}

// One visitor serves the text and the JSON output, so both list the same
// fields in the same order.
struct FieldSink {
    std::function<void(const char*)> begin;  // a group (null name ends it)
    std::function<void(const char*, long long)> number;
    std::function<void(const char*, double)> real;
    std::function<void(const char*, const QString&)> text;
};

template <std::size_t N>
void textField(const FieldSink& s, const char* name, const TextField<N>& field)
{
    s.text(name, field.toQString());
}

void visitPatient(const PatientRecord& p, const FieldSink& s)
{
    s.begin("PatientRecord");
    s.number("valid", p.valid);
    s.number("recordingHours", p.recordingHours);
    s.number("recorderType", p.recorderType);
    textField(s, "startDateText", p.startDateText);
    textField(s, "startTimeText", p.startTimeText);
    s.number("recorderId", p.recorderId);
    textField(s, "patientName", p.patientName);
    textField(s, "patientAddress", p.patientAddress);
    textField(s, "patientPhone", p.patientPhone);
    textField(s, "physicianName", p.physicianName);
    textField(s, "physicianAddress", p.physicianAddress);
    textField(s, "physicianPhone", p.physicianPhone);
    textField(s, "socialSecurityNumber", p.socialSecurityNumber);
    textField(s, "insurance", p.insurance);
    textField(s, "medicareNumber", p.medicareNumber);
    textField(s, "age", p.age);
    textField(s, "sex", p.sex);
    textField(s, "height", p.height);
    textField(s, "weight", p.weight);
    textField(s, "medications", p.medications);
    textField(s, "comments", p.comments);
    textField(s, "day1SleepTime", p.day1SleepTime);
    textField(s, "day1WakeTime", p.day1WakeTime);
    textField(s, "day2SleepTime", p.day2SleepTime);
    textField(s, "day2WakeTime", p.day2WakeTime);
    s.begin(nullptr);
}

void visitIntervals(const AnalysisIntervals& a, const FieldSink& s)
{
    static const char* const kGroups[4] = {"interval1Offset", "interval1Length", "interval2Offset",
                                           "interval2Length"};
    s.begin("AnalysisIntervals");
    s.number("valid", a.valid);
    s.number("interval1DayOffset", a.interval1DayOffset);
    s.real("interval1StartDate", a.interval1StartDate);
    s.text("interval1StartDateIso", isoDate(a.interval1StartDate));
    s.number("reserved", a.reserved);
    s.number("interval2DayOffset", a.interval2DayOffset);
    s.real("interval2StartDate", a.interval2StartDate);
    s.text("interval2StartDateIso", isoDate(a.interval2StartDate));
    s.real("interval1StartTime", a.interval1StartTime);
    s.text("interval1StartTimeIso", isoTime(a.interval1StartTime));
    s.number("interval1Hours", a.interval1Hours);
    s.real("interval2StartTime", a.interval2StartTime);
    s.text("interval2StartTimeIso", isoTime(a.interval2StartTime));
    s.number("interval2Hours", a.interval2Hours);
    for (std::size_t g = 0; g < a.scroll.size(); ++g) {
        s.begin(kGroups[g]);
        s.number("position", a.scroll[g].position);
        s.number("minimum", a.scroll[g].minimum);
        s.number("maximum", a.scroll[g].maximum);
        s.number("largeStep", a.scroll[g].largeStep);
        s.number("smallStep", a.scroll[g].smallStep);
        s.begin(nullptr);
    }
    s.begin(nullptr);
}

void visitPoint(const char* name, const SpanPoint& p, const FieldSink& s)
{
    s.begin(name);
    s.number("year", p.year);
    s.number("month", p.month);
    s.number("day", p.day);
    s.number("hour", p.hour);
    s.number("minute", p.minute);
    s.text("iso", isoPoint(p));
    s.real("date", p.date);
    s.text("dateIso", isoDate(p.date));
    s.real("timeOfDay", p.timeOfDay);
    s.text("timeOfDayIso", isoTime(p.timeOfDay));
    s.begin(nullptr);
}

void visitSpan(const RecordingSpan& r, const FieldSink& s)
{
    s.begin("RecordingSpan");
    s.number("valid", r.valid);
    visitPoint("first", r.first, s);
    visitPoint("last", r.last, s);
    s.begin(nullptr);
}

void visitAll(const Session& session, const FieldSink& s)
{
    visitPatient(session.patient, s);
    visitIntervals(session.intervals, s);
    visitSpan(session.span, s);
}

void printText(const Session& session)
{
    QStringList path;
    auto name = [&](const char* field) {
        QStringList parts = path.mid(1);
        parts << QLatin1String(field);
        return parts.join(QLatin1Char('.'));
    };
    FieldSink s;
    s.begin = [&](const char* group) {
        if (!group) {
            path.removeLast();
            return;
        }
        if (path.isEmpty())
            out(QStringLiteral("[%1]").arg(QLatin1String(group)));
        path << QLatin1String(group);
    };
    s.number = [&](const char* field, long long v) { out(QStringLiteral("%1: %2").arg(name(field)).arg(v)); };
    s.real = [&](const char* field, double v) {
        out(QStringLiteral("%1: %2").arg(name(field), QString::number(v, 'g', 17)));
    };
    s.text = [&](const char* field, const QString& v) { out(QStringLiteral("%1: %2").arg(name(field), v)); };
    visitAll(session, s);
}

void printJson(const Session& session)
{
    JsonWriter j;
    j.beginObject();
    FieldSink s;
    s.begin = [&](const char* group) {
        if (group)
            j.beginObject(group);
        else
            j.endObject();
    };
    s.number = [&](const char* field, long long v) { j.value(field, v); };
    s.real = [&](const char* field, double v) { j.value(field, v); };
    s.text = [&](const char* field, const QString& v) { j.value(field, v); };
    visitAll(session, s);
    j.endObject();
    std::printf("%s\n", j.text().c_str());
}

} // namespace

int runInfo(const QStringList& args)
{
    QString path;
    bool json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return printHelp(kInfoUsage);
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            return usageError(kInfoUsage, QStringLiteral("info: unexpected argument %1").arg(a));
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        return usageError(kInfoUsage);
    Session session;
    OpenOptions options;
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
