#include "reportbody.h"

#include "clinicalsheet.h"
#include "reportpages.h"

#include "analysis/periodstatistics.h"
#include "plots/axistable.h"
#include "records/bpdatafile.h"
#include "records/messages.h"
#include "session/session.h"

#include <QPagedPaintDevice>
#include <algorithm>

namespace ks318 {

namespace {

constexpr int kCannotOpenId = 220;
constexpr int kTooLongId = 223;
constexpr int kBadTimesId = 271;

// The block of the report: filled here, freed when the report ends.
struct ReportBlock {
    Session& session;
    ~ReportBlock() { session.freeData(); }
};

void printFull(ReportJob& job)
{
    const ReportFormat& f = job.format;
    int pages = 0;
    auto next = [&job, &pages]() {
        if (pages++ > 0)
            job.newSheet();
    };
    // The patient information page needs the companion file's records.
    if (f.patientPage && job.session.patient.valid) {
        next();
        printPatientInformationPage(job);
    }
    if (f.summaryPage) {
        next();
        printSummaryPage(job);
    }
    if (f.readingsPage) {
        next();
        printReadingsPage(job);
    }
    if (f.bpTrend || f.dpTrend) {
        next();
        printTrendPage(job);
    }
    if (f.correlation || f.histogram) {
        next();
        printDistributionPage(job);
    }
}

void printMini(ReportJob& job)
{
    printTrendPage(job);
    job.top = job.pageHeight * 45 / 100 + job.pageHeight / 70;
    job.pageBottom = job.pageHeight;
    job.textPoints = 7;
    job.textFont();
    printSummaryPage(job);
    job.newSheet();
    printReadingsPage(job);
}

void printPatient(ReportJob& job)
{
    printTrendPage(job);
    job.top = job.pageHeight * 45 / 100;
    job.pageBottom = job.pageHeight;
    job.textPoints = 12;
    job.textFont();
    printPatientSummary(job);
    job.newSheet();
    printPatientReadings(job);
}

} // namespace

ReportDocument::ReportDocument(QPagedPaintDevice& device) : device_(device) {}

ReportDocument::~ReportDocument()
{
    finish();
}

bool ReportDocument::newSheet()
{
    if (failed_)
        return false;
    if (sheets_ == 0) {
        if (!painter_.begin(&device_)) {
            failed_ = true;
            return false;
        }
    } else if (!device_.newPage()) {
        failed_ = true;
        return false;
    }
    ++sheets_;
    return true;
}

bool ReportDocument::finish()
{
    if (painter_.isActive())
        return painter_.end() && !failed_;
    return !failed_;
}

ReportJob::ReportJob(ReportDocument& document_, UtilityService& u_, PlotJob& plot_, const SessionData& data_,
                     const ReportFormat& format_, ReportKind kind_)
    : document(document_), u(u_), plot(plot_), session(plot_.session), data(data_), format(format_), kind(kind_)
{
}

void ReportJob::setPoints(int points)
{
    Canvas* c = u.canvas();
    if (!c)
        return;
    FontSpec f = c->font();
    f.family = QString::fromLatin1(kPrinterFace);
    f.pointSize = points;
    f.pixelSize = 0;
    f.bold = false;
    f.fixedPitch = true;
    c->setFont(f);
}

void ReportJob::textFont()
{
    setPoints(textPoints);
    measure();
}

void ReportJob::measure()
{
    charHeight = std::max(1, u.TextHeightOf(QStringLiteral("Gg")));
    charWidth = std::max(1, u.TextWidthOf(QStringLiteral("S")));
}

bool ReportJob::newSheet()
{
    top = 0;
    pageBottom = pageHeight;
    const bool started = document.newSheet();
    if (started && footerSheets > 0) {
        ++footerSheet;
        drawFooter();
        pageBottom = pageHeight - footerHeight();
    }
    return started;
}

namespace {

constexpr int kFooterPoints = 6;

} // namespace

int ReportJob::footerHeight()
{
    const FontSpec saved = u.canvas() ? u.canvas()->font() : FontSpec();
    setPoints(kFooterPoints);
    const int row = u.TextHeightOf(QStringLiteral("Gg"));
    if (u.canvas())
        u.canvas()->setFont(saved);
    return 2 * row;
}

void ReportJob::drawFooter()
{
    const FontSpec saved = u.canvas() ? u.canvas()->font() : FontSpec();
    setPoints(kFooterPoints);
    const QString who = session.state.fileBaseName + QStringLiteral("   ") + session.patient.patientName.toQString();
    const QString sheet = QStringLiteral("%1 / %2").arg(footerSheet).arg(std::max(footerSheet, footerSheets));
    u.DrawText(left, pageHeight, who, kDataColour, AlignLeft, AlignBottom);
    u.DrawText(pageWidth - left, pageHeight, sheet, kDataColour, AlignRight, AlignBottom);
    if (u.canvas())
        u.canvas()->setFont(saved);
}

void ReportJob::beginFooters(int lines, int firstBottom)
{
    // The sheets the list takes, as line() will break it: every further
    // sheet starts with the continuation heading and stops above its footer.
    const int laterBottom = pageHeight - footerHeight();
    firstBottom = std::min(firstBottom, laterBottom);
    int sheets = 1;
    int y = top;
    int bottom = firstBottom;
    for (int i = 0; i < lines; ++i) {
        if (y + charHeight > bottom && y > 0) {
            ++sheets;
            y = charHeight;
            bottom = laterBottom;
        }
        y += charHeight;
    }
    footerSheets = sheets;
    footerSheet = 1;
    drawFooter();
    pageBottom = firstBottom;
}

QStringList wrapToWidth(UtilityService& u, const QString& text, int width)
{
    QStringList lines;
    QString current;
    int i = 0;
    while (i < text.size()) {
        const int step = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString next = text.mid(i, step);
        if (!current.isEmpty() && u.TextWidthOf(current + next) > width) {
            lines << current;
            current.clear();
        }
        current += next;
        i += step;
    }
    lines << current;
    return lines;
}

void ReportJob::makeRoom(int x, const QString& continuation)
{
    if (top + charHeight <= pageBottom || top <= 0)
        return;
    newSheet();
    if (!continuation.isEmpty()) {
        text(x, top, continuation);
        top += charHeight;
    }
}

void ReportJob::line(int x, const QString& s, const QString& continuation)
{
    makeRoom(x, continuation);
    text(x, top, s);
    top += charHeight;
}

void ReportJob::text(int x, int y, const QString& s, int horizontal, int vertical)
{
    u.DrawText(x, y, s, kDataColour, horizontal, vertical);
}

ReportFormat reportFormatFor(ReportKind kind, std::uint8_t bpMode)
{
    ReportFormat f = ReportFormat::builtIn();
    f.bpMode = bpMode;
    if (kind != ReportKind::Full) {
        f.patientPage = 0;
        f.summaryPage = f.readingsPage = f.bpTrend = 1;
        f.dpTrend = kind == ReportKind::Mini ? 1 : 0;
        f.correlation = f.histogram = 0;
    }
    return f;
}

ReportResult printReportBody(ReportDocument& document, Session& session, const ReportFormat& given, ReportKind kind,
                             MessageSink* messages)
{
    SessionState& st = session.state;
    const bool home = st.recorderType == RecorderType::Ks318;
    const std::uint32_t hours = session.intervals.valid ? session.intervals.interval1Hours : 0;
    if (hours > (home ? kMaxReportHours : kMaxReportHoursOther)) {
        showMessage(messages, kTooLongId, kErrorCaptionId, MessageIcon::Warning);
        return ReportResult::Refused;
    }

    // The ambulatory recorders measure by one method only.
    ReportFormat format = given;
    if (st.recorderType == RecorderType::Rv5720)
        format.bpMode = 2;
    else if (st.recorderType == RecorderType::Rv5730)
        format.bpMode = 0;
    if (!isValidBpMode(format.bpMode))
        format.bpMode = 0;

    if (!session.allocateData())
        return ReportResult::Unreadable;
    ReportBlock block{session};
    st.timeOrderError = false;
    if (!readBpDataFile(session, st.currentFilePath, BpMode(format.bpMode))) {
        showMessage(messages, kCannotOpenId, kErrorCaptionId, MessageIcon::Warning);
        return ReportResult::Unreadable;
    }
    if (st.timeOrderError) {
        st.timeOrderError = false;
        showMessage(messages, kBadTimesId, kErrorCaptionId, MessageIcon::Warning);
        return ReportResult::Refused;
    }
    const SessionData& data = *session.data();
    computePeriodStatistics(session, thresholdsOf(session.settings.analysis));

    if (!document.newSheet())
        return ReportResult::DeviceFailed;
    PainterCanvas painterCanvas(document.painter());
    UtilityService u(PrinterDevice, nullptr, &document.canvasFor(painterCanvas));
    u.SetFontKind(-1);
    PlotLayout layout;
    layout.h = std::max(2, u.TextHeightOf(QStringLiteral("Gg")));
    layout.m = layout.h / 2;
    layout.printing = true;
    // The whole analysis window in view; the window's own view is left alone.
    PlotJob plot(u, session, layout);
    plot.spanMinutes = std::max<int>(1, int(hours) * 60);
    plot.scrollHours = 0;
    applyAxisSettings(u, plot.spanMinutes);

    ReportJob job(document, u, plot, data, format, kind);
    const QPaintDevice* device = document.painter().device();
    job.pageWidth = device->width();
    job.pageHeight = device->height();
    job.h = layout.h;
    job.margin = layout.m;
    job.lineUnit = std::max(1, job.pageWidth / 600);
    job.left = job.pageWidth / 32;
    job.right = job.pageWidth - 3 * job.left;
    job.pageBottom = kind == ReportKind::Full ? job.pageHeight : job.pageHeight * 45 / 100;
    job.top = 0;
    job.view = trendViewOf(plot, &data);
    job.measure();

    switch (kind) {
    case ReportKind::Full:
        job.textPoints = 8;
        printFull(job);
        break;
    case ReportKind::Mini:
        printMini(job);
        break;
    case ReportKind::Patient:
        printPatient(job);
        break;
    case ReportKind::Clinical:
        printClinicalSheet(job);
        break;
    }
    return ReportResult::Printed;
}

} // namespace ks318
