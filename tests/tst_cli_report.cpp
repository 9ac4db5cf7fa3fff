// ks318-cli report: the summary page prints what `summary` shows, the
// clinical sheet what `summary --clinical` shows, the patient report of the
// demo against its golden text, and the refusals.
#include "support/pdftext.h"
#include "synthetic.h"
#include "support/testfiles.h"

#include <QDir>
#include <QtTest>

using namespace ks318;

class TestCliReport : public QObject {
    Q_OBJECT

private:
    test::ScratchDir dir_;

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        dir_.clear();
        QVERIFY(test::writeFile(dir_.path("DEMO.DAT"), synth::demoFile()));
        QVERIFY(test::writeFile(dir_.path("DEMO.p30"), synth::demoCompanionFile(dir_.path("DEMO.DAT"))));
    }

    void summaryAsTheSummaryCommand()
    {
        const auto summary = test::runCli({"summary", "DEMO.DAT"}, dir_.path());
        QCOMPARE(summary.exitCode, 0);
        const auto report = test::runCli({"report", "DEMO.DAT", "--kind", "full", "-o", "OUT.pdf"}, dir_.path());
        QCOMPARE(report.exitCode, 0);
        const QStringList printed = test::pdfPages(dir_.path("OUT.pdf")).join(QLatin1Char('\n')).split(QLatin1Char('\n'));
        int lines = 0;
        for (const QString& line : summary.text().split(QLatin1Char('\n'))) {
            if (line.isEmpty())
                continue;
            QVERIFY2(printed.contains(test::squeezed(line)), qPrintable(line));
            ++lines;
        }
        QVERIFY(lines > 40);   // the whole-period, daytime and night-time blocks
    }

    // One sheet per recording on either paper, each line of the text page on it.
    void clinicalAsTheClinicalCommand()
    {
        const auto text = test::runCli({"summary", "DEMO.DAT", "--clinical"}, dir_.path());
        QCOMPARE(text.exitCode, 0);
        for (const char* paper : {"a4", "letter"}) {
            const auto report = test::runCli(
                {"report", "DEMO.DAT", "DEMO.DAT", "--kind", "clinical", "--paper", paper, "-o", "OUT.pdf"}, dir_.path());
            QCOMPARE(report.exitCode, 0);
            const QStringList pages = test::pdfPages(dir_.path("OUT.pdf"));
            QCOMPARE(pages.size(), 2);
            const QStringList printed = pages[1].split(QLatin1Char('\n'));
            int lines = 0;
            for (const QString& line : text.text().split(QLatin1Char('\n'))) {
                if (line.isEmpty())
                    continue;
                QVERIFY2(printed.contains(test::squeezed(line)), qPrintable(QLatin1String(paper) + QLatin1Char(' ') + line));
                ++lines;
            }
            QVERIFY(lines > 20);
        }
    }

    // A recording without sleep times reports as it would with them when
    // given --sleep/--wake: the daytime and night-time blocks of summary
    // with the same options, and kept nowhere. Run as a
    // service would (no XDG_RUNTIME_DIR), it says nothing on stderr.
    void sleepTimesForTheRun()
    {
        QVERIFY(QFile::remove(dir_.path("DEMO.DAT").replace(".DAT", ".p30")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        const QStringList times{"--sleep", "23:30", "--wake", "07:15"};
        const auto summary = test::runCli(QStringList{"summary", "DEMO.DAT"} + times, dir_.path());
        QCOMPARE(summary.exitCode, 0);
        QVERIFY(summary.text().contains(QStringLiteral("23:30 --> 07:15")));
        const auto plain = test::runCli({"report", "DEMO.DAT", "--kind", "full", "-o", "PLAIN.pdf"}, dir_.path(),
                                        30000, env);
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(plain.error(), QString());
        QVERIFY(!test::pdfPages(dir_.path("PLAIN.pdf")).join(QLatin1Char('\n')).contains(QStringLiteral("夜間サマリー")));
        const auto report = test::runCli(QStringList{"report", "DEMO.DAT", "--kind", "full", "-o", "OUT.pdf"} + times,
                                         dir_.path(), 30000, env);
        QCOMPARE(report.exitCode, 0);
        QCOMPARE(report.error(), QString());
        const QStringList printed = test::pdfPages(dir_.path("OUT.pdf")).join(QLatin1Char('\n')).split(QLatin1Char('\n'));
        for (const QString& line : summary.text().split(QLatin1Char('\n')))
            QVERIFY2(line.isEmpty() || printed.contains(test::squeezed(line)), qPrintable(line));
        // The companion file of a first opening, as the window makes it; the
        // run's times are not kept in it.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"DEMO.DAT", "DEMO.p30", "OUT.pdf", "PLAIN.pdf"}));
        const QByteArray companion = test::readFile(dir_.path("DEMO.p30"));
        QVERIFY(!companion.contains("23:30") && !companion.contains("07:15"));
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

    // Refusals (exit 1: too long, another recorder's file) and usage errors
    // (exit 2), golden report-refusals.txt; nothing is written.
    void refused()
    {
        QVERIFY(test::writeFile(dir_.path("LONG.DAT"), test::recordLine(2021, 3, 1, 0, 0)
                                                           + test::recordLine(2026, 3, 3, 0, 0)
                                                           + test::patientSections("X")));
        synth::Options o;
        o.type = RecorderType::Rv5730;
        QVERIFY(test::writeFile(dir_.path("AMBU.DAT"), synth::makeFile(o)));
        const QStringList before = QDir(dir_.path()).entryList(QDir::Files, QDir::Name);
        const QStringList demo{"report", "DEMO.DAT", "--kind", "full"};
        const QList<QStringList> runs{{"report", "LONG.DAT", "--kind", "mini", "-o", "OUT.pdf"},
                                      {"report", "AMBU.DAT", "--kind", "full", "-o", "OUT.pdf"},
                                      {"report", "NONE.DAT", "--kind", "mini", "-o", "OUT.pdf"},
                                      {"report", "DEMO.DAT", "-o", "OUT.pdf"},
                                      {"report", "DEMO.DAT", "--kind", "short", "-o", "OUT.pdf"},
                                      demo,
                                      demo + QStringList{"-o", "OUT.png"},
                                      demo + QStringList{"-o", "OUT.pdf", "--mode", "4"},
                                      demo + QStringList{"-o", "OUT.pdf", "--paper", "a3"}};
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "report-refusals.txt");
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), before);
    }
};

QTEST_MAIN(TestCliReport)
#include "tst_cli_report.moc"
