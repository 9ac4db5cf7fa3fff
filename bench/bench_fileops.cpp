// CSV export and file merge at the largest sizes: formatting the CSV text of
// 1828 readings, the whole conversion of such a file (preparation, reading,
// writing), and merging six files of 304 readings (1824 record lines).
#include "records/csvexport.h"
#include "records/filemerge.h"
#include "records/filenames.h"
#include "synthetic.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ks318;

namespace {

void BM_FormatCsv(benchmark::State& st)
{
    synth::Options o;
    o.count = kMaxReadings;
    o.errorEvery = 9;
    const auto data = synth::makeRecording(o);
    for (BpReading& r : data->readings)
        r.windowMembership = InWindow1;
    PatientRecord patient;
    patient.valid = 1;
    patient.patientName = "Patient";
    for (auto _ : st)
        benchmark::DoNotOptimize(formatCsv(*data, RecorderType::Ks318, &patient, false));
}
BENCHMARK(BM_FormatCsv)->Unit(benchmark::kMicrosecond);

void BM_ExportCsv(benchmark::State& st)
{
    QTemporaryDir dir;
    synth::Options o;
    o.count = kMaxReadings;
    const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
    writeFileAtomically(path, synth::makeFile(o));
    exportCsv(path);  // the companion file exists from here on
    for (auto _ : st)
        benchmark::DoNotOptimize(exportCsv(path));
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMicrosecond);

void BM_MergeSixFiles(benchmark::State& st)
{
    std::vector<QByteArray> texts;
    for (int i = 0; i < kMaxMergeFiles; ++i) {
        synth::Options o;
        o.count = kMaxReadings / kMaxMergeFiles;
        o.day = 1 + i * 5;
        o.month = 1;
        o.minutesApart = 20;
        o.commentEvery = 7;
        texts.push_back(synth::makeFile(o));
    }
    for (auto _ : st)
        benchmark::DoNotOptimize(mergeFileTexts(texts));
}
BENCHMARK(BM_MergeSixFiles)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
