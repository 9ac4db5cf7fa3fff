// The companion file reader (current and older section sizes), its result
// written and read back, and the converter's NAME.tmp reader on any bytes.
#include "fuzzsupport.h"

#include "records/companionfile.h"

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    PatientRecord patient;
    AnalysisIntervals intervals;
    RecordingSpan span;
    parseCompanionFile(bytes, patient, intervals, span);

    // Reading marks each record it took valid; a written file is read whole.
    patient.valid = intervals.valid = span.valid = 1;
    const QByteArray written = formatCompanionFile(patient, intervals, span);
    PatientRecord p2;
    AnalysisIntervals i2;
    RecordingSpan s2;
    const CompanionSections again = parseCompanionFile(written, p2, i2, s2);
    fuzz::require(again.patient && again.intervals && again.span, "a written companion file has its three sections");
    fuzz::require(formatCompanionFile(p2, i2, s2) == written, "a written companion file reads back unchanged");

    recordsFromLegacyText(bytes, patient, intervals, span);
    return 0;
}
