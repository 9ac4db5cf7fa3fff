// The report dialogs over the main window with the demo open: the three
// print buttons with the slot-0 rewrites of the mini and patient reports,
// a cancelled print dialog, File > Print of several files (the type-30 file
// skipped with message 262, the cancel button read between files).
#include "guisupport.h"
#include "reports/printprogressform.h"
#include "reports/reportprinter.h"
#include "reports/reportselection318form.h"
#include "support/pdftext.h"

#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;

class TestReportDialogs : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w_;
    bool cancelDialog_ = false;
    int printDialogs_ = 0;

    QString pdf() const { return w_->file(QStringLiteral("OUT.pdf")); }
    ReportPrinter& reports() const { return *w_->form->Reports; }
    TReportSelection318Form& dialog() const { return *w_->form->ReportSelection318Form; }
    QString all() const { return test::pdfPages(pdf()).join(QLatin1Char('\n')); }

private Q_SLOTS:
    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
        QVERIFY(w_->form->openFile(w_->demoPath()));
        cancelDialog_ = false;
        printDialogs_ = 0;
        reports().setPrintDialog([this](QPrinter& printer) {
            ++printDialogs_;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf());
            return !cancelDialog_;
        });
    }

    void printButtons()
    {
        ReportFormat& slot0 = reports().formats.slot0();
        dialog().PrintMiniReportButton->click();
        QString text = all();
        QVERIFY(text.contains(QStringLiteral("DOUBLE PRODUCT")) && text.contains(QStringLiteral("全区間サマリー")));
        QVERIFY(slot0 == ReportFormat::builtIn());   // the copy is put back

        dialog().PrintPtReportButton->click();
        text = all();
        QVERIFY(text.contains(QStringLiteral("・トレンドグラフ")) && !text.contains(QStringLiteral("DOUBLE PRODUCT")));
        ReportFormat after = ReportFormat::builtIn();
        after.dpTrend = 0;
        QVERIFY(slot0 == after);
        QVERIFY(!reports().patientReport && !reports().miniReport && !w_->form->printingActive);

        // The full report prints slot 0 as the patient report left it.
        slot0.dpTrend = 1;
        dialog().PrintReportButton->click();
        text = all();
        QVERIFY(text.contains(QStringLiteral("患者情報")) && text.contains(QStringLiteral("DOUBLE PRODUCT"))
                && text.contains(QStringLiteral("CORRLEATION PLOTS")));

        QFile::remove(pdf());
        cancelDialog_ = true;
        dialog().PrintReportButton->click();
        QCOMPARE(printDialogs_, 4);
        QVERIFY(!QFile::exists(pdf()));
        QVERIFY(w_->messages.shownIds().isEmpty());

        // A PDF file that cannot be written says so.
        cancelDialog_ = false;
        reports().setPrintDialog([this](QPrinter& printer) {
            printer.setOutputFileName(w_->file(QStringLiteral("NO/SUCH/DIR/OUT.pdf")));
            return true;
        });
        dialog().PrintReportButton->click();
        QCOMPARE(w_->messages.shownIds(), QList<int>{220});
    }

    void batch_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("periods");
        QTest::addColumn<QList<int>>("messages");
        QTest::newRow("every file, the type-30 file skipped")
            << false << QStringList{"2026/11/20", "2026/11/02"} << QList<int>{262};
        QTest::newRow("cancelled during the first file") << true << QStringList{"2026/11/20"} << QList<int>{};
    }

    void batch()
    {
        QFETCH(bool, cancel);
        QFETCH(QStringList, periods);
        QFETCH(QList<int>, messages);
        synth::Options o;
        o.count = 12;
        o.day = 20;
        QVERIFY(writeFile(w_->file(QStringLiteral("LATER.DAT")), synth::makeFile(o)));
        o.type = RecorderType::Rv5730;
        QVERIFY(writeFile(w_->file(QStringLiteral("AMBU.DAT")), synth::makeFile(o)));
        TPrintProgressForm* progress = w_->form->PrintProgressForm;
        if (cancel)
            connect(&reports(), &ReportPrinter::fileStarted, progress->PrintCancelButton, &QPushButton::click);
        const QString current = w_->session.state.currentFilePath;

        // File > Print of three files, the report dialog answered with the patient report.
        const QStringList files{w_->demoPath(), w_->file(QStringLiteral("AMBU.DAT")), w_->file(QStringLiteral("LATER.DAT"))};
        w_->form->setPrintFilesChooser([files](const QString&, const QString&) { return files; });
        QTimer::singleShot(0, dialog().PrintPtReportButton, &QPushButton::click);
        w_->form->FilePrint->trigger();
        QCOMPARE(test::patientReportStarts(pdf()), periods);   // from the last file to the first
        QCOMPARE(w_->messages.shownIds(), messages);
        QVERIFY(!progress->isVisible() && !w_->form->batchPrint && !w_->form->printingActive);
        QCOMPARE(w_->session.state.currentFilePath, current);
        QCOMPARE(w_->session.state.windowTitleText.section(QLatin1Char(' '), 0, 0), QStringLiteral("DEMO"));
    }
};

QTEST_MAIN(TestReportDialogs)
#include "tst_gui_reports.moc"
