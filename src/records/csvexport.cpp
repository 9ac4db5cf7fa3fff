#include "csvexport.h"

#include "bpdatafile.h"
#include "dataset.h"
#include "filenames.h"
#include "messages.h"
#include "recording.h"
#include "shortdate.h"

#include <QFileInfo>
#include <cstdio>

namespace ks318 {

namespace {

// Every line ends as a file written in text mode ends it.
void endLine(QByteArray& out)
{
    out.append("\r\n");
}

void appendQuoted(QByteArray& out, std::string_view text)
{
    const std::string quoted = csvQuoted(text);
    out.append(quoted.data(), qsizetype(quoted.size()));
}

void appendHeader(QByteArray& out, std::initializer_list<const char*> names)
{
    bool first = true;
    for (const char* name : names) {
        if (!first)
            out.append(',');
        first = false;
        appendQuoted(out, name);
    }
    endLine(out);
}

enum class Methods { Oscillometric, Both, Korotkoff };

Methods methodsOf(RecorderType type)
{
    switch (type) {
    case RecorderType::Ks318:
    case RecorderType::Rv5730:
        return Methods::Oscillometric;
    case RecorderType::Rv5721:
    case RecorderType::Rv5725:
        return Methods::Both;
    default:
        return Methods::Korotkoff;
    }
}

// SYS, DIA, PUL, ERR, EXC of one method; the three values blank for an error.
void appendMethod(QByteArray& out, unsigned pulsePressure, unsigned dia, unsigned pulse, unsigned error,
                  unsigned excluded)
{
    char text[64];
    const int err = error != 0 ? 1 : 0;
    const int exc = excluded != 0 ? 1 : 0;
    if (err)
        std::snprintf(text, sizeof text, " , , ,%d,%d", err, exc);
    else
        std::snprintf(text, sizeof text, "%u,%u,%u,%d,%d", pulsePressure + dia, dia, pulse, err, exc);
    out.append(text);
}

void appendSleepPair(QByteArray& out, const PatientRecord* patient, const TextField<11>& sleep,
                     const TextField<11>& wake)
{
    if (!patient) {
        out.append("\" \",\" \"");
    } else {
        appendQuoted(out, sleep.view());
        out.append(',');
        appendQuoted(out, wake.view());
    }
    endLine(out);
}

} // namespace

std::string csvQuoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    // A CP932 trail byte is never 0x22, so every '"' byte is a double quote.
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
    return out;
}

QByteArray formatCsv(const SessionData& data, RecorderType type, const PatientRecord* patient, bool twoNights)
{
    QByteArray out;
    out.reserve(512 + int(data.readingCount()) * 48);

    appendHeader(out, {"PATIENT NAME", "SEX", "AGE"});
    if (patient) {
        appendQuoted(out, patient->patientName.view());
        out.append(',');
        appendQuoted(out, patient->sex.view());
        out.append(',');
        appendQuoted(out, patient->age.view());
    } else {
        out.append("\" \",\" \",\" \"");
    }
    endLine(out);

    static const TextField<11> kNone;
    if (twoNights) {
        appendHeader(out, {"SLEEP TIME1", "WAKE TIME1"});
        appendSleepPair(out, patient, patient ? patient->day1SleepTime : kNone, patient ? patient->day1WakeTime : kNone);
        appendHeader(out, {"SLEEP TIME2", "WAKE TIME2"});
        appendSleepPair(out, patient, patient ? patient->day2SleepTime : kNone, patient ? patient->day2WakeTime : kNone);
    } else {
        appendHeader(out, {"SLEEP TIME", "WAKE TIME"});
        appendSleepPair(out, patient, patient ? patient->day1SleepTime : kNone, patient ? patient->day1WakeTime : kNone);
    }

    const Methods methods = methodsOf(type);
    switch (methods) {
    case Methods::Oscillometric:
        appendHeader(out, {"DATE", "TIME", "SYS(O)", "DIA(O)", "PUL(O)", "ERR(O)", "EXC(O)"});
        break;
    case Methods::Both:
        appendHeader(out, {"DATE", "TIME", "SYS(K)", "DIA(K)", "PUL(K)", "ERR(K)", "EXC(K)", "SYS(O)", "DIA(O)",
                           "PUL(O)", "ERR(O)", "EXC(O)"});
        break;
    case Methods::Korotkoff:
        appendHeader(out, {"DATE", "TIME", "SYS(K)", "DIA(K)", "PUL(K)", "ERR(K)", "EXC(K)"});
        break;
    }

    const std::uint32_t count = std::min<std::uint32_t>(data.readingCount(), kMaxReadings);
    // Readings of one day follow each other: the date text is made once a day.
    QDate shownDate;
    std::string dateText;
    for (std::uint32_t i = 0; i < count; ++i) {
        const BpReading& r = data.readings[i];
        if (r.windowMembership == OutsideWindows)
            continue;
        const QDate date(int(r.year), r.month, r.day);
        if (date != shownDate || i == 0) {
            shownDate = date;
            dateText = shortDateCp932(date);
        }
        appendQuoted(out, dateText);
        char time[16];
        std::snprintf(time, sizeof time, "%02u:%02u", unsigned(r.hour), unsigned(r.minute));
        char timeField[24];
        std::snprintf(timeField, sizeof timeField, ",\"%5s\",", time);
        out.append(timeField);
        if (methods != Methods::Oscillometric) {
            appendMethod(out, r.korPulsePressure, r.korDia, r.korPulse, r.korError, r.korExcluded);
            if (methods == Methods::Both)
                out.append(',');
        }
        if (methods != Methods::Korotkoff)
            appendMethod(out, r.oscPulsePressure, r.oscDia, r.oscPulse, r.oscError, r.oscExcluded);
        endLine(out);
    }
    return out;
}

QString csvFilePath(const QString& path)
{
    return replaceExtension(path, QStringLiteral(".csv"));
}

bool exportCsv(const QString& path, MessageSink* messages)
{
    // A session of its own: preparing the chosen file would otherwise replace
    // the description of the current recording for the time of the export.
    Recording subject;
    prepareDataSet(subject, path, QString(), messages);
    if (!subject.allocateData())
        return false;
    // The raw fields of each method are what is exported; BpMode 2 reads them
    // without the oscillometric fallback of the display modes.
    if (!readBpDataFile(subject, path, BpMode::KorotkoffOnly))
        return false;

    const PatientRecord* patient = subject.patient.valid ? &subject.patient : nullptr;
    const bool twoNights = patient && patient->recorderType == std::uint8_t(code(RecorderType::Rv5725))
                           && patient->recordingHours == 48;
    const QByteArray text = formatCsv(*subject.data(), subject.state.recorderType, patient, twoNights);
    subject.freeData();
    if (writeFileAtomically(csvFilePath(path), text))
        return true;
    showMessage(messages, kWriteFailedId, kErrorCaptionId, MessageIcon::Warning);
    return false;
}

} // namespace ks318
