// The graphics window from the main window's Analysis entries: menus and
// scroll bar per page, the zoom entries shown for a window length,
// choosing a zoom entry, the scroll position shared with the BP data list,
// the reset on File > Open, printing to a PDF file, closing and restoring.
#include "guisupport.h"
#include "views/bpdatalistform.h"
#include "views/viewgraphicsform.h"
#include "viewsupport.h"
#include "session/session.h"

#include <QMenu>
#include <QPrinter>
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
    TMainForm* form() const { return w_->form.get(); }
    TViewGraphicsForm* graphics() const { return form()->ViewGraphicsForm; }
    Session& session() const { return w_->session; }

    QAction* zoom(const char* name) const { return graphics()->findChild<QAction*>(QString::fromLatin1(name)); }

private Q_SLOTS:
    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
    }

    void cleanup() { w_.reset(); }

    void entry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("kind");
        QTest::newRow("trend") << "ViewT2Trends" << 4;
        QTest::newRow("correlation") << "ViewT2CorrelationPlots" << 5;
        QTest::newRow("histograms") << "ViewT2Histograms" << 6;
        QTest::newRow("grades") << "ViewT2GradePlots" << 16;
    }

    void entry()
    {
        QFETCH(QString, entry);
        QFETCH(int, kind);
        QVERIFY(form()->openFile(w_->demoPath()));
        form()->findChild<QAction*>(entry)->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(graphics()));
        QCOMPARE(session().GraphKind, kind);
        QCOMPARE(form()->activeView, kind);
        QCOMPARE(graphics()->GraphicsZoomMenu4->menuAction()->isVisible(), kind == 4);
        QCOMPARE(graphics()->HorizontalScrollBar->isVisible(), kind == 4);
        QTRY_VERIFY(graphics()->paintCount() > 0);

        // The print entry puts the window's picture on one page.
        const QString pdf = w_->file(QStringLiteral("graph.pdf"));
        graphics()->setPrintDialog([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        graphics()->GraphicsPrintMenu1->trigger();
        QCOMPARE(readBytes(pdf).count("/Type /Page\n") + readBytes(pdf).count("/Type /Page "), 1);

        // Closing clears GraphKind; restoring the application shows the window again.
        graphics()->close();
        QCOMPARE(session().GraphKind, 0);
        form()->restoreActiveView();
        QVERIFY(graphics()->isVisible());
    }

    void zoomEntriesShown_data()
    {
        QTest::addColumn<int>("lastDay");
        QTest::addColumn<int>("lastHour");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("30 hours") << 1 << 13 << QStringList{"ZoomAlldata1", "Zoom1day1"};
        QTest::newRow("24 hours") << 1 << 7 << QStringList{"ZoomAlldata1"};
        QTest::newRow("8 days") << 8 << 7 << QStringList{"ZoomAlldata1", "Zoom7day1", "Zoom6day1", "Zoom5day1", "Zoom4day1",
                                                          "Zoom3day1", "Zoom2day1", "Zoom1day1"};
    }

    void zoomEntriesShown()
    {
        QFETCH(int, lastDay);
        QFETCH(int, lastHour);
        QFETCH(QStringList, shown);
        const QString path = w_->file(QStringLiteral("REC.DAT"));
        QVERIFY(viewtest::writeRecording(path, {Reading{0, 8, 0}, Reading{lastDay, lastHour, 30}}));
        QVERIFY(form()->openFile(path));
        form()->ViewT2Trends->trigger();
        QStringList entries;
        for (QAction* a : graphics()->GraphicsZoomMenu4->actions())
            if (a->isVisible())
                entries << a->objectName();
        QCOMPARE(entries, shown);
        QVERIFY(zoom("ZoomAlldata1")->isChecked());
    }

    void zoomScrollAndReopen()
    {
        QVERIFY(form()->openFile(w_->demoPath()));
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
        // The checked entry chosen again does nothing, not even a repaint.
        QTest::qWait(50);
        const int paints = graphics()->paintCount();
        oneDay->trigger();
        QTest::qWait(50);
        QCOMPARE(graphics()->paintCount(), paints);

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
};

QTEST_MAIN(TestGraphics)
#include "tst_gui_graphics.moc"
