#include "companionfile.h"

#include "blockframing.h"
#include "bpdatafile.h"
#include "daycount.h"
#include "filenames.h"
#include "legacyrecords.h"
#include "messages.h"
#include "recording.h"
#include "shortdate.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace ks318 {

namespace {

constexpr int kFormatVersion = 0;
constexpr char kConverterProgram[] = "fileconv";

std::string hourText(int hour)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:00", hour);
    return buf;
}

// Reads a block of `size` bytes of which the record keeps the first
// `capacity`; bytes it does not get stay as in `record`.
bool readCapped(FramingReader& in, int size, std::uint8_t* record, std::size_t capacity)
{
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), capacity);
    std::vector<std::uint8_t> buf(n);
    if (!in.readBytes(buf.data(), n) || !in.skip(static_cast<std::size_t>(size) - n))
        return false;
    std::copy(buf.begin(), buf.end(), record);
    return true;
}

struct LegacyRecords {
    LegacyPatient patient;
    LegacyIntervals intervals;
    LegacySpan span;
    CompanionSections read;
};

// NAME.tmp as the converter writes it: the companion framing with the
// legacy layouts; any positive size is taken, up to each layout's size.
LegacyRecords parseLegacyFile(const QByteArray& bytes)
{
    LegacyRecords out;
    FramingReader in(bytes);
    int version = -1;
    if (!in.readNumber(version) || version != kFormatVersion)
        return out;
    for (;;) {
        int id = -1;
        int size = 0;
        if (!in.readNumber(id) || id < 0 || id > 2 || !in.readNumber(size) || size <= 0)
            break;
        if (id == 0) {
            std::array<std::uint8_t, LegacyPatient::kSize> buf{};
            if (!readCapped(in, size, buf.data(), buf.size()))
                break;
            out.patient = LegacyPatient::unpack(buf.data());
            out.patient.valid = 1;
            out.read.patient = true;
        } else if (id == 1) {
            std::array<std::uint8_t, LegacyIntervals::kSize> buf{};
            if (!readCapped(in, size, buf.data(), buf.size()))
                break;
            out.intervals = LegacyIntervals::unpack(buf.data());
            out.intervals.valid = 1;
            out.read.intervals = true;
        } else {
            std::array<std::uint8_t, LegacySpan::kSize> buf{};
            if (!readCapped(in, size, buf.data(), buf.size()))
                break;
            out.span = LegacySpan::unpack(buf.data());
            out.span.valid = 1;
            out.read.span = true;
        }
        in.skipLineFeed();
    }
    return out;
}

SpanPoint spanPoint(int year, int month, int day, int hour, int minute)
{
    SpanPoint p;
    p.year = static_cast<std::uint16_t>(year);
    p.month = static_cast<std::uint8_t>(month);
    p.day = static_cast<std::uint8_t>(day);
    p.hour = static_cast<std::uint8_t>(hour);
    p.minute = static_cast<std::uint8_t>(minute);
    p.date = encodeDate(year, month, day);
    p.timeOfDay = encodeTime(hour, minute);
    return p;
}

// The records a legacy patient file stands for; all written with valid 0.
void convertLegacy(const LegacyRecords& legacy, PatientRecord& patient, AnalysisIntervals& intervals,
                   RecordingSpan& span)
{
    const LegacyIntervals& li = legacy.intervals;
    patient = PatientRecord();
    legacy.patient.copyInto(patient);
    const LegacyDate& d1 = li.interval1Start;
    const LegacyDate& d2 = li.interval2Start;
    patient.startDateText.assign(shortDateCp932(QDate(d1.year, d1.month, d1.day)));
    patient.startTimeText.assign(hourText(li.interval1Hour));

    intervals = AnalysisIntervals();
    intervals.interval1DayOffset = li.interval1DayOffset;
    intervals.interval1StartDate = encodeDate(d1.year, d1.month, d1.day);
    intervals.interval1StartTime = encodeTime(li.interval1Hour, 0);
    intervals.reserved = li.reserved;
    intervals.interval2DayOffset = li.interval2DayOffset;
    intervals.interval2StartDate = encodeDate(d2.year, d2.month, d2.day);
    intervals.interval2StartTime = encodeTime(li.interval2Hour, 0);
    intervals.interval1Hours = li.interval1Hours;
    intervals.interval2Hours = li.interval2Hours;
    for (std::size_t g = 0; g < intervals.scroll.size(); ++g) {
        const std::uint8_t* s = li.scroll.data() + g * 5;
        intervals.scroll[g] = {s[0], s[1], s[2], s[3], s[4]};
    }

    const LegacySpan& ls = legacy.span;
    span = RecordingSpan();
    span.first = spanPoint(ls.first.year, ls.first.month, ls.first.day, ls.first.hour, ls.first.minute);
    span.last = spanPoint(ls.last.year, ls.last.month, ls.last.day, ls.last.hour, ls.last.minute);
}

} // namespace

