#include "reportprinter.h"

#include "printprogressform.h"

#include "records/dataset.h"
#include "records/messages.h"
#include "session/openrecording.h"
#include "session/session.h"

#include <QApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>

namespace ks318 {

namespace {

constexpr int kCannotOpenId = 220;

} // namespace

ReportPrinter::ReportPrinter(Session& session, MessageSink* messages, TPrintProgressForm* progress,
                             const bool& batchPrint, const QStringList& files, QWidget* dialogParent)
    : QObject(dialogParent), session_(session), messages_(messages), progress_(progress), batchPrint_(batchPrint),
      files_(files), dialogParent_(dialogParent)
{
    printDialog_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, dialogParent_);
        return dialog.exec() == QDialog::Accepted;
    };
}

ReportKind ReportPrinter::kind() const
{
    if (patientReport)
        return ReportKind::Patient;
    return miniReport ? ReportKind::Mini : ReportKind::Full;
}

void ReportPrinter::PrintReport(const ReportFormat& format)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!printDialog_ || !printDialog_(printer))
        return;
    if (!formats.valid || formats.selectedIndex < 0)
        return;
    printer.setResolution(kReportDpi);
    pdfOutput_ = printer.outputFormat() == QPrinter::PdfFormat;
    // The reports of a batch go into one document, so a batch printed to a
    // PDF file keeps every recording.
    ReportDocument document(printer);
    // A full report of a batch always prints with slot 0.
    const ReportFormat& batchFormat = kind() == ReportKind::Full ? formats.slots[0] : format;
    const QString remembered = session_.state.currentFilePath;

    if (batchPrint_ && files_.size() > 1) {
        if (progress_)
            progress_->start();
        const int step = progress_ ? progress_->ProgressBar->maximum() / int(files_.size()) : 0;
        for (qsizetype i = files_.size() - 1; i >= 0; --i) {
            if (progress_ && progress_->cancelled())
                break;
            const QString& path = files_[i];
            if (path.isEmpty())
                continue;
            if (progress_)
                progress_->FileLabel->setText(path);
            Q_EMIT fileStarted(path);
            QCoreApplication::processEvents();
            if (openForPrinting(path)) {
                if (!printBody(document, batchFormat))
                    break;
                if (progress_)
                    progress_->ProgressBar->setValue(progress_->ProgressBar->value() + step);
            }
            // The cancel button is read between files.
            QCoreApplication::processEvents();
        }
        reopen(remembered);
        if (progress_)
            progress_->close();
    } else {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (batchPrint_ && files_.size() == 1) {
            if (openForPrinting(files_.first()))
                printBody(document, batchFormat);
            reopen(remembered);
        } else {
            printBody(document, format);
        }
        QApplication::restoreOverrideCursor();
    }
    if (!document.finish() && pdfOutput_)
        showMessage(messages_, kCannotOpenId, kErrorCaptionId, MessageIcon::Warning);
}

bool ReportPrinter::printBody(ReportDocument& document, const ReportFormat& format)
{
    if (printReportBody(document, session_, format, kind(), messages_) != ReportResult::DeviceFailed)
        return true;
    // A PDF file that cannot be written is the one failure worth a word;
    // a printer that fails says so itself.
    if (pdfOutput_)
        showMessage(messages_, kCannotOpenId, kErrorCaptionId, MessageIcon::Warning);
    pdfOutput_ = false;
    return false;
}

bool ReportPrinter::openForPrinting(const QString& path)
{
    // The window's open sequence: what File > Open refuses is not printed.
    return openRecording(session_, path, messages_).opened;
}

void ReportPrinter::reopen(const QString& path)
{
    // No recording was open before, or it cannot be opened again: none is
    // afterwards.
    if (path.isEmpty() || !openRecording(session_, path, messages_))
        session_.clearRecording();
}

void ReportPrinter::rewriteSlot0(bool doubleProduct)
{
    formats.valid = true;
    formats.selectedIndex = 0;
    ReportFormat& f = formats.slot0();
    f.bpMode = std::uint8_t(code(session_.state.bpMode));
    f.heading.clear();
    f.patientPage = 0;
    f.summaryPage = 1;
    f.readingsPage = 1;
    f.bpTrend = 1;
    f.dpTrend = doubleProduct ? 1 : 0;
    f.correlation = 0;
    f.histogram = 0;
}

void ReportPrinter::PrintMiniReport()
{
    miniReport = true;
    // The program never asks to keep the mini report's slot 0, so the copy
    // is always taken and put back.
    const SavedSlot0 saved = SavedSlot0::of(formats);
    rewriteSlot0(true);
    PrintReport(formats.slot0());
    saved.restore(formats);
    miniReport = false;
}

void ReportPrinter::PrintPatientReport()
{
    patientReport = true;
    rewriteSlot0(false);
    PrintReport(formats.slot0());
    patientReport = false;
    ReportFormat& f = formats.slot0();
    f.patientPage = f.summaryPage = f.readingsPage = f.bpTrend = f.correlation = f.histogram = 1;
}

} // namespace ks318
