// A recording as a user opens and looks at it, on any bytes: prepared as
// File > Open prepares it, then read (and rewritten), its statistics,
// summary lines, CSV rows, graph pages and report pages made.
//
// The input:  DATA FILE (escaped) | COMPANION FILE | CONTROL
//   DATA FILE: FuzzedDataProvider's random-length string (a backslash
//     followed by another character ends it, "\\" is one backslash);
//     make_seeds.py writes it so.
//   COMPANION FILE: the bytes after it, up to CONTROL.
//   CONTROL: the last byte: bit 0 set: no companion file (the first opening
//     makes one); bits 1-2 the BP mode; bits 3-4 the report (full, mini,
//     patient, full with the double-product panel); bits 5-7 the trend's
//     visible span (0: the whole window, else 2^n hours).
#include "fuzzsupport.h"
#include "recordingsink.h"

#include "analysis/periodstatistics.h"
#include "plots/graphpages.h"
#include "records/bpdatafile.h"
#include "records/companionfile.h"
#include "records/csvexport.h"
#include "records/dataset.h"
#include "reports/reportbody.h"
#include "session/session.h"
#include "session/summarylines.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

using namespace ks318;

namespace {

// Fixed metrics: a Latin character half the font's pixel height wide, any
// other a whole one; lines 1.25 heights apart. Nothing is drawn.
class MeasuringCanvas final : public Canvas {
public:
    explicit MeasuringCanvas(int dpi) : dpi_(dpi) {}
    void setPen(Colour, int, bool) override {}
    void setBrush(Colour, BrushStyle) override {}
    void setFont(const FontSpec& font) override { font_ = font; }
    FontSpec font() const override { return font_; }
    void line(int, int, int, int) override {}
    void ellipse(int, int, int, int) override {}
    void rectangle(int, int, int, int) override {}
    void textOut(int, int, const QString&, Colour, Colour) override {}
    int textWidth(const QString& text) override
    {
        int w = 0;
        for (const QChar c : text)
            w += c.unicode() < 0x100 ? pixels() / 2 : pixels();
        return w;
    }
    int textHeight(const QString&) override { return pixels() * 5 / 4; }
    int verticalDpi() const override { return dpi_; }
    int fontDpi() const override { return dpi_; }

private:
    int pixels() const
    {
        const int p = font_.pointSize > 0 ? font_.pointSize * dpi_ / 72 : font_.pixelSize;
        return std::max(p, 2);
    }
    int dpi_;
    FontSpec font_;
};

QTemporaryDir* scratch = nullptr;

void writeFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    fuzz::require(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch folder takes a file");
    f.write(bytes.data(), qint64(bytes.size()));
}

// Records and fields of a CSV text as a spreadsheet reads them: commas and
// CR LF outside double quotes separate, "" inside them is one quote.
std::vector<int> csvFieldCounts(const QByteArray& csv)
{
    std::vector<int> counts;
    bool quoted = false;
    int fields = 1;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (c == '"')
            quoted = !quoted;   // a doubled quote toggles twice
        else if (!quoted && c == ',')
            ++fields;
        else if (!quoted && c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
            counts.push_back(fields);
            fields = 1;
            ++i;
        }
    }
    fuzz::require(!quoted, "the CSV text closes its quotes");
    fuzz::require(csv.isEmpty() || csv.endsWith("\r\n"), "the CSV text ends its last line");
    return counts;
}

void checkStatistics(const Session& session)
{
    const SessionData& data = *session.data();
    const PeriodStatistics& st = session.stats;
    for (int period = kFirstPeriod; period <= kLastPeriod; ++period) {
        const std::uint32_t n = periodCount(data.counters, period);
        fuzz::require(n <= periodTotal(data.counters, period), "no more readings counted than taken");
        if (n == 0)
            continue;
        fuzz::require(st.sysAboveCount[period] >= 0 && std::uint32_t(st.sysAboveCount[period]) <= n
                          && st.diaAboveCount[period] >= 0 && std::uint32_t(st.diaAboveCount[period]) <= n,
                      "readings above a threshold are among those counted");
        for (int k = ParamSys; k <= ParamPulse; ++k) {
            const double* v = st.stat[period][k];
            // One reading has a minimum and a maximum, but no mean. The
            // minimum starts at 300, so a value above it leaves it there.
            if (n == 1)
                fuzz::require((v[StatMin] == v[StatMax] || (v[StatMin] == 300 && v[StatMax] > 300)) && v[StatMean] == 0,
                              "one reading: min = max, mean 0");
            else
                fuzz::require(v[StatMin] <= v[StatMean] + 1e-6 && v[StatMean] <= v[StatMax] + 1e-6,
                              "min <= mean <= max");
            fuzz::require(v[StatSd] >= 0 && !std::isnan(v[StatSe]), "a spread is a number");
        }
    }
}