QByteArray formatCompanionFile(const PatientRecord& patient, const AnalysisIntervals& intervals,
                               const RecordingSpan& span)
{
    QByteArray out;
    appendNumberLine(out, kFormatVersion);
    appendNumberLine(out, 0);
    const auto p = patient.pack();
    appendBlock(out, p.data(), p.size());
    appendNumberLine(out, 1);
    const auto a = intervals.pack();
    appendBlock(out, a.data(), a.size());
    appendNumberLine(out, 2);
    const auto s = span.pack();
    appendBlock(out, s.data(), s.size());
    return out;
}

CompanionSections parseCompanionFile(const QByteArray& bytes, PatientRecord& patient,
                                     AnalysisIntervals& intervals, RecordingSpan& span)
{
    CompanionSections read;
    patient.valid = 0;
    intervals.valid = 0;
    span.valid = 0;
    FramingReader in(bytes);
    int version = -1;
    if (!in.readNumber(version) || version != kFormatVersion)
        return read;
    for (;;) {
        int id = -1;
        int size = 0;
        if (!in.readNumber(id) || id < 0 || id > 2 || !in.readNumber(size) || size <= 0)
            break;
        const std::size_t n = static_cast<std::size_t>(size);
        if (id == 0 && (n == PatientRecord::kSize || n == kOldPatientSize)) {
            std::vector<std::uint8_t> buf(n);
            if (!in.readBytes(buf.data(), n))
                break;
            if (n == PatientRecord::kSize) {
                patient = PatientRecord::unpack(buf.data());
            } else {
                patient = PatientRecord();
                LegacyPatient::unpackOld(buf.data()).copyInto(patient);
            }
            patient.valid = 1;
            read.patient = true;
        } else if (id == 1 && (n == AnalysisIntervals::kSize || n == kOldIntervalsSize)) {
            std::vector<std::uint8_t> buf(n);
            if (!in.readBytes(buf.data(), n))
                break;
            intervals = n == AnalysisIntervals::kSize ? AnalysisIntervals::unpack(buf.data())
                                                      : unpackOldIntervals(buf.data());
            intervals.valid = 1;
            read.intervals = true;
        } else if (id == 2) {
            auto bytesOfSpan = span.pack();
            if (!readCapped(in, size, bytesOfSpan.data(), bytesOfSpan.size()))
                break;
            span = RecordingSpan::unpack(bytesOfSpan.data());
            span.valid = 1;
            read.span = true;
        } else {
            // A section of a size this program does not know: passed over.
            if (!in.skip(n))
                break;
        }
        in.skipLineFeed();
    }
    return read;
}

QString companionFilePath(const QString& path)
{
    return resolveMemberPath(path, QStringLiteral(".p30"));
}

bool companionFileExists(const QString& path)
{
    return QFileInfo(companionFilePath(path)).isFile();
}

bool readCompanionFile(Recording& session, const QString& path, MessageSink* messages)
{
    return readCompanionFile(session, RecordingFiles::resolve(path), messages);
}

bool readCompanionFile(Recording& session, const RecordingFiles& files, MessageSink* messages)
{
    QFile file(files.companion);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(messages, kCompanionFileErrorId, kErrorCaptionId, MessageIcon::Warning);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    parseCompanionFile(bytes, session.patient, session.intervals, session.span);
    return true;
}

bool writeCompanionFile(const Recording& session, const QString& path, MessageSink* messages)
{
    return writeCompanionFile(session, RecordingFiles::resolve(path), messages);
}

bool writeCompanionFile(const Recording& session, const RecordingFiles& files, MessageSink* messages)
{
    const QByteArray bytes = formatCompanionFile(session.patient, session.intervals, session.span);
    if (writeFileAtomically(files.companion, bytes))
        return true;
    showMessage(messages, kCompanionFileErrorId, kErrorCaptionId, MessageIcon::Warning);
    return false;
}

bool companionRecordsFromDataFile(const QString& path, const QString& patientName, PatientRecord& patient,
                                  AnalysisIntervals& intervals, RecordingSpan& span)
{
    return companionRecordsFromDataFile(RecordingFiles::resolve(path), patientName, patient, intervals, span);
}

bool companionRecordsFromDataFile(const RecordingFiles& files, const QString& patientName, PatientRecord& patient,
                                  AnalysisIntervals& intervals, RecordingSpan& span)
{
    // A block of its own: the session's current block stays as it is.
    Recording scratch;
    if (!scratch.allocateData() || !readBpDataFile(scratch, files, BpMode::OscillometricOnly))
        return false;
    return companionRecordsFromBlock(scratch, patientName, patient, intervals, span);
}

