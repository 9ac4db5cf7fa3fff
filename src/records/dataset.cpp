#include "dataset.h"

#include "companionfile.h"
#include "daycount.h"
#include "messages.h"
#include "recording.h"
#include "shortdate.h"

#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cmath>

namespace ks318 {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Up to two digits after optional blanks, as "%2d" takes them (no sign: a
// time of day has none).
bool readTwoDigits(std::string_view text, std::size_t& pos, int& value)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < 2 && isDigit(text[pos]))
        value = value * 10 + (text[pos++] - '0');
    return pos > start;
}

void setWindow(SessionState::Window& w, double startDate, double startTime, std::uint32_t hours,
               std::uint32_t dayOffset)
{
    const QDate date = dateOfDayCount(startDate);
    if (date.isValid()) {
        w.year = date.year();
        w.month = date.month();
        w.day = date.day();
    }
    const std::int64_t minutes = minutesFromDayCount(startTime);
    const std::int64_t ofDay = ((minutes % 1440) + 1440) % 1440;
    w.hour = static_cast<int>(ofDay / 60);
    w.minute = static_cast<int>(ofDay % 60);
    w.hours = static_cast<int>(std::min<std::uint32_t>(hours, INT_MAX));
    w.dayOffset = static_cast<int>(std::min<std::uint32_t>(dayOffset, INT_MAX));
}

SessionState::Point pointOf(const SpanPoint& p)
{
    return SessionState::Point{p.year, p.month, p.day, p.hour, p.minute};
}

template <std::size_t N>
void normalizeClockField(TextField<N>& field)
{
    if (!field.empty())
        field.assign(normalizedClockText(field.view()));
}

} // namespace

std::string normalizedClockText(std::string_view text)
{
    if (text.empty() || text.find(':') != std::string_view::npos)
        return std::string(text);
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), isDigit))
        return std::string(text);
    // Four digits already are two two-digit numbers: only the colon is added.
    std::string out(text.substr(0, 2));
    out += ':';
    out += text.substr(2, 2);
    return out;
}

bool parseClockText(std::string_view text, int& hour, int& minute)
{
    std::size_t pos = 0;
    int h = 0;
    int m = 0;
    if (!readTwoDigits(text, pos, h) || pos >= text.size() || text[pos] != ':')
        return false;
    ++pos;
    if (!readTwoDigits(text, pos, m))
        return false;
    if (h > 23 || m > 59)
        return false;
    hour = h;
    minute = m;
    return true;
}

