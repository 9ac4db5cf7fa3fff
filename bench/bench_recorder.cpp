// The recorder side: turning the largest block the link takes (372 records)
// into a data file, and the link's own work for that block on a scripted line
// with simulated time (so only processing is measured, not the fixed waits).
#include "linksupport.h"
#include "recorder/recorderservice.h"
#include "recorder/retrieval.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace ks318;
using namespace ks318::test;

namespace {

QByteArray block(int records)
{
    QByteArray data;
    for (int i = 0; i < records; ++i)
        data.append(QString::asprintf("5A50%02X00127E0B%02X%02X%02X01", 60 + i % 40, 1 + i / 24 % 28, i % 24, i % 60)
                        .toLatin1());
    return data;
}

void BM_FormatRetrievedFile(benchmark::State& state)
{
    const QByteArray data = block(372);
    for (auto _ : state) {
        QByteArray text = formatRetrievedFile(data.constData(), 372);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * 372);
}
BENCHMARK(BM_FormatRetrievedFile);

void BM_RetrieveDataBlock(benchmark::State& state)
{
    QByteArray frame;
    frame.append(ctl::STX);
    frame.append("DKS20000");
    frame.append(block(372).leftJustified(8192, '0'));
    for (auto _ : state) {
        SimClock clock;
        ScriptedPort port(clock);
        SimEscape escape(clock);
        auto link = std::make_unique<RecorderService>(port, clock, escape);
        port.replies = {Reply::ack(), Reply::ack().then(frame, 50)};
        if (link->RetrieveDataBlock() != LinkOk || link->recordCount != 372) {
            state.SkipWithError("block not taken");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * frame.size());
}
BENCHMARK(BM_RetrieveDataBlock);

} // namespace

BENCHMARK_MAIN();
