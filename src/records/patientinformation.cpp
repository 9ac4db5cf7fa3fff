#include "patientinformation.h"

#include "companionfile.h"
#include "dataset.h"
#include "filenames.h"
#include "messages.h"
#include "recording.h"
#include "shortdate.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace ks318 {

bool readTimeOfDay(const QString& typed, int& hour, int& minute)
{
    // Full-width digits and colons, as an input method gives them, become ASCII.
    const QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,2})(?::(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    static const QRegularExpression digits(QStringLiteral("^(\\d{1,2})(\\d{2})$"));
    QRegularExpressionMatch m = clock.match(text);
    if (!m.hasMatch())
        m = digits.match(text);
    if (!m.hasMatch())
        return false;
    const int h = m.captured(1).toInt();
    const int n = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const int s = m.lastCapturedIndex() >= 3 && !m.captured(3).isEmpty() ? m.captured(3).toInt() : 0;
    if (h > 23 || n > 59 || s > 59)
        return false;
    hour = h;
    minute = n;
    return true;
}

PatientSave savePatientInformation(Recording& session, const PatientRecord& entered, MessageSink* messages)
{
    PatientSave result;
    SessionState& st = session.state;
    const QString path = st.preparedFilePath;
    // A NAME.p30 that could not be read is not replaced by what is in memory.
    if (path.isEmpty() || (st.companionInMemory && QFileInfo::exists(companionFilePath(path)))) {
        showMessage(messages, kCompanionFileErrorId, kErrorCaptionId, MessageIcon::Warning);
        return result;
    }

    PatientRecord record = entered;
    record.recordingHours = static_cast<std::uint8_t>(st.recordingHours);
    record.recorderType = static_cast<std::uint8_t>(code(st.recorderType));
    if (record.day1SleepTime.empty())
        record.day1WakeTime.clear();
    if (record.day1WakeTime.empty())
        record.day1SleepTime.clear();
    if (record.day1SleepTime == record.day1WakeTime.view()) {
        record.day1SleepTime.clear();
        record.day1WakeTime.clear();
    }
    record.day2SleepTime = "0000";
    record.day2WakeTime = "0000";

    // What the companion file did not hold is written as a first opening
    // creates it.
    AnalysisIntervals intervals = session.intervals;
    RecordingSpan span = session.span;
    bool filled = false;
    if (!session.patient.valid || !intervals.valid || !span.valid) {
        PatientRecord first;
        AnalysisIntervals firstIntervals;
        RecordingSpan firstSpan;
        if (companionRecordsFromDataFile(path, QString(), first, firstIntervals, firstSpan)) {
            if (!session.patient.valid) {
                record.startDateText = first.startDateText.view();
                record.startTimeText = first.startTimeText.view();
                record.recorderId = first.recorderId;
            }
            if (!intervals.valid)
                intervals = firstIntervals;
            if (!span.valid)
                span = firstSpan;
            filled = true;
        }
    }
    if (!writeFileAtomically(companionFilePath(path), formatCompanionFile(record, intervals, span))) {
        showMessage(messages, kCompanionFileErrorId, kErrorCaptionId, MessageIcon::Warning);
        return result;
    }
    result.saved = true;
    st.companionInMemory = false;

    // The records in memory are now what reading the file back gives.
    result.nameChanged = record.patientName.view() != st.patientName.view();
    session.patient = record;
    session.patient.valid = 1;
    if (filled) {
        session.intervals = intervals;
        session.intervals.valid = 1;
        session.span = span;
        session.span.valid = 1;
        applyDataSetRecords(session);
    }
    if (result.nameChanged) {
        st.patientName = record.patientName.view();
        st.windowTitleText = st.fileBaseName + QStringLiteral(" : ") + st.patientName.toQString()
                             + QStringLiteral("  ") + displayStoredDate(st.startDateText.toQString());
    }

    st.sleepHour = st.sleepMinute = st.wakeHour = st.wakeMinute = -1;
    int sh = -1, sm = -1, wh = -1, wm = -1;
    if (record.day1SleepTime != record.day1WakeTime.view() && parseClockText(record.day1SleepTime.view(), sh, sm)
        && parseClockText(record.day1WakeTime.view(), wh, wm)) {
        st.sleepHour = sh;
        st.sleepMinute = sm;
        st.wakeHour = wh;
        st.wakeMinute = wm;
    }
    return result;
}

} // namespace ks318
