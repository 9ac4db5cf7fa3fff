// ks318-cli report and plot on the demo recording: the reports against
// what `summary` shows and a golden text, the exported pages as PDF and PNG,
// and the refusals of both.
#include "support/clirun.h"
#include "support/pdftext.h"
#include "synthetic.h"
#include "support/testfiles.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QtTest>

using namespace ks318;

class TestCliReport : public QObject {
    Q_OBJECT

private:
    test::ScratchDir dir_;

    QStringList printedLines(const char* pdf) const
    {
        return test::pdfPages(dir_.path(pdf)).join(QLatin1Char('\n')).split(QLatin1Char('\n'));
    }

    static QStringList unprinted(const QString& text, const QStringList& printed)
    {
        QStringList out;
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (!line.isEmpty() && !printed.contains(test::squeezed(line)))
                out << line;
        return out;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        dir_.clear();
        QVERIFY(test::writeFile(dir_.path("DEMO.DAT"), synth::demoFile()));
        QVERIFY(test::writeFile(dir_.path("DEMO.p30"), synth::demoCompanionFile(dir_.path("DEMO.DAT"))));
    }

    // The summary page prints every line `summary` shows: the whole-period,
    // daytime and night-time blocks with the sleep times of the companion
    // file, or of the run for a recording without them (then kept nowhere).
    // Run as a service would (no XDG_RUNTIME_DIR), it says nothing on stderr.
    void summaryAsTheSummaryCommand_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("night");
        QTest::newRow("times of the companion file") << QStringList() << "22:00 --> 06:00";
        QTest::newRow("times of the run") << QStringList{"--sleep", "23:30", "--wake", "07:15"} << "23:30 --> 07:15";
    }

    void summaryAsTheSummaryCommand()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, night);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        const QStringList full{"report", "DEMO.DAT", "--kind", "full", "-o"};
        if (!times.isEmpty()) {
            QVERIFY(QFile::remove(dir_.path("DEMO.p30")));
            const auto plain = test::runCli(full + QStringList{"PLAIN.pdf"}, dir_.path(), 30000, env);
            QCOMPARE(plain.exitCode, 0);
            QVERIFY(!printedLines("PLAIN.pdf").contains(QStringLiteral("夜間サマリー")));
        }
        const auto summary = test::runCli(QStringList{"summary", "DEMO.DAT"} + times, dir_.path());
        QCOMPARE(summary.exitCode, 0);
        QVERIFY(summary.text().contains(night));
        const auto report = test::runCli(full + QStringList{"OUT.pdf"} + times, dir_.path(), 30000, env);
        QCOMPARE(report.exitCode, 0);
        QCOMPARE(report.error(), QString());
        QCOMPARE(unprinted(summary.text(), printedLines("OUT.pdf")), QStringList());
        QVERIFY(summary.text().count(QLatin1Char('\n')) > 40);
        // The companion file of a first opening, as the window makes it,
        // without the run's times.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name).filter(QStringLiteral(".p30")),
                 QStringList{"DEMO.p30"});
        QVERIFY(!test::readFile(dir_.path("DEMO.p30")).contains("23:30"));
        QVERIFY(!test::readFile(dir_.path("DEMO.p30")).contains("07:15"));
    }

    // One sheet per recording on either paper, each line of the text page on
    // it with the patient and the hourly profile.
    void clinicalAsTheClinicalCommand()
    {
        const auto text = test::runCli({"summary", "DEMO.DAT", "--clinical"}, dir_.path());
        QCOMPARE(text.exitCode, 0);
        QVERIFY(text.text().count(QLatin1Char('\n')) > 20);
        for (const char* paper : {"a4", "letter"}) {
            const auto report = test::runCli(
                {"report", "DEMO.DAT", "DEMO.DAT", "--kind", "clinical", "--paper", paper, "-o", "OUT.pdf"}, dir_.path());
            QCOMPARE(report.exitCode, 0);
            const QStringList pages = test::pdfPages(dir_.path("OUT.pdf"));
            QCOMPARE(pages.size(), 2);
            const QStringList lines = pages[1].split(QLatin1Char('\n'));
            QCOMPARE(unprinted(text.text(), lines), QStringList());
            for (const char* want : {"患者名:山田 太郎", "24時間プロファイル（時刻別平均） SYS DIA"})
                QVERIFY2(lines.contains(QString::fromUtf8(want)), want);
        }
    }

    void patientReportGolden()
    {
        const auto run = test::runCli({"report", "DEMO.DAT", "--kind", "patient", "-o", "OUT.pdf"}, dir_.path());
        QCOMPARE(run.exitCode, 0);
        const QStringList pages = test::pdfPages(dir_.path("OUT.pdf"));
        QCOMPARE(pages.size(), 3);
        // The summary under the trend, and the top of the list's first sheet.
        const QString summary = pages[0].mid(pages[0].indexOf(QStringLiteral("・統計処理算出結果")));
        const QString list = pages[1].split(QLatin1Char('\n')).mid(0, 6).join(QLatin1Char('\n'));
        const QString text = summary + QStringLiteral("\n\f\n") + list + QLatin1Char('\n');
        KS318_COMPARE_GOLDEN(text.toUtf8(), "demo-patient-report.txt");
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
        QVERIFY(QFile::remove(dir_.path("DEMO.p30")));   // made again as a first opening makes it
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

    // Readings out of order, too long, another recorder's file, usage errors:
    // nothing is written.
    void refused_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::newRow("report") << "report-refusals.txt";
        QTest::newRow("plot") << "plot.txt";
    }

    void refused()
    {
        QFETCH(QString, golden);
        const QByteArray sections = test::patientSections("X");
        QVERIFY(test::writeFile(dir_.path("BACK.DAT"), test::recordLine(2026, 3, 2, 10, 0)
                                                         + test::recordLine(2026, 3, 2, 9, 59) + sections));
        QVERIFY(test::writeFile(dir_.path("LONG.DAT"), test::recordLine(2021, 3, 1, 0, 0)
                                                         + test::recordLine(2026, 3, 3, 0, 0) + sections));
        synth::Options o;
        o.type = RecorderType::Rv5730;
        QVERIFY(test::writeFile(dir_.path("AMBU.DAT"), synth::makeFile(o)));
        const QStringList before = QDir(dir_.path()).entryList(QDir::Files, QDir::Name);
        KS318_COMPARE_GOLDEN(test::rerunTranscript(golden, dir_.path()), golden);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), before);
    }
};

QTEST_MAIN(TestCliReport)
#include "tst_cli_report.moc"
