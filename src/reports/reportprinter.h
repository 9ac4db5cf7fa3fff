#pragma once
// The print driver of the reports: asks where to print, then prints the
// report of the open recording, or, when File > Print handed it several
// files, the report of each of them one after the other with the progress
// dialog and its cancel button. Holds the report formats and the mini and
// patient flags the report dialogs set.
#include "reportbody.h"
#include "reportformat.h"

#include <QObject>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace ks318 {

class Session;
class TPrintProgressForm;
struct MessageSink;

class ReportPrinter : public QObject {
    Q_OBJECT
public:
    // Asks where to print; true when the user confirmed. The runner sets
    // up the printer (a device or a PDF file).
    using PrintDialogRunner = std::function<bool(QPrinter& printer)>;

    // `batchPrint` and `files` are the main window's multi-file mode and
    // its list of files.
    ReportPrinter(Session& session, MessageSink* messages, TPrintProgressForm* progress, const bool& batchPrint,
                  const QStringList& files, QWidget* dialogParent);

    void setPrintDialog(PrintDialogRunner runner) { printDialog_ = std::move(runner); }

    ReportFormatTable formats;
    bool miniReport = false;
    bool patientReport = false;

    bool multiFileMode() const { return batchPrint_; }

    // The print driver: the report kind follows the mini and patient flags.
    void PrintReport(const ReportFormat& format);
    // Slot 0 rewritten for the mini report (summary, readings, BP and
    // double-product trend), printed, and put back as it was.
    void PrintMiniReport();
    // Slot 0 rewritten for the patient report (summary, readings, BP trend)
    // and printed; afterwards every page but the double-product panel is on
    // again in slot 0.
    void PrintPatientReport();

Q_SIGNALS:
    // Batch printing: a file is about to print.
    void fileStarted(const QString& path);

private:
    ReportKind kind() const;
    void rewriteSlot0(bool doubleProduct);
    // Makes `path` current for printing; false (with message 262 for a file
    // of another recorder) when it is not to be printed.
    bool openForPrinting(const QString& path);
    void reopen(const QString& path);
    // False when the device failed and nothing more can be printed.
    bool printBody(ReportDocument& document, const ReportFormat& format);

    Session& session_;
    MessageSink* messages_;
    TPrintProgressForm* progress_;
    const bool& batchPrint_;
    const QStringList& files_;
    QWidget* dialogParent_;
    PrintDialogRunner printDialog_;
    bool pdfOutput_ = false;
};

} // namespace ks318
