// Painting the graphs of the largest recording (1828 readings): each page
// into a 1280x800 image as the graphics window paints it, the fill of the
// data block from the file included, and one scroll step of the 1-day zoom.
#include "guibenchmain.h"
#include "plots/graphpages.h"
#include "records/dataset.h"
#include "records/filenames.h"
#include "session/session.h"
#include "synthetic.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

using namespace ks318;

namespace {

const QSize kImageSize(1280, 800);

// The largest recording made current, sleeping from 22:00 to 06:00, the
// whole analysis window in view.
struct Largest {
    QTemporaryDir dir;
    Session session;

    Largest()
    {
        synth::Options o;
        o.count = kMaxReadings;
        const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
        writeFileAtomically(path, synth::makeFile(o));
        session.state.currentFilePath = path;
        prepareDataSet(session, path);
        session.state.sleepHour = 22;
        session.state.sleepMinute = 0;
        session.state.wakeHour = 6;
        session.state.wakeMinute = 0;
        session.graphView.visibleMinutes = int(session.intervals.interval1Hours) * 60;
        session.graphView.scrollHours = 0;
    }
};

void BM_Page(benchmark::State& st)
{
    Largest r;
    const int kind = int(st.range(0));
    const TrendPage trend = TrendPage::builtIn();
    QImage image;  // the window's off-screen picture, kept between paints
    for (auto _ : st) {
        renderScreenPage(r.session, kind, trend, kImageSize, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Page)
    ->ArgName("GraphKind")
    ->Arg(Session::GraphTrend)
    ->Arg(Session::GraphCorrelation)
    ->Arg(Session::GraphHistogram)
    ->Arg(Session::GraphGrade)
    ->Unit(benchmark::kMillisecond);

void BM_TrendScrollStepOneDay(benchmark::State& st)
{
    Largest r;
    r.session.graphView.visibleMinutes = 1440;
    const int hours = int(r.session.intervals.interval1Hours);
    const TrendPage trend = TrendPage::builtIn();
    QImage image;
    for (auto _ : st) {
        r.session.graphView.scrollHours = (r.session.graphView.scrollHours + 1) % hours;
        renderScreenPage(r.session, Session::GraphTrend, trend, kImageSize, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TrendScrollStepOneDay)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runGuiBenchmarks(argc, argv);
}