void applyDataSetRecords(Recording& session)
{
    SessionState& state = session.state;
    PatientRecord& patient = session.patient;

    state.sleepHour = state.sleepMinute = state.wakeHour = state.wakeMinute = -1;
    if (patient.valid) {
        state.recordingHours = patient.recordingHours;
        state.recorderType = static_cast<RecorderType>(patient.recorderType);
        state.patientName = patient.patientName.view();
        const QDate first = session.span.valid
                                ? QDate(session.span.first.year, session.span.first.month, session.span.first.day)
                                : QDate();
        state.startDateText.assign(first.isValid() ? shortDateCp932(first) : patient.startDateText.str());
        state.startTimeText = patient.startTimeText.view();

        normalizeClockField(patient.day1SleepTime);
        normalizeClockField(patient.day1WakeTime);
        normalizeClockField(patient.day2SleepTime);
        normalizeClockField(patient.day2WakeTime);
        if ((patient.day1SleepTime == "00:00" && patient.day1WakeTime == "00:00")
            || (patient.day1SleepTime == "0:00" && patient.day1WakeTime == "0:00")) {
            patient.day1SleepTime.clear();
            patient.day1WakeTime.clear();
        }

        state.windowTitleText = state.fileBaseName + QStringLiteral(" : ") + state.patientName.toQString()
                                + QStringLiteral("  ") + displayStoredDate(state.startDateText.toQString());

        int sh = -1, sm = -1, wh = -1, wm = -1;
        if (!patient.day1SleepTime.empty() && !patient.day1WakeTime.empty()
            && parseClockText(patient.day1SleepTime.view(), sh, sm)
            && parseClockText(patient.day1WakeTime.view(), wh, wm)) {
            state.sleepHour = sh;
            state.sleepMinute = sm;
            state.wakeHour = wh;
            state.wakeMinute = wm;
        }
    } else {
        // Texts of the recording shown before must not pass for this one's.
        state.patientName.clear();
        state.startDateText.clear();
        state.startTimeText.clear();
        state.windowTitleText.clear();
    }

    state.window1 = SessionState::Window();
    state.window2 = SessionState::Window();
    state.analysisMinutes = -1;
    const AnalysisIntervals& a = session.intervals;
    if (a.valid) {
        setWindow(state.window1, a.interval1StartDate, a.interval1StartTime, a.interval1Hours, a.interval1DayOffset);
        setWindow(state.window2, a.interval2StartDate, a.interval2StartTime, a.interval2Hours, a.interval2DayOffset);
        state.analysisMinutes = static_cast<int>(std::min<std::uint64_t>(std::uint64_t(a.interval1Hours) * 60, INT_MAX));
    }

    state.spanFirst = SessionState::Point();
    state.spanLast = SessionState::Point();
    if (session.span.valid) {
        state.spanFirst = pointOf(session.span.first);
        state.spanLast = pointOf(session.span.last);
    }
}

namespace {

void setPreparedPath(SessionState& state, const QString& path)
{
    const QFileInfo info(path);
    state.preparedFilePath = path;
    state.fileDirectory = info.absolutePath();
    state.fileBaseName = info.completeBaseName();
}

} // namespace

void holdRecordsInMemory(Recording& session, const QString& path)
{
    session.patient.valid = 1;
    session.intervals.valid = 1;
    session.span.valid = 1;
    setPreparedPath(session.state, path);
    applyDataSetRecords(session);
    session.state.companionInMemory = true;
}

bool readDataSetRecords(Recording& session, const QString& path, MessageSink* messages)
{
    return readDataSetRecords(session, RecordingFiles::resolve(path), messages);
}

bool readDataSetRecords(Recording& session, const RecordingFiles& files, MessageSink* messages)
{
    const bool read = readCompanionFile(session, files, messages);
    if (!read) {
        session.patient.valid = 0;
        session.intervals.valid = 0;
        session.span.valid = 0;
    }
    setPreparedPath(session.state, files.path);
    session.state.companionInMemory = false;
    applyDataSetRecords(session);
    return read;
}

bool prepareDataSet(Recording& session, const QString& path, const QString& patientName, MessageSink* messages)
{
    return prepareDataSet(session, RecordingFiles::resolve(path), patientName, messages);
}

bool prepareDataSet(Recording& session, const RecordingFiles& files, const QString& patientName,
                    MessageSink* messages)
{
    const QString& path = files.path;
    // The recording held in memory is prepared again (after a merge, a save
    // as, ...): the user has been told about its companion file already.
    if (session.state.companionInMemory && session.state.preparedFilePath == path)
        messages = nullptr;
    switch (createCompanionFile(session, files, patientName, messages)) {
    case CompanionCreation::NotWritten:
        // A folder the program may not write to: the recording opens all
        // the same (message 202 shown once).
        holdRecordsInMemory(session, path);
        return true;
    case CompanionCreation::NoRecords:
        return readDataSetRecords(session, files, messages);
    case CompanionCreation::Present:
        break;
    }
    if (readDataSetRecords(session, files, messages))
        return true;
    // NAME.p30 is there but cannot be read (message 202 shown): the records
    // of a first opening stand in for it; the file itself is left alone.
    if (!companionRecordsFromDataFile(files, patientName, session.patient, session.intervals, session.span))
        return false;
    holdRecordsInMemory(session, path);
    return true;
}

} // namespace ks318
