// Printing the reports of the largest recording (1828 readings, sleeping
// from 22:00 to 06:00) into a PDF file as the command line and a PDF
// printer do: the full report (about thirty sheets of readings) and the
// patient report, each from the fill of its block to the closed file.
#include "guibenchmain.h"
#include "records/dataset.h"
#include "records/filenames.h"
#include "session/session.h"
#include "reports/reportbody.h"
#include "synthetic.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

using namespace ks318;

namespace {

struct Largest {
    QTemporaryDir dir;
    Session session;

    Largest()
    {
        synth::Options o;
        o.count = kMaxReadings;
        o.commentEvery = 7;
        const QString path = dir.filePath(QStringLiteral("LARGE.DAT"));
        writeFileAtomically(path, synth::makeFile(o));
        session.state.currentFilePath = path;
        prepareDataSet(session, path);
        session.patient.day1SleepTime = "22:00";
        session.patient.day1WakeTime = "06:00";
        applyDataSetRecords(session);
    }
};

void BM_Report(benchmark::State& st)
{
    Largest r;
    const auto kind = ReportKind(st.range(0));
    const ReportFormat format = reportFormatFor(kind);
    int sheets = 0;
    qint64 bytes = 0;
    for (auto _ : st) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setResolution(kReportDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                         QPageLayout::Millimeter));
        ReportDocument document(writer);
        printReportBody(document, r.session, format, kind, nullptr);
        document.finish();
        sheets = document.sheets();
        bytes = file.size();
    }
    st.counters["sheets"] = sheets;
    st.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_Report)
    ->ArgName("kind")
    ->Arg(int(ReportKind::Full))
    ->Arg(int(ReportKind::Patient))
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runGuiBenchmarks(argc, argv);
}
