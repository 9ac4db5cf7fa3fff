// Reading and writing the largest recording the program accepts.
#include "records/filenames.h"
#include "synthetic.h"
#include "session/session.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ks318;

namespace {

QString writeLargest(QTemporaryDir& dir)
{
    synth::Options o;
    o.count = kMaxReadings;
    o.errorEvery = 17;
    o.excludedEvery = 23;
    o.commentEvery = 11;
    const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
    writeFileAtomically(path, synth::makeFile(o));
    return path;
}

void BM_ReadLargest(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = writeLargest(dir);
    Session session;
    session.state.sleepHour = 22;
    session.state.sleepMinute = 0;
    session.state.wakeHour = 6;
    session.state.wakeMinute = 0;
    for (auto _ : st) {
        session.allocateData();
        benchmark::DoNotOptimize(readBpDataFile(session, path, BpMode::OscillometricOnly));
    }
    st.SetItemsProcessed(st.iterations() * kMaxReadings);
}
BENCHMARK(BM_ReadLargest)->Unit(benchmark::kMicrosecond);

void BM_FormatLargest(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = writeLargest(dir);
    Session session;
    session.allocateData();
    readBpDataFile(session, path, BpMode::OscillometricOnly);
    for (auto _ : st)
        benchmark::DoNotOptimize(formatBpDataFile(*session.data(), RecorderType::Ks318));
    st.SetItemsProcessed(st.iterations() * kMaxReadings);
}
BENCHMARK(BM_FormatLargest)->Unit(benchmark::kMicrosecond);

void BM_DecodeRecordLine(benchmark::State& st)
{
    const std::string_view line = "KS-318  7000000001006D0C1F173B5A5046001201";
    BpReading r;
    std::uint8_t id = 0;
    for (auto _ : st) {
        decodeRecordLine(line, BpMode::OscillometricOnly, RecorderType::Ks318, r, id);
        benchmark::DoNotOptimize(r.sys);
    }
}
BENCHMARK(BM_DecodeRecordLine);

} // namespace

BENCHMARK_MAIN();
