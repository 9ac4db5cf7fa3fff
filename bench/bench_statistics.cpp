// The statistics, histograms and clinical measures over the largest
// recording the program accepts.
#include "analysis/clinicalmeasures.h"
#include "analysis/distributions.h"
#include "analysis/periodstatistics.h"
#include "records/filenames.h"
#include "synthetic.h"
#include "session/session.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ks318;

namespace {

// The largest recording, read back as a view would read it: sleep times set,
// so all four periods hold readings.
void readLargest(Session& session, QTemporaryDir& dir)
{
    synth::Options o;
    o.count = kMaxReadings;
    o.errorEvery = 17;
    o.excludedEvery = 23;
    const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
    writeFileAtomically(path, synth::makeFile(o));
    session.state.sleepHour = 22;
    session.state.sleepMinute = 0;
    session.state.wakeHour = 6;
    session.state.wakeMinute = 0;
    session.allocateData();
    readBpDataFile(session, path, BpMode::OscillometricOnly);
}

void BM_PeriodStatisticsLargest(benchmark::State& st)
{
    QTemporaryDir dir;
    Session session;
    readLargest(session, dir);
    const BpThresholds thresholds;
    for (auto _ : st) {
        computePeriodStatistics(session, thresholds);
        benchmark::DoNotOptimize(session.stats.stat[1][0][1]);
    }
    st.SetItemsProcessed(st.iterations() * kMaxReadings);
}
BENCHMARK(BM_PeriodStatisticsLargest)->Unit(benchmark::kMicrosecond);

void BM_HistogramsLargest(benchmark::State& st)
{
    QTemporaryDir dir;
    Session session;
    readLargest(session, dir);
    for (auto _ : st) {
        const Histograms h = computeHistograms(*session.data());
        benchmark::DoNotOptimize(h.hundredPercentScale);
    }
    st.SetItemsProcessed(st.iterations() * kMaxReadings);
}
BENCHMARK(BM_HistogramsLargest)->Unit(benchmark::kMicrosecond);

// The clinical measures of the summary window's page, the command line and
// the clinical sheet: well under half a millisecond.
void BM_ClinicalMeasuresLargest(benchmark::State& st)
{
    QTemporaryDir dir;
    Session session;
    readLargest(session, dir);
    for (auto _ : st) {
        const ClinicalMeasures m = computeClinicalMeasures(session.data(), 22, 0, 6, 0);
        benchmark::DoNotOptimize(m.arvSys);
    }
    st.SetItemsProcessed(st.iterations() * kMaxReadings);
}
BENCHMARK(BM_ClinicalMeasuresLargest)->Unit(benchmark::kMicrosecond);

// What a view pays on each paint: read the file afresh, then compute.
void BM_ReadAndComputeLargest(benchmark::State& st)
{
    QTemporaryDir dir;
    Session session;
    readLargest(session, dir);
    const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
    const BpThresholds thresholds;
    for (auto _ : st) {
        session.allocateData();
        readBpDataFile(session, path, BpMode::OscillometricOnly);
        computePeriodStatistics(session, thresholds);
        benchmark::DoNotOptimize(session.stats.stat[1][0][1]);
    }
    st.SetItemsProcessed(st.iterations() * kMaxReadings);
}
BENCHMARK(BM_ReadAndComputeLargest)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
