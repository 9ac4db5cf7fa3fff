// From the main window with the demo open, printing into a PDF file: the
// graphics window, the BP data list's entries and the report dialogs.
#include "guisupport.h"
#include "reports/printprogressform.h"
#include "reports/reportprinter.h"
#include "reports/reportselection318form.h"
#include "support/pdftext.h"
#include "views/bpdatalistform.h"
#include "views/viewgraphicsform.h"
#include "viewsupport.h"

#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using viewtest::Reading;

class TestGraphics : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w_;
    bool cancelDialog_ = false;
    int printDialogs_ = 0;

    TMainForm* form() const { return w_->form.get(); }
    TViewGraphicsForm* graphics() const { return form()->ViewGraphicsForm; }
    Session& session() const { return w_->session; }
    QAction* zoom(const char* name) const { return graphics()->findChild<QAction*>(QString::fromLatin1(name)); }
    QString pdf() const { return w_->file(QStringLiteral("OUT.pdf")); }
    ReportPrinter& reports() const { return *form()->Reports; }
    TReportSelection318Form& dialog() const { return *form()->ReportSelection318Form; }
    QString all() const { return test::pdfPages(pdf()).join(QLatin1Char('\n')); }

private Q_SLOTS:
    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
        QVERIFY(form()->openFile(w_->demoPath()));
        cancelDialog_ = false;
        printDialogs_ = 0;
        const auto printDialog = [this](QPrinter& printer) {
            ++printDialogs_;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf());
            return !cancelDialog_;
        };
        reports().setPrintDialog(printDialog);
        graphics()->setPrintDialog(printDialog);
    }

    void cleanup() { w_.reset(); }

    void entry_data() { test::dataRows(QStringLiteral("graph-entries.txt"), {"entry", "kind"}); }

    void entry()
    {
        QFETCH(QString, kind);
        form()->findChild<QAction*>(test::cell("entry"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(graphics()));
        QCOMPARE(session().GraphKind, kind.toInt());
        QCOMPARE(form()->activeView, kind.toInt());
        QCOMPARE(graphics()->GraphicsZoomMenu4->menuAction()->isVisible(), kind == "4");
        QCOMPARE(graphics()->HorizontalScrollBar->isVisible(), kind == "4");
        QTRY_VERIFY(graphics()->paintCount() > 0);

        // The print entry puts the window's picture on one page.
        graphics()->GraphicsPrintMenu1->trigger();
        QCOMPARE(test::pdfPages(pdf()).size(), 1);

        // Closing clears GraphKind; restoring the application shows the window again.
        graphics()->close();
        QCOMPARE(session().GraphKind, 0);
        form()->restoreActiveView();
        QVERIFY(graphics()->isVisible());
    }

    void zoomEntriesShown_data() { test::dataRows(QStringLiteral("graph-zoom.txt"), {"last", "shown"}); }

    void zoomEntriesShown()
    {
        QFETCH(QString, last);
        const QTime time = QTime::fromString(last.section(' ', 1), QStringLiteral("hh:mm"));
        const QString path = w_->file(QStringLiteral("REC.DAT"));
        const Reading lastReading{last.section(' ', 0, 0).toInt(), time.hour(), time.minute()};
        QVERIFY(viewtest::writeRecording(path, {Reading{0, 8, 0}, lastReading}));
        QVERIFY(form()->openFile(path));
        form()->ViewT2Trends->trigger();
        QStringList entries;
        for (QAction* a : graphics()->GraphicsZoomMenu4->actions())
            if (a->isVisible())
                entries << a->objectName();
        QCOMPARE(entries.join(' '), test::cell("shown"));
        QVERIFY(zoom("ZoomAlldata1")->isChecked());
    }

    void zoomScrollAndReopen()
    {
        const int hours = int(session().intervals.interval1Hours);
        form()->ViewT2Trends->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(graphics()));
        QAction* oneDay = zoom("Zoom1day1");
        oneDay->trigger();
        QCOMPARE(session().graphView.visibleMinutes, 1440);
        QVERIFY(!session().graphView.zoomAllData);
        QTRY_VERIFY(oneDay->isChecked());
        QCOMPARE(graphics()->HorizontalScrollBar->maximum(), hours);
        QCOMPARE(graphics()->HorizontalScrollBar->pageStep(), 24);

        // Scrolling tells the BP data list; leaving the list moves the graph.
        QSignalSpy scrolled(graphics(), &TViewGraphicsForm::scrolled);
        graphics()->HorizontalScrollBar->setValue(30);
        QCOMPARE(session().graphView.scrollHours, 30);
        QCOMPARE(scrolled.count(), 1);
        session().graphView.scrollHours = 40;
        Q_EMIT form()->BPDataListForm->graphPositionChanged();
        QCOMPARE(graphics()->HorizontalScrollBar->value(), 40);

        // File > Open shows the whole window again from its start.
        QVERIFY(form()->openFile(w_->demoPath()));
        QCOMPARE(session().graphView.visibleMinutes, hours * 60);
        QCOMPARE(session().graphView.scrollHours, 0);
        QVERIFY(zoom("ZoomAlldata1")->isChecked());
        QCOMPARE(graphics()->HorizontalScrollBar->value(), 0);
    }

    // The BP data list from the menu: the menu refills it, showing it again
    // without the menu keeps an unsaved mark, closing saves nothing.
    void bpDataListEntries()
    {
        TBPDataListForm* list = form()->BPDataListForm;
        form()->ViewT2BPDataList->trigger();
        QCOMPARE(form()->activeView, 2);
        QCOMPARE(list->cell(2, 1) + ' ' + list->cell(3, 1), QStringLiteral("06:20 146"));   // the demo's first reading
        list->BPDataStringGridMouseUp(9, 1);
        list->hide();
        form()->restoreActiveView();
        QCOMPARE(list->cell(9, 1), QStringLiteral("X"));
        form()->ViewT2BPDataList->trigger();
        QCOMPARE(list->cell(9, 1), QStringLiteral("-"));
        const QByteArray before = readBytes(w_->demoPath());
        list->BPDataStringGridMouseUp(9, 1);
        list->CloseButton->click();
        QCOMPARE(form()->activeView, 0);
        QCOMPARE(readBytes(w_->demoPath()), before);
    }

    // The mini and patient reports print slot 0 with their own rewrites, the
    // full report as the patient report left it; a cancelled dialog prints
    // nothing, a PDF file that cannot be written says so.
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
        QVERIFY(!reports().patientReport && !reports().miniReport && !form()->printingActive);

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

        cancelDialog_ = false;
        reports().setPrintDialog([this](QPrinter& printer) {
            printer.setOutputFileName(w_->file(QStringLiteral("NO/SUCH/DIR/OUT.pdf")));
            return true;
        });
        dialog().PrintReportButton->click();
        QCOMPARE(w_->messages.shownIds(), QList<int>{220});
    }

    void batch_data() { test::dataRows(QStringLiteral("print-files.txt"), {"cancel", "periods", "messages"}); }

    void batch()
    {
        synth::Options o;
        o.count = 12;
        o.day = 20;
        QVERIFY(writeFile(w_->file(QStringLiteral("LATER.DAT")), synth::makeFile(o)));
        o.type = RecorderType::Rv5730;
        QVERIFY(writeFile(w_->file(QStringLiteral("AMBU.DAT")), synth::makeFile(o)));
        TPrintProgressForm* progress = form()->PrintProgressForm;
        if (test::cell("cancel") == "yes")
            connect(&reports(), &ReportPrinter::fileStarted, progress->PrintCancelButton, &QPushButton::click);
        const QString current = w_->session.state.currentFilePath;

        const QStringList files{w_->demoPath(), w_->file(QStringLiteral("AMBU.DAT")),
                                w_->file(QStringLiteral("LATER.DAT"))};
        form()->setPrintFilesChooser([files](const QString&, const QString&) { return files; });
        QTimer::singleShot(0, dialog().PrintPtReportButton, &QPushButton::click);
        form()->FilePrint->trigger();
        QCOMPARE(test::patientReportStarts(pdf()).join(' '), test::cell("periods"));
        QStringList ids;
        for (int id : w_->messages.shownIds())
            ids << QString::number(id);
        QCOMPARE(ids.join(' '), test::cell("messages"));
        QVERIFY(!progress->isVisible() && !form()->batchPrint && !form()->printingActive);
        QCOMPARE(w_->session.state.currentFilePath, current);
        QCOMPARE(w_->session.state.windowTitleText.section(QLatin1Char(' '), 0, 0), QStringLiteral("DEMO"));
    }
};

QTEST_MAIN(TestGraphics)
#include "tst_gui_graphics.moc"
