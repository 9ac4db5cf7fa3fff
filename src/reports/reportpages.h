#pragma once
// The pages of the printed report and the state of the report while it
// prints. Coordinates are printer pixels from the top left of the printable
// part of the sheet.
#include "reportbody.h"

#include "plots/plotjob.h"
#include "plots/trendpage.h"
#include "session/session.h"

#include <QString>

namespace ks318 {

struct SessionData;

struct ReportJob {
    ReportJob(ReportDocument& document, UtilityService& u, PlotJob& plot, const SessionData& data,
              const ReportFormat& format, ReportKind kind);

    ReportDocument& document;
    UtilityService& u;
    PlotJob& plot;              // the graph pages' job: printer, report row height and margins, whole window in view
    Session& session;
    const SessionData& data;
    const ReportFormat& format;
    ReportKind kind;
    TrendView view;

    int h = 0;                  // row height: "Gg" in font kind -1
    int margin = 0;             // h / 2
    int lineUnit = 1;           // page width / 600
    int left = 0;               // u = page width / 32
    int right = 0;              // page width - 3u
    int pageWidth = 0;
    int pageHeight = 0;
    int pageBottom = 0;
    int top = 0;                // where the next line goes
    int charHeight = 0;         // "Gg" in the current font
    int charWidth = 0;          // "S" in the current font
    int textPoints = 8;         // size of the text pages' font

    // The small footer of the readings lists' sheets: file, patient and
    // "n / m". Active while footerSheets > 0; every new sheet then gets it
    // and its page bottom stops above it.
    int footerSheet = 0;
    int footerSheets = 0;

    bool patientReport() const { return kind == ReportKind::Patient; }

    // The printer face at `points`, regular.
    void setPoints(int points);
    // The text pages' font, then its metrics.
    void textFont();
    void measure();
    // A new sheet: top back to 0, bottom to the full page.
    bool newSheet();
    // One line at `x`; a line that would pass the page bottom goes to a new
    // sheet first, under `continuation` when one is given.
    void line(int x, const QString& text, const QString& continuation = QString());
    // The sheet break of line() alone: a new sheet when one more line does
    // not fit, with `continuation` at `x` on top.
    void makeRoom(int x = 0, const QString& continuation = QString());
    void skip(int rows = 1) { top += rows * charHeight; }
    void text(int x, int y, const QString& text, int horizontal = 0, int vertical = 3);

    // Footers on the sheets of a list of `lines` lines (a continuation
    // heading on every further sheet) that starts at the current top and
    // stops at `firstBottom` on the current sheet: the current sheet gets
    // its footer now, every later one when it starts.
    void beginFooters(int lines, int firstBottom);
    void endFooters() { footerSheets = 0; }
    // Height the footer takes at the bottom of a sheet.
    int footerHeight();
    void drawFooter();
};

// A text cut into lines no wider than `width` on the layer's current font,
// at character boundaries (a surrogate pair is never split), keeping every
// character.
QStringList wrapToWidth(UtilityService& u, const QString& text, int width);

// Graph pages: the trend (header, panels, sleep bar, time axis) within the
// page bottom; the correlation and histogram areas.
void printTrendPage(ReportJob& job);
void printDistributionPage(ReportJob& job);
// The full report's header: the format's heading and the window title text,
// centred at the top in font kind -3. Returns the y under it.
int printReportHeader(ReportJob& job);

// Text pages.
void printPatientInformationPage(ReportJob& job);
void printSummaryPage(ReportJob& job);
void printReadingsPage(ReportJob& job);

// The patient report.
// Returns the y just under its last line.
int printPatientHeader(ReportJob& job);
void printPatientSummary(ReportJob& job);
void printPatientReadings(ReportJob& job);
void printFooterBox(ReportJob& job);

} // namespace ks318