void checkCsv(const Recording& r)
{
    const SessionData& data = *r.data();
    const PatientRecord* patient = r.patient.valid ? &r.patient : nullptr;
    const bool twoNights = patient && patient->recorderType == std::uint8_t(code(RecorderType::Rv5725))
                           && patient->recordingHours == 48;
    const std::vector<int> counts = csvFieldCounts(formatCsv(data, r.state.recorderType, patient, twoNights));
    int rows = 0;
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(data.readingCount(), kMaxReadings); ++i)
        rows += data.readings[i].windowMembership != OutsideWindows;
    const std::size_t heads = twoNights ? 7 : 5;
    fuzz::require(counts.size() == heads + std::size_t(rows), "one CSV row per reading in the windows");
    for (std::size_t i = 0; i + 1 < heads; i += 2)
        fuzz::require(counts[i] == counts[i + 1], "a header line and its line have as many columns");
    for (std::size_t i = heads; i < counts.size(); ++i)
        fuzz::require(counts[i] == counts[heads - 1], "a reading's row has the columns of its header");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static QTemporaryDir runtime;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    static int argc = 1;
    static char name[] = "fuzz_recording";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    static QTemporaryDir folder;   // removed at exit
    scratch = &folder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const std::uint8_t control = in.ConsumeIntegral<std::uint8_t>();
    const std::string dat = in.ConsumeRandomLengthString(size);
    const std::string p30 = in.ConsumeRemainingBytesAsString();
    const bool firstOpening = control & 1;
    const auto mode = BpMode((control >> 1) & 3);
    const int report = (control >> 3) & 3;
    const int spanCode = (control >> 5) & 7;

    const QString path = scratch->filePath(QStringLiteral("REC.DAT"));
    const QString companion = scratch->filePath(QStringLiteral("REC.p30"));
    writeFile(path, dat);
    QFile::remove(companion);
    if (!firstOpening)
        writeFile(companion, p30);

    test::MessageLog messages;
    Session session;
    prepareDataSet(session, path, QString(), &messages);
    if (firstOpening && QFile::exists(companion)) {
        QFile f(companion);
        fuzz::require(f.open(QIODevice::ReadOnly), "a written companion file opens");
        PatientRecord p;
        AnalysisIntervals i;
        RecordingSpan s;
        const CompanionSections read = parseCompanionFile(f.readAll(), p, i, s);
        fuzz::require(read.patient && read.intervals && read.span, "a written companion file reads whole");
    }
    // File > Open (and the command line) refuse a recording of more than
    // 43848 hours before anything is shown; so does the report.
    if (session.intervals.valid && session.intervals.interval1Hours > kMaxReportHours)
        return 0;
    session.state.currentFilePath = path;
    session.state.bpMode = mode;

    // The CSV export's block: every method's raw values.
    if (session.allocateData() && readBpDataFile(session, path, BpMode::KorotkoffOnly))
        checkCsv(session);

    if (!session.allocateData() || !readBpDataFile(session, path, mode))
        return 0;
    // Read as the program reads the files it rewrites (BP mode 0), the block
    // writes a text that reads back and writes the same again. (In the
    // Korotkoff modes the rewrite stores the recorders' fixed "no Korotkoff"
    // columns, which a hand-made file may not hold.)
    if (mode == BpMode::OscillometricOnly && !session.data()->unreadTail) {
        const QByteArray written = formatBpDataFile(*session.data(), session.state.recorderType);
        static Session again;
        if (!again.data())
            again.allocateData();
        again.state = session.state;
        again.intervals = session.intervals;
        parseBpDataText(again, written, mode);
        fuzz::require(again.data()->readingCount() == session.data()->readingCount(),
                      "a rewritten file holds as many readings");
        fuzz::require(formatBpDataFile(*again.data(), again.state.recorderType) == written,
                      "a rewritten file reads back to the same text");
    }
    const BpThresholds thresholds = thresholdsOf(session.settings.analysis);
    computePeriodStatistics(session, thresholds);
    checkStatistics(session);
    QStringList summary{summaryModeLine(code(mode))};
    for (int period = kFirstPeriod; period <= kLastPeriod; ++period)
        summary << summaryBlockLines(session, thresholds, period) << summaryClosingLine();

    session.graphView.visibleMinutes = spanCode == 0 ? session.state.analysisMinutes : 60 << spanCode;
    TrendPage trend = TrendPage::builtIn();
    if (report == 3) {
        trend.panels[1].type = PanelDoubleProduct;
        trend.panels[2].type = PanelBp;
    }
    const int kinds[] = {Session::GraphTrend, Session::GraphCorrelation, Session::GraphHistogram, Session::GraphGrade};
    for (const int kind : kinds) {
        MeasuringCanvas screen(96);
        UtilityService u(ScreenDevice, &screen, nullptr);
        PlotJob job(u, session, windowLayout(u));
        drawGraphPage(job, kind, trend, QRect(0, 0, 900, 560), session.data());
        MeasuringCanvas printer(150);
        drawExportedPage(session, kind, trend, QSize(1600, 1100), printer, session.data());
    }

    // The pages draw on the measuring canvas; only the sheets reach the writer.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(kReportDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    MeasuringCanvas paper(kReportDpi);
    {
        ReportDocument document(writer);
        document.setCanvasWrapper([&paper](Canvas&) -> Canvas& { return paper; });
        ReportFormat format = ReportFormat::builtIn();
        format.bpMode = std::uint8_t(mode);
        format.dpTrend = report == 3;
        const ReportKind kind = report == 1 ? ReportKind::Mini : report == 2 ? ReportKind::Patient : ReportKind::Full;
        const ReportResult result = printReportBody(document, session, format, kind, &messages);
        fuzz::require(result != ReportResult::Printed || document.sheets() > 0, "a printed report has a sheet");
    }
    return 0;
}
