// The BP data file reader (record lines, patient and comment sections) on
// any bytes, under any BP mode, sleep times and analysis window; then the
// statistics and distributions over what it read, and the rewrite: a block
// read as the program reads the files it rewrites (BP mode 0), written and
// read back, must write the same text again. (In the Korotkoff modes the
// rewrite stores the recorders' fixed "no Korotkoff" columns, which a
// hand-made file may not hold.)
#include "fuzzsupport.h"

#include "analysis/distributions.h"
#include "analysis/periodstatistics.h"
#include "records/bpdatafile.h"
#include "records/daycount.h"
#include "session/session.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Session session;
    static Session again;
    if (!session.data())
        session.allocateData();
    if (!again.data())
        again.allocateData();

    FuzzedDataProvider in(data, size);
    const auto mode = static_cast<BpMode>(in.ConsumeIntegralInRange(0, 3));
    session.state = SessionState();
    if (in.ConsumeBool()) {
        session.state.sleepHour = in.ConsumeIntegralInRange(0, 23);
        session.state.sleepMinute = in.ConsumeIntegralInRange(0, 59);
        session.state.wakeHour = in.ConsumeIntegralInRange(0, 23);
        session.state.wakeMinute = in.ConsumeIntegralInRange(0, 59);
    }
    session.intervals = AnalysisIntervals();
    if (in.ConsumeBool()) {
        session.intervals.valid = 1;
        session.intervals.interval1StartDate = encodeDate(in.ConsumeIntegralInRange(1980, 2079), 1, 1);
        session.intervals.interval1StartTime = encodeTime(in.ConsumeIntegralInRange(0, 23), 0);
        session.intervals.interval1Hours = in.ConsumeIntegralInRange<std::uint32_t>(0, 50000);
    }
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray text = QByteArray::fromRawData(rest.data(), qsizetype(rest.size()));

    parseBpDataText(session, text, mode);
    BpThresholds thresholds;
    computePeriodStatistics(session, thresholds);
    computeHistograms(*session.data());

    if (session.data()->unreadTail || mode != BpMode::OscillometricOnly)
        return 0;
    const QByteArray written = formatBpDataFile(*session.data(), session.state.recorderType);
    again.state = session.state;
    again.intervals = session.intervals;
    parseBpDataText(again, written, mode);
    fuzz::require(again.data()->readingCount() == session.data()->readingCount(),
                  "a rewritten file holds as many readings");
    fuzz::require(formatBpDataFile(*again.data(), again.state.recorderType) == written,
                  "a rewritten file reads back to the same text");
    return 0;
}
