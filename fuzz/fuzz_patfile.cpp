// The legacy patient-file converter on any NAME.pat: a file it accepts must
// give a NAME.tmp that the program reads whole.
#include "fuzzsupport.h"

#include "fileconv/patfile.h"
#include "records/companionfile.h"

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString error;
    const QByteArray tmp = convertPatientFile(fuzz::bytesOf(data, size), error);
    if (!error.isEmpty())
        return 0;
    PatientRecord patient;
    AnalysisIntervals intervals;
    RecordingSpan span;
    fuzz::require(recordsFromLegacyText(tmp, patient, intervals, span), "the converter's output reads whole");
    return 0;
}
