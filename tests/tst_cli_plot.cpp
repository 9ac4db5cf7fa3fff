// ks318-cli plot: every page as a one-page PDF and as PNG of the asked size,
// the PDF's drawing within the printable part of its sheet at every size
// with the title line that names the recording, the refusals of the window
// (exit 1) and usage errors (exit 2), and that nothing but the output is
// written.
#include "synthetic.h"
#include "support/clirun.h"
#include "support/pdftext.h"
#include "support/testfiles.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QtTest>

using namespace ks318;

class TestCliPlot : public QObject {
    Q_OBJECT

private:
    test::ScratchDir dir_;

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        dir_.clear();
        QVERIFY(test::writeFile(dir_.path("DEMO.DAT"), synth::demoFile()));
    }

    // The PDF, one page, rendered at 72 dpi (one pixel a point): everything
    // drawn lies inside the 10 mm margins of the A4 landscape sheet, and the
    // title line names the file and the patient. A run as a service (no
    // XDG_RUNTIME_DIR) says nothing on stderr. The PNG has the asked size.
    void exportedPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("size");
        for (const char* page : {"trend", "grade", "correlation", "histogram"})
            for (const char* size : {"640x480", "1000x1000", "800x1200", "1200x800"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(page, size))) << page << size;
    }

    void exportedPages()
    {
        QFETCH(QString, page);
        QFETCH(QString, size);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        const auto run = test::runCli({"plot", "DEMO.DAT", "--page", page, "-o", "out.pdf", "--size", size, "--sleep",
                                       "23:00", "--wake", "07:00", "--span", "1440", "--scroll", "30"},
                                      dir_.path(), 30000, env);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.error(), QString());
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"DEMO.DAT", "DEMO.p30", "out.pdf"}));
        QProcess render;
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                                  QStringLiteral("-singlefile"), dir_.path("out.pdf"),
                                                  dir_.path("out")});
        QVERIFY(render.waitForFinished(30000) && render.exitCode() == 0);
        const QImage image(dir_.path("out.png"));
        QCOMPARE(image.size(), QSize(842, 595));
        // 10 mm is 28.3 pt; a point of slack for the rendering's edges.
        const QRect printable = image.rect().adjusted(27, 27, -27, -27);
        int inside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool white = (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
                QVERIFY2(white || printable.contains(x, y),
                         qPrintable(QStringLiteral("drawn at %1,%2 pt, in the margin").arg(x).arg(y)));
                inside += white ? 0 : 1;
            }
        }
        QVERIFY(inside > 1000);
        const QStringList pages = test::pdfPages(dir_.path("out.pdf"));
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains(QStringLiteral("DEMO : ")), qPrintable(pages[0]));
        const auto png =
            test::runCli({"plot", "DEMO.DAT", "--page", page, "-o", "plot.png", "--size", size}, dir_.path());
        QCOMPARE(png.exitCode, 0);
        const QImage plot(dir_.path("plot.png"));
        QCOMPARE(QStringLiteral("%1x%2").arg(plot.width()).arg(plot.height()), size);
        QCOMPARE(plot.pixel(1, 1) & 0xFFFFFF, 0xC0C0C0u);  // the plot background
    }

    // Refusals of the window (messages 271 and 223, exit 1) and usage
    // errors (exit 2), golden plot.txt; nothing is written.
    void refused()
    {
        const QByteArray sections = test::patientSections("X");
        QVERIFY(test::writeFile(dir_.path("BACK.DAT"), test::recordLine(2026, 3, 2, 10, 0)
                                                         + test::recordLine(2026, 3, 2, 9, 59) + sections));
        QVERIFY(test::writeFile(dir_.path("LONG.DAT"), test::recordLine(2021, 3, 1, 0, 0)
                                                         + test::recordLine(2026, 3, 3, 0, 0) + sections));
        // DEMO opened once before: its companion file is there already.
        QCOMPARE(test::runCli({"info", "DEMO.DAT"}, dir_.path()).exitCode, 0);
        const QStringList before = QDir(dir_.path()).entryList(QDir::Files, QDir::Name);
        KS318_COMPARE_GOLDEN(test::rerunTranscript("plot.txt", dir_.path()), "plot.txt");
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), before);
    }
};

QTEST_MAIN(TestCliPlot)
#include "tst_cli_plot.moc"
