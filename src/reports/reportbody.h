#pragma once
// The printed report of one recording: the checks, the set-up of the
// printer's drawing layer, and the pages of the full, mini or patient report
// in their order. The same body prints through the print dialog, in batch
// printing and from the command line, into a printer or a PDF file.
#include "reportformat.h"

#include <QPainter>
#include <functional>

class QPagedPaintDevice;

namespace ks318 {

class Canvas;
class Session;
struct MessageSink;

enum class ReportKind { Full, Mini, Patient, Clinical };

// The resolution the report is laid out at. The graph pages draw markers,
// dots and gaps of a fixed number of printer pixels, which this keeps at
// the sizes a paper printer gives them.
constexpr int kReportDpi = 300;

// Longest analysis window a report prints, in hours: the KS-318P's and that
// of the ambulatory recorders.
constexpr std::uint32_t kMaxReportHours = 43848;
constexpr std::uint32_t kMaxReportHoursOther = 192;

// The document the reports of one print go into. Its painter begins at the
// first sheet, so a print that is refused before any page leaves the device
// untouched: no empty sheet, no file. Several reports may follow one another
// in one document.
class ReportDocument {
public:
    explicit ReportDocument(QPagedPaintDevice& device);
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    // Starts the next sheet; the first call begins the document. False when
    // the device cannot be started (a printer that is not there, a PDF file
    // that cannot be written).
    bool newSheet();
    QPainter& painter() { return painter_; }
    QPagedPaintDevice& device() { return device_; }
    int sheets() const { return sheets_; }
    // Ends the document; false when it could not be written. A document
    // that never began ends successfully with nothing written.
    bool finish();

    // The canvas the pages draw through: the painter's own, or what a
    // wrapper set here makes of it (a layout check records every text and
    // line on its way to the page).
    using CanvasWrapper = std::function<Canvas&(Canvas& painterCanvas)>;
    void setCanvasWrapper(CanvasWrapper wrapper) { wrapper_ = std::move(wrapper); }
    Canvas& canvasFor(Canvas& painterCanvas) { return wrapper_ ? wrapper_(painterCanvas) : painterCanvas; }

private:
    CanvasWrapper wrapper_;
    QPagedPaintDevice& device_;
    QPainter painter_;
    int sheets_ = 0;
    bool failed_ = false;
};

enum class ReportResult {
    Printed,
    Refused,       // message 223 (recording too long) or 271 (readings out of time order)
    Unreadable,    // the data file cannot be read (message 220)
    DeviceFailed,  // the printer or the file could not be started
};

// The format a report of `kind` prints with: the built-in one for the full
// report; for the mini and patient reports slot 0 as the report dialog
// rewrites it (summary, readings and trend; the double-product panel on the
// mini report only). Filled with `bpMode`.
ReportFormat reportFormatFor(ReportKind kind, std::uint8_t bpMode = 0);

// Prints the session's current recording (state.currentFilePath, with the
// records its preparation set) as a report of `kind` with `format`, starting
// on a new sheet of `document`. Refusals show their message before anything
// is printed. The report fills a block of its own, recomputes the session's
// statistics from it and frees it at the end; the graphics window's view is
// left as it was (the report shows the whole analysis window).
ReportResult printReportBody(ReportDocument& document, Session& session, const ReportFormat& format, ReportKind kind,
                             MessageSink* messages);

} // namespace ks318
