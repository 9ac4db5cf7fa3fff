#include "retrieval.h"

#include "records/atomicfile.h"
#include "records/bpdatafile.h"
#include "records/csvexport.h"
#include "records/dataset.h"
#include "records/filenames.h"
#include "records/recording.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <cstring>

namespace ks318 {

namespace {

// A character of a record as it goes into a line. Anything but a
// hexadecimal digit (a line feed, a NUL, a '#') would break the file's
// line structure; the reader takes such characters as 0 anyway.
char recordChar(std::string_view record, std::size_t i)
{
    if (i >= record.size())
        return '0';
    const char c = record[i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    return hex ? c : '0';
}

} // namespace

std::string recordLineFromRecord(std::string_view record, bool excludeWithoutPulse)
{
    std::string line("KS-318  700000000100");
    line.reserve(42);
    for (std::size_t i = 10; i < 20; ++i)
        line += recordChar(record, i);
    for (std::size_t i = 0; i < 10; ++i)
        line += recordChar(record, i);
    line += recordChar(record, 20);
    line += recordChar(record, 21);
    if (excludeWithoutPulse && line[34] == '0' && line[35] == '0')
        line[36] = '8';
    return line;
}

bool blockHasData(LinkResult result, const RecorderService& session)
{
    if (result == LinkFailed || session.recordCount <= 0)
        return false;
    return std::memcmp(session.dataBuffer, "0000000000", 10) != 0;
}

RetrievalOutcome retrievalOutcome(LinkResult result, const RecorderService& session)
{
    if (blockHasData(result, session))
        return RetrievalOutcome::Records;
    if (result == LinkOk)
        return RetrievalOutcome::NoRecords;   // the first record is all "0"
    if (session.announcedLength >= 0 && session.announcedLength < RecorderService::kRecordLength)
        return RetrievalOutcome::NoRecords;
    return RetrievalOutcome::LinkFailure;
}

int retrievalMessageId(RetrievalOutcome outcome)
{
    return outcome == RetrievalOutcome::LinkFailure ? 224 : 208;
}

RetrievedStart startOfRecordLine(std::string_view headerLine)
{
    BpReading reading;
    std::uint8_t recorderId = 0;
    decodeRecordLine(headerLine, BpMode::OscillometricOnly, RecorderType::Ks318, reading, recorderId);
    return RetrievedStart{int(reading.year), reading.month, reading.day, reading.hour, reading.minute};
}

namespace {

QByteArray fileLineOfRecord(const char* block, int i)
{
    const std::string line = recordLineFromRecord(
        std::string_view(block + std::size_t(i) * RecorderService::kRecordLength, RecorderService::kRecordLength), true);
    return QByteArray(line.data(), int(line.size())) + '\n';
}

const char* const kRetrievedFileEnd = "#PATIENT\n"
                                      "Name:\n"
                                      "IDNumber:0\n"
                                      "Address:\n"
                                      "Phone:\n"
                                      "SSNumber:\n"
                                      "Medicare:\n"
                                      "Insurance:\n"
                                      "Age:\n"
                                      "Sex:\n"
                                      "Height:\n"
                                      "Weight:\n"
                                      "Comment1:\n"
                                      "       2:\n"
                                      "       3:\n"
                                      "#END\n"
                                      "#COMMENTS\n"
                                      "#END\n";

} // namespace

QByteArray formatRetrievedFile(const char* block, int recordCount)
{
    QByteArray out;
    out.reserve(recordCount * 43 + 256);
    for (int i = 0; i < recordCount; ++i)
        out.append(fileLineOfRecord(block, i));
    out.append(kRetrievedFileEnd);
    return out;
}

QString retrievalDataPath(const QString& chosenPath)
{
    return replaceExtension(chosenPath, QStringLiteral(".dat"));
}

bool retrievalTargetExists(const QString& chosenPath)
{
    const QString path = retrievalDataPath(chosenPath);
    return QFileInfo::exists(path) || QFileInfo::exists(replaceExtension(chosenPath, QStringLiteral(".DAT")));
}

RetrievalWrite writeRetrievedFile(const QString& chosenPath, const RecorderService& session,
                                  const std::function<void(int)>& progress)
{
    if (retrievalTargetExists(chosenPath))
        return RetrievalWrite::Exists;
    const int records = std::max(std::min(session.recordCount, session.dataLength / RecorderService::kRecordLength), 0);

    // Written whole or not at all, and a file that appeared since the check
    // is not replaced either.
    AtomicFile file(retrievalDataPath(chosenPath), AtomicFile::Mode::CreateNew);
    if (!file.open())
        return RetrievalWrite::CannotCreate;
    bool ok = true;
    // Progress is told as each line reaches the file.
    for (int i = 0; ok && i < records; ++i) {
        ok = file.write(fileLineOfRecord(session.dataBuffer, i));
        if (ok && progress)
            progress(i + 1);
    }
    if (!ok || !file.write(kRetrievedFileEnd, qsizetype(std::strlen(kRetrievedFileEnd))) || !file.commit())
        return file.nameTaken() ? RetrievalWrite::Exists : RetrievalWrite::CannotCreate;
    return RetrievalWrite::Written;
}

bool retrievalSpaceAvailable(const QString& chosenPath)
{
    const QStorageInfo volume(QFileInfo(retrievalDataPath(chosenPath)).absolutePath());
    return !volume.isValid() || volume.bytesAvailable() >= 20480;
}

bool prepareRetrievedRecording(Recording& session, const QString& chosenPath, const QString& patientName,
                               MessageSink* messages)
{
    // Every spelling the lookup of a member would find: a stale NAME.P30
    // would otherwise give the new recording another patient's records.
    for (const QString& extension : {QStringLiteral(".p30"), QStringLiteral(".csv")})
        for (const QString& stale : memberSpellings(chosenPath, extension))
            QFile::remove(stale);
    session.patient.valid = 0;
    session.intervals.valid = 0;
    return prepareDataSet(session, chosenPath, patientName, messages);
}

bool exportRetrievedCsv(const QString& chosenPath, MessageSink* messages)
{
    return exportCsv(retrievalDataPath(chosenPath), messages);
}

void restoreCurrentRecording(Recording& session, MessageSink* messages)
{
    if (session.state.currentFilePath.isEmpty())
        return;
    session.patient.valid = 0;
    session.intervals.valid = 0;
    prepareDataSet(session, session.state.currentFilePath, QString(), messages);
}

} // namespace ks318