bool companionRecordsFromBlock(const Recording& scratch, const QString& patientName, PatientRecord& patient,
                               AnalysisIntervals& intervals, RecordingSpan& span)
{
    if (!scratch.data() || !scratch.data()->loaded)
        return false;
    const SessionData& d = *scratch.data();
    if (d.readingCount() == 0)
        return false;
    const BpReading& first = d.readings[0];
    const BpReading& last = d.readings[d.readingCount() - 1];

    patient = PatientRecord();
    patient.recordingHours = static_cast<std::uint8_t>(d.recordingHours);
    patient.recorderType = static_cast<std::uint8_t>(code(scratch.state.recorderType));
    patient.startDateText.assign(shortDateCp932(QDate(int(first.year), first.month, first.day)));
    patient.startTimeText.assign(hourText(first.hour));
    patient.recorderId = d.recorderId;
    if (patientName.isEmpty())
        patient.patientName.assign(d.name.view());
    else
        patient.patientName.setQString(patientName);
    patient.age.assign(d.age.view());
    patient.sex.assign(d.sex.view());

    const std::uint32_t hours = defaultIntervalHours(encodeDate(int(first.year), first.month, first.day), first.hour,
                                                     encodeDate(int(last.year), last.month, last.day), last.hour);
    intervals = AnalysisIntervals::defaults(int(first.year), first.month, first.day, first.hour, hours);

    span = RecordingSpan();
    span.first = spanPoint(int(first.year), first.month, first.day, first.hour, first.minute);
    span.last = spanPoint(int(last.year), last.month, last.day, last.hour, last.minute);
    return true;
}

bool recordsFromLegacyText(const QByteArray& bytes, PatientRecord& patient, AnalysisIntervals& intervals,
                           RecordingSpan& span)
{
    const LegacyRecords legacy = parseLegacyFile(bytes);
    if (!legacy.read.patient || !legacy.read.intervals || !legacy.read.span)
        return false;
    convertLegacy(legacy, patient, intervals, span);
    return true;
}

LegacyConversion convertLegacyPatientFile(Recording& session, const QString& path, MessageSink* messages, int polls,
                                          int pollMs)
{
    return convertLegacyPatientFile(session, RecordingFiles::resolve(path), messages, polls, pollMs);
}

LegacyConversion convertLegacyPatientFile(Recording& session, const RecordingFiles& files, MessageSink* messages,
                                          int polls, int pollMs)
{
    const QString& patPath = files.legacy;
    const QFileInfo patInfo(patPath);
    if (!patInfo.isFile())
        return LegacyConversion::NotAvailable;
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(kConverterProgram));
    if (program.isEmpty())
        return LegacyConversion::NotAvailable;
    const QString fullPatPath = patInfo.absoluteFilePath();
    const QString& tmpPath = files.converterOutput;
    // Output left behind by an earlier run must not pass for this one's.
    QFile::remove(tmpPath);
    // The path goes to the converter as one argument, never through a shell.
    if (!QProcess::startDetached(program, QStringList{fullPatPath}))
        return LegacyConversion::NotAvailable;

    PatientRecord patient;
    AnalysisIntervals intervals;
    RecordingSpan span;
    bool complete = false;
    for (int i = 0; i < polls && !complete; ++i) {
        QThread::msleep(static_cast<unsigned long>(pollMs));
        if (!QFileInfo::exists(tmpPath))
            continue;
        QFile tmp(tmpPath);
        if (!tmp.open(QIODevice::ReadOnly)) {
            showMessage(messages, kCompanionFileErrorId, kErrorCaptionId, MessageIcon::Warning);
            return LegacyConversion::NotAvailable;
        }
        // A file still being written lacks its later sections: poll on.
        complete = recordsFromLegacyText(tmp.readAll(), patient, intervals, span);
    }
    if (!complete)
        return LegacyConversion::NotAvailable;

    session.patient = patient;
    session.intervals = intervals;
    session.span = span;
    if (!writeCompanionFile(session, files, messages))
        return LegacyConversion::WriteFailed;
    QFile::remove(tmpPath);
    QFile::remove(patPath);
    return LegacyConversion::Converted;
}

CompanionCreation createCompanionFile(Recording& session, const QString& path, const QString& patientName,
                                      MessageSink* messages)
{
    return createCompanionFile(session, RecordingFiles::resolve(path), patientName, messages);
}

CompanionCreation createCompanionFile(Recording& session, const RecordingFiles& files, const QString& patientName,
                                      MessageSink* messages)
{
    if (QFileInfo(files.companion).isFile())
        return CompanionCreation::Present;
    switch (convertLegacyPatientFile(session, files, messages)) {
    case LegacyConversion::Converted:
        return CompanionCreation::Present;
    case LegacyConversion::WriteFailed:
        return CompanionCreation::NotWritten;
    case LegacyConversion::NotAvailable:
        break;
    }
    if (!companionRecordsFromDataFile(files, patientName, session.patient, session.intervals, session.span)) {
        // Nothing describes this file; records of another file must not pass for it.
        session.patient.valid = 0;
        session.intervals.valid = 0;
        session.span.valid = 0;
        return CompanionCreation::NoRecords;
    }
    return writeCompanionFile(session, files, messages) ? CompanionCreation::Present : CompanionCreation::NotWritten;
}

} // namespace ks318
