#include "reportpages.h"

#include "analysis/periodstatistics.h"
#include "session/summarylines.h"
#include "plots/distributionpages.h"
#include "records/bpdatafile.h"
#include "records/cp932.h"
#include "records/daycount.h"
#include "session/session.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "records/textformat.h"

#include <QRect>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <QCoreApplication>

namespace ks318 {

namespace {

// Patient information page.
constexpr int kFileId = 109;
constexpr int kDateId = 110;
constexpr int kTimeId = 111;
constexpr int kRecorderIdId = 112;
constexpr int kPatientInfoId = 113;
constexpr int kFirstPatientLabelId = 114;   // 114..125
constexpr int kPhysicianInfoId = 126;
// Readings page.
constexpr int kBpDataId = 157;
constexpr int kReadingsHeadingId = 158;
// Graph pages.
constexpr int kCorrelationTitleId = 163;
constexpr int kHistogramTitleId = 164;
// Patient report.
constexpr int kPatientNameId = 294;
constexpr int kHonorificId = 295;
constexpr int kMeasuringPeriodId = 296;
constexpr int kTrendGraphId = 297;
constexpr int kResultsTitleId = 298;
constexpr int kConditionsId = 299;
constexpr int kNightTimeId = 300;
constexpr int kSysThresholdId = 301;
constexpr int kDiaThresholdId = 302;
constexpr int kResultsId = 305;
constexpr int kWholeSectionId = 306;
constexpr int kDaySectionId = 307;
constexpr int kNightSectionId = 308;
constexpr int kFirstPatientRowId = 309;     // 309..311: SYS, DIA, pulse
constexpr int kMaxHeadId = 312;
constexpr int kMinHeadId = 313;
constexpr int kMeanHeadId = 314;
constexpr int kSdHeadId = 315;
constexpr int kAboveHeadId = 316;
constexpr int kPatientDataId = 317;
constexpr int kPatientHeadingId = 318;

constexpr int kHeaderPoints = 16;
constexpr int kTrendTitlePoints = 14;
constexpr int kPatientSummaryPoints = 14;

QString str(int id) { return StringTable::text(id); }

// "date hh:nn" of a minute number.
QString dateAndTime(std::int64_t minutes)
{
    const CivilDate d = civilFromDayNumber(minutes / 1440);
    const int tod = int(minutes % 1440);
    return formatShortDate(QDate(d.year, d.month, d.day)) + QLatin1Char(' ') + clockText(tod / 60, tod % 60);
}

// Analysis window 1 as minute numbers.
std::pair<std::int64_t, std::int64_t> window1Minutes(const Session& session)
{
    const AnalysisIntervals& iv = session.intervals;
    const std::int64_t start = minutesFromDayCount(iv.interval1StartDate) + minutesFromDayCount(iv.interval1StartTime);
    return {start, start + std::int64_t(iv.interval1Hours) * 60};
}

int readingCount(const SessionData& d) { return int(std::min<std::uint32_t>(d.readingCount(), kMaxReadings)); }

// The lines of a text typed in a memo (CR LF between lines).
QStringList memoLines(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
    while (lines.size() > 1 && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

// A label and its value one character width after the label's end; the
// further lines of a value stand under its first.
void labelled(ReportJob& job, int x, const QString& label, const QString& value)
{
    const int valueX = x + job.u.TextWidthOf(label) + job.charWidth;
    // A line longer than the room right of the label wraps under itself,
    // every character kept.
    const int width = std::max(job.charWidth, job.pageWidth - job.left - valueX);
    QStringList lines;
    for (const QString& l : memoLines(value))
        lines << wrapToWidth(job.u, l, width);
    job.makeRoom();
    job.text(x, job.top, label);
    job.line(valueX, lines.value(0));
    for (int i = 1; i < lines.size(); ++i)
        job.line(valueX, lines[i]);
}

// The left and right edges of the graphs of the report.
int graphLeft(ReportJob& job)
{
    job.u.SetFontKind(-1);
    return job.left + job.h + job.u.TextWidthOf(QStringLiteral(" mmHg 200 "));
}

int graphRight(ReportJob& job)
{
    job.u.SetFontKind(-1);
    return job.right + job.h - job.u.TextWidthOf(QStringLiteral("140 "));
}

} // namespace

// --- graph pages --------------------------------------------------------------

int printReportHeader(ReportJob& job)
{
    UtilityService& u = job.u;
    u.SetFontKind(-3);
    const int row = u.TextHeightOf(QStringLiteral("Gg"));
    const int centre = job.pageWidth / 2;
    job.text(centre, job.top, job.format.heading.toQString(), AlignCentre, AlignTop);
    job.text(centre, job.top + row, job.session.state.windowTitleText, AlignCentre, AlignTop);
    return job.top + 2 * row;
}

void printTrendPage(ReportJob& job)
{
    const ReportFormat& f = job.format;
    const int count = (f.bpTrend ? 1 : 0) + (f.dpTrend ? 1 : 0);
    if (count == 0)
        return;
    UtilityService& u = job.u;
    const int h = job.h;
    const int left = graphLeft(job);
    const int right = graphRight(job);
    const bool patient = job.patientReport();
    int plotTop = job.top + (patient ? 7 : 3) * job.charHeight;
    if (patient) {
        // The 16 point header may reach further down than seven rows of
        // the text face; the trend's title keeps clear of it.
        const int headerBottom = printPatientHeader(job);
        plotTop = std::max(plotTop, headerBottom + job.charHeight / 2);
        job.setPoints(kTrendTitlePoints);
        job.text(job.left + 4 * job.charWidth, plotTop, str(kTrendGraphId));
    } else {
        // Three rows of the text face, or more when the header's two rows
        // of its larger face reach further.
        plotTop = std::max(plotTop, printReportHeader(job));
    }
    const int plotBottom = job.pageBottom - 3 * h;
    const int panelsTop = plotTop + (patient ? 2 * h : 0);
    // The panels share what lies between their top and the bottom, less a
    // row each; the patient report's panels start two rows lower, which
    // must come off their height, or the sleep bar and the time axis run
    // into the summary under the trend.
    const int p = std::max(h, (plotBottom - panelsTop - h * count) / count);

    TrendPanel bp;
    bp.type = PanelBp;
    bp.params = {1, 1, 1, 0};
    int slot = 0;
    int panelBottom = panelsTop;
    for (int type : {int(PanelBp), int(PanelDoubleProduct)}) {
        if ((type == PanelBp && !f.bpTrend) || (type == PanelDoubleProduct && !f.dpTrend))
            continue;
        const int top = (p + h) * slot + panelsTop;
        panelBottom = top + p;
        if (type == PanelBp)
            drawBpPanel(job.plot, job.data, job.view, bp, left, top, right, panelBottom);
        else
            drawDoubleProductPanel(job.plot, job.data, job.view, left, top, right, panelBottom);
        ++slot;
    }

    // Under the panels the sleep bar for spans up to a week, else the axis
    // moves up by a row.
    const int barTop = panelBottom - job.margin;
    const bool shortSpan = job.view.span <= 10080;
    if (shortSpan)
        drawSleepBar(job.plot, job.view, left, right, barTop, panelsTop + h);
    u.BuildTimeAxis(left, shortSpan ? barTop + h : barTop, right, job.view.startDateTime, job.view.span, job.margin,
                    1);
    job.textFont();
}

void printDistributionPage(ReportJob& job)
{
    const ReportFormat& f = job.format;
    UtilityService& u = job.u;
    const int h = job.h;
    u.SetFontKind(-3);
    const int titleRow = u.TextHeightOf(QStringLiteral("Gg"));
    const int top = job.top + 3 * titleRow;
    // The second area's title (its larger face stands taller than the row
    // between the areas) keeps clear of the first area and of the line
    // under it: the areas lie further apart and are that much lower.
    const int gap = std::max(h, titleRow + h + job.lineUnit);
    const int half = (job.pageBottom - top - 3 * h - gap) / 2;
    const int left = graphLeft(job);
    const int right = graphRight(job);
    int area = 0;
    for (int which = 0; which < 2; ++which) {
        if (!(which == 0 ? f.correlation : f.histogram))
            continue;
        const int areaTop = (half + gap) * area + top + 2 * h;
        u.SetFontKind(-3);
        job.text(job.pageWidth / 2, areaTop - h / 2, str(which == 0 ? kCorrelationTitleId : kHistogramTitleId),
                 AlignCentre, AlignBottom);
        if (area == 0) {
            printReportHeader(job);
            // The two lines frame the first area a quarter row outside it,
            // clear of the texts at its edges.
            u.DrawLine(left, areaTop - h / 4, right, areaTop - h / 4, kAxisLineColour, job.lineUnit, false);
            u.DrawLine(left, areaTop + half + h / 4, right, areaTop + half + h / 4, kAxisLineColour, job.lineUnit,
                       false);
        }
        const QRect page(0, areaTop, job.pageWidth, half);
        if (which == 0)
            drawCorrelationPage(job.plot, page, &job.data);
        else
            drawHistogramPage(job.plot, page, &job.data);
        ++area;
    }
    job.textFont();
}

// --- text pages ---------------------------------------------------------------

void printPatientInformationPage(ReportJob& job)
{
    const Session& session = job.session;
    const PatientRecord& pt = session.patient;
    const SessionState& st = session.state;
    UtilityService& u = job.u;

    u.SetFontKind(-3);
    const int headingRow = u.TextHeightOf(QStringLiteral("Gg"));
    job.text(job.pageWidth / 2, job.top, job.format.heading.toQString(), AlignCentre, AlignTop);
    job.top += 2 * headingRow;

    u.SetFontKind(-1);
    job.measure();
    const int x = job.left;
    const int indent = job.left + 2 * job.charWidth;
    labelled(job, x, str(kFileId), st.fileBaseName);
    labelled(job, x, str(kDateId), displayStoredDate(st.startDateText.toQString()));
    labelled(job, x, str(kTimeId), st.startTimeText.toQString());
    if (st.recorderType != RecorderType::Ks318)
        labelled(job, x, str(kRecorderIdId), QString::number(pt.recorderId));
    job.skip();

    job.line(x, str(kPatientInfoId));
    const QString patientValues[] = {
        pt.patientName.toQString(), pt.patientAddress.toQString(),  pt.patientPhone.toQString(),
        pt.socialSecurityNumber.toQString(), pt.medicareNumber.toQString(), pt.insurance.toQString(),
        pt.age.toQString(), pt.sex.toQString(), pt.height.toQString(),
        pt.weight.toQString(), pt.medications.toQString(), pt.comments.toQString(),
    };
    for (int i = 0; i < 12; ++i)
        labelled(job, indent, str(kFirstPatientLabelId + i), patientValues[i]);
    job.skip();

    job.line(x, str(kPhysicianInfoId));
    const QString physicianValues[] = {pt.physicianName.toQString(), pt.physicianAddress.toQString(),
                                       pt.physicianPhone.toQString()};
    for (int i = 0; i < 3; ++i)
        labelled(job, indent, str(kFirstPatientLabelId + i), physicianValues[i]);
}

void printSummaryPage(ReportJob& job)
{
    Session& session = job.session;
    const BpThresholds thresholds = thresholdsOf(session.settings.analysis);
    const bool full = job.kind == ReportKind::Full;
    const int x = job.left;
    job.textFont();
    job.line(x, summaryModeLine(job.format.bpMode));
    job.skip();
    auto block = [&](int period) {
        for (const QString& l : summaryBlockLines(session, thresholds, period))
            job.line(x, l);
    };

    block(WholePeriod);
    if (full)
        job.line(x, summaryClosingLine());
    // The partial-interval block would stand 28 rows below the top of this
    // one; partial analysis is never on, so its place stays empty and the
    // daytime and night-time blocks start a new sheet.
    const SessionState& st = session.state;
    if (st.sleepHour == -1 || st.wakeHour == -1)
        return;
    if (full) {
        job.newSheet();
        const int awakeTop = job.top;
        block(AwakePeriod);
        job.line(x, summaryClosingLine());
        job.top = std::max(job.top, awakeTop + 25 * job.charHeight);
        block(AsleepPeriod);
    } else {
        job.skip();
        block(AwakePeriod);
        job.skip();
        block(AsleepPeriod);
    }
}

void printReadingsPage(ReportJob& job)
{
    const SessionData& d = job.data;
    const int x = job.left;
    job.textFont();
    job.line(x, str(kBpDataId));
    job.line(x, summaryModeLine(job.format.bpMode));
    job.skip();
    const QString heading = str(kReadingsHeadingId);
    job.line(x, heading);
    const int n = readingCount(d);
    job.beginFooters(n, job.pageBottom);
    for (int i = 0; i < n; ++i) {
        const BpReading& r = d.readings[std::size_t(i)];
        const QString state = formatText("%2s %s %2s%s", r.methodText.str().c_str(), r.eFlagText.str().c_str(),
                                     r.errorText.str().c_str(), r.excludedText.str().c_str());
        const QString l = formatText("%3d %2d/%02d %2d:%02d %3s %3s %3s %3s %3s ", i + 1, r.month, r.day, r.hour,
                                 r.minute, r.sysText.str().c_str(), r.diaText.str().c_str(), r.mapText.str().c_str(),
                                 r.pulseText.str().c_str(), r.dpText.str().c_str())
                          + state + QLatin1Char(' ') + displayComment(r);
        job.line(x, l, heading);
    }
    job.endFooters();
}

// --- the patient report -------------------------------------------------------

int printPatientHeader(ReportJob& job)
{
    const Session& session = job.session;
    job.setPoints(kHeaderPoints);
    const int cw = std::max(1, job.u.TextWidthOf(QStringLiteral("S")));
    // Its lines are rows of its own 16 point face.
    const int row = std::max(1, job.u.TextHeightOf(QStringLiteral("Gg")));
    const int x = job.left + 3 * cw;
    const int y = job.top + 3 * job.charHeight;
    const QString name = str(kPatientNameId) + session.patient.patientName.toQString();
    job.text(x, y, name);
    // The honorific one character after the name, or in its own column
    // for short names.
    int length = int(toCp932(name).size());
    if (length < 8)
        length = 24;
    job.text(x + (length + 1) * cw, y, str(kHonorificId));
    if (session.intervals.valid) {
        const auto [start, end] = window1Minutes(session);
        job.text(x, y + 2 * row,
                 str(kMeasuringPeriodId) + dateAndTime(start) + QStringLiteral(" --> ") + dateAndTime(end));
    }
    job.textFont();
    return y + 3 * row;
}

void printPatientSummary(ReportJob& job)
{
    Session& session = job.session;
    const SessionState& st = session.state;
    const PeriodStatistics& stats = session.stats;
    const BpThresholds t = thresholdsOf(session.settings.analysis);
    const int cw = job.charWidth;
    const int x = job.left + 4 * cw;
    const int tableX = job.left + 10 * cw;
    job.setPoints(kPatientSummaryPoints);
    job.measure();
    const int col = 9 * job.charWidth;          // a value column: nine columns of the face
    const int labelWidth = 18 * job.charWidth;  // the row captions take sixteen

    job.line(x, str(kResultsTitleId));
    job.line(x, str(kConditionsId));
    const int sub = x + 2 * job.charWidth;
    const bool sleepSet = st.sleepHour != -1 && st.wakeHour != -1;
    QString night = QStringLiteral("--:-- --> --:--");
    if (sleepSet) {
        // The night ends the minute before the wake time.
        const int wake = (st.wakeHour * 60 + st.wakeMinute + 1439) % 1440;
        night = clockText(st.sleepHour, st.sleepMinute) + QStringLiteral(" --> ") + clockText(wake / 60, wake % 60);
    }
    job.line(sub, str(kNightTimeId) + night);
    job.line(sub, str(kSysThresholdId) + formatText(" %3d", t.awakeSys) + QCoreApplication::translate("ReportPages", "(昼間)")
                      + formatText(" %3d", t.asleepSys) + QCoreApplication::translate("ReportPages", "(夜間)"));
    job.line(sub, str(kDiaThresholdId) + formatText(" %3d", t.awakeDia) + QCoreApplication::translate("ReportPages", "(昼間)")
                      + formatText(" %3d", t.asleepDia) + QCoreApplication::translate("ReportPages", "(夜間)"));
    job.line(x, str(kResultsId));

    // The table: captions, then five columns with their values right-aligned.
    const int heads[] = {kMinHeadId, kMeanHeadId, kMaxHeadId, kSdHeadId, kAboveHeadId};
    auto columnRight = [&](int c) { return tableX + labelWidth + (c + 1) * col - job.charWidth; };
    for (int c = 0; c < 5; ++c)
        job.text(columnRight(c), job.top, str(heads[c]), AlignRight, AlignTop);
    job.skip();

    const int tableRight = columnRight(4);
    struct Section {
        int title;
        int period;
    };
    const Section sections[] = {{kWholeSectionId, WholePeriod}, {kDaySectionId, AwakePeriod},
                                {kNightSectionId, AsleepPeriod}};
    const int parameters[] = {ParamSys, ParamDia, ParamPulse};
    for (const Section& s : sections) {
        if (s.period != WholePeriod && !sleepSet)
            break;
        QString title = str(s.title) + QLatin1Char(' ');
        const int hyphens = std::max(0, (tableRight - tableX - job.u.TextWidthOf(title)) / job.charWidth);
        job.line(tableX, title + QString(hyphens, QLatin1Char('-')));
        const std::uint32_t n = periodCount(job.data.counters, s.period);
        if (n == 0)
            continue;
        for (int r = 0; r < 3; ++r) {
            const int k = parameters[r];
            const double* v = stats.stat[s.period][k];
            QString cells[5] = {formatText("%3.0f", v[StatMin]), formatText("%3.0f", v[StatMean]),
                                formatText("%3.0f", v[StatMax]), formatText("%5.1f", v[StatSd]), QString()};
            // The stored format ends in a bare "%"; the sign is printed.
            if (k == ParamSys)
                cells[4] = formatText("%5.1f%%", aboveThresholdPercent(stats.sysAboveCount[s.period], n));
            else if (k == ParamDia)
                cells[4] = formatText("%5.1f%%", aboveThresholdPercent(stats.diaAboveCount[s.period], n));
            job.text(tableX, job.top, str(kFirstPatientRowId + r));
            for (int c = 0; c < 5; ++c)
                job.text(columnRight(c), job.top, cells[c], AlignRight, AlignTop);
            job.skip();
        }
    }
    job.textFont();
}

void printFooterBox(ReportJob& job)
{
    const FacilitySettings& facility = job.session.settings.facility;
    const int cw = job.charWidth;
    const int rows = job.charHeight;
    job.u.DrawBox(4 * cw, job.pageHeight - 14 * rows, job.pageWidth - 4 * cw, job.pageHeight - 5 * rows, kDataColour,
                  job.lineUnit, false, false, false);
    if (facility.printFacilityName == 1 && !facility.facilityName.empty()) {
        job.setPoints(kHeaderPoints);
        job.text(job.pageWidth / 2, job.pageHeight - 3 * rows, facility.facilityName.toQString(), AlignCentre,
                 AlignMiddle);
    }
    job.textFont();
}

void printPatientReadings(ReportJob& job)
{
    const SessionData& d = job.data;
    job.textFont();
    // The first sheet carries the patient header and the box for notes;
    // the list stops above the box.
    const int headerBottom = printPatientHeader(job);
    printFooterBox(job);
    job.top = std::max(job.top + 7 * job.charHeight, headerBottom + job.charHeight);
    const int x = job.left + 4 * job.charWidth;
    job.line(x, str(kPatientDataId));
    const QString heading = str(kPatientHeadingId);
    job.line(x, heading);
    const int n = readingCount(d);
    int listed = 0;
    for (int i = 0; i < n; ++i)
        listed += d.readings[std::size_t(i)].windowMembership == OutsideWindows ? 0 : 1;
    job.beginFooters(listed, job.pageHeight - 15 * job.charHeight);
    for (int i = 0; i < n; ++i) {
        const BpReading& r = d.readings[std::size_t(i)];
        if (r.windowMembership == OutsideWindows)
            continue;
        const QString state = formatText("%s %2s%s", r.methodText.str().c_str(), r.errorText.str().c_str(),
                                     r.excludedText.str().c_str());
        job.line(x,
                 formatText("%3d %2d/%02d %2d:%02d  %3s  %3s  %3s  ", i + 1, r.month, r.day, r.hour, r.minute,
                        r.sysText.str().c_str(), r.diaText.str().c_str(), r.pulseText.str().c_str())
                     + state,
                 heading);
    }
    job.endFooters();
}

} // namespace ks318
