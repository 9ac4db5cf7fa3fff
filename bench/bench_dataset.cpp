// Preparing a recording: creating its companion file from the largest data
// file (a first opening) and preparing it when the file is already there.
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/filenames.h"
#include "session/session.h"
#include "synthetic.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ks318;

namespace {

QString writeLargest(QTemporaryDir& dir)
{
    synth::Options o;
    o.count = kMaxReadings;
    const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
    writeFileAtomically(path, synth::makeFile(o));
    return path;
}

void BM_FirstOpening(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = writeLargest(dir);
    Session session;
    for (auto _ : st) {
        QFile::remove(dir.filePath(QStringLiteral("LARGE.p30")));
        benchmark::DoNotOptimize(prepareDataSet(session, path));
    }
}
BENCHMARK(BM_FirstOpening)->Unit(benchmark::kMicrosecond);

void BM_PrepareExisting(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = writeLargest(dir);
    Session session;
    prepareDataSet(session, path);
    for (auto _ : st)
        benchmark::DoNotOptimize(prepareDataSet(session, path));
}
BENCHMARK(BM_PrepareExisting)->Unit(benchmark::kMicrosecond);

void BM_ParseCompanion(benchmark::State& st)
{
    Session session;
    session.intervals = AnalysisIntervals::defaults(2026, 11, 2, 7, 24);
    const QByteArray bytes = formatCompanionFile(session.patient, session.intervals, session.span);
    for (auto _ : st)
        benchmark::DoNotOptimize(parseCompanionFile(bytes, session.patient, session.intervals, session.span));
    st.SetBytesProcessed(st.iterations() * bytes.size());
}
BENCHMARK(BM_ParseCompanion);

} // namespace

BENCHMARK_MAIN();
