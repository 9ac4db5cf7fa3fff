#include "clinicalsheet.h"

#include "reportpages.h"

#include "analysis/clinicalmeasures.h"
#include "plots/clinicalprofile.h"
#include "records/daycount.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "records/textformat.h"
#include "session/clinicallines.h"

#include <QCoreApplication>
#include <QRect>
#include <algorithm>

namespace ks318 {

namespace {

constexpr int kPatientNameId = 294;
constexpr int kMeasuringPeriodId = 296;

constexpr int kTitlePoints = 14;
constexpr int kHeadPoints = 10;
constexpr int kTablePoints = 9;

QString dateAndTime(std::int64_t minutes)
{
    const CivilDate d = civilFromDayNumber(minutes / 1440);
    const int tod = int(minutes % 1440);
    return formatShortDate(QDate(d.year, d.month, d.day)) + QLatin1Char(' ') + clockText(tod / 60, tod % 60);
}

} // namespace

void printClinicalSheet(ReportJob& job)
{
    UtilityService& u = job.u;
    const Session& session = job.session;
    const SessionState& st = session.state;
    const ClinicalMeasures m =
        computeClinicalMeasures(&job.data, st.sleepHour, st.sleepMinute, st.wakeHour, st.wakeMinute);
    const int left = job.left;
    const int right = job.pageWidth - job.left;
    job.top = 0;
    job.pageBottom = job.pageHeight;

    // Title, patient, period, file and BP mode.
    job.setPoints(kTitlePoints);
    job.measure();
    job.text(left, job.top, clinicalTitle());
    job.top += job.charHeight * 3 / 2;
    job.setPoints(kHeadPoints);
    job.measure();
    job.text(left, job.top, StringTable::text(kPatientNameId) + session.patient.patientName.toQString());
    job.top += job.charHeight;
    if (session.intervals.valid) {
        const AnalysisIntervals& iv = session.intervals;
        const std::int64_t start =
            minutesFromDayCount(iv.interval1StartDate) + minutesFromDayCount(iv.interval1StartTime);
        const std::int64_t end = start + std::int64_t(iv.interval1Hours) * 60;
        job.text(left, job.top,
                 StringTable::text(kMeasuringPeriodId) + dateAndTime(start) + QStringLiteral(" --> ") + dateAndTime(end));
        job.top += job.charHeight;
    }
    QString times = st.fileBaseName + QStringLiteral("  (") + bpModeNameOf(job.data) + QLatin1Char(')');
    if (m.timesSet())
        times += QCoreApplication::translate("ks318::ClinicalSheet", "  就寝 %1  起床 %2")
                     .arg(clockText(m.sleepMinute / 60, m.sleepMinute % 60), clockText(m.wakeMinute / 60, m.wakeMinute % 60));
    job.text(left, job.top, times);
    job.top += job.charHeight * 3 / 2;

    // The table: captions on the left, four value columns right-aligned.
    job.setPoints(kTablePoints);
    job.measure();
    const std::vector<ClinicalRow> rows = clinicalTableRows(m);
    int captionWidth = 0;
    for (const ClinicalRow& row : rows)
        captionWidth = std::max(captionWidth, u.TextWidthOf(row.caption));
    const int column = 9 * job.charWidth;
    const int firstColumnRight = left + captionWidth + column;
    const QStringList heads = clinicalColumnHeads();
    for (int c = 0; c < kClinicalColumns; ++c)
        job.text(firstColumnRight + c * column, job.top, heads[c], AlignRight);
    // A rule under the heads, clear of their boxes and of the first row.
    job.top += job.charHeight + job.charHeight / 6;
    u.DrawLine(left, job.top, firstColumnRight + (kClinicalColumns - 1) * column, job.top, kAxisLineColour,
               job.lineUnit, false);
    job.top += job.charHeight / 3;
    for (const ClinicalRow& row : rows) {
        job.text(left, job.top, row.caption);
        for (int c = 0; c < kClinicalColumns; ++c)
            if (!row.cells[c].isEmpty())
                job.text(firstColumnRight + c * column, job.top, row.cells[c], AlignRight);
        job.top += job.charHeight;
    }
    job.top += job.charHeight / 2;

    for (const QString& line : clinicalFlagLines(m)) {
        job.text(left, job.top, line);
        job.top += job.charHeight;
    }
    job.top += job.charHeight / 2;
    for (const QString& line : clinicalAdequacyLines(m)) {
        job.text(left, job.top, line);
        job.top += job.charHeight;
    }
    job.top += job.charHeight / 2;

    // The profile fills the rest of the sheet above the sources line.
    const int sourcesTop = job.pageHeight - job.charHeight;
    const int profileBottom = sourcesTop - job.charHeight / 2;
    const int profileHeight = std::min(profileBottom - job.top, job.pageHeight * 2 / 5);
    if (profileHeight > 0)
        drawClinicalProfile(u, QRect(left, job.top, right - left, profileHeight), m);
    job.textFont();
    job.setPoints(kTablePoints);
    job.measure();
    job.text(left, sourcesTop, clinicalSourcesLine());
    job.textFont();
}

} // namespace ks318
