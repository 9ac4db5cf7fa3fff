// ks318-cli plot: every page as PNG of the asked size and as a one-page PDF,
// the refusals of the window (exit 1) and usage errors (exit 2), and that
// nothing but the output is written.
#include "synthetic.h"
#include "support/testfiles.h"

#include <QDir>
#include <QImage>
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

    void pages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("format");
        for (const char* page : {"trend", "correlation", "histogram", "grade"})
            for (const char* format : {"png", "pdf"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(page, format))) << page << format;
    }

    void pages()
    {
        QFETCH(QString, page);
        QFETCH(QString, format);
        const QString out = QStringLiteral("out.") + format;
        const auto run = test::runCli({"plot", "DEMO.DAT", "--page", page, "-o", out, "--size", "640x480", "--span",
                                       "1440", "--scroll", "30"},
                                      dir_.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), (QStringList{"DEMO.DAT", out}));
        if (format == QLatin1String("png")) {
            const QImage image(dir_.path(out));
            QCOMPARE(image.size(), QSize(640, 480));
            QCOMPARE(image.pixel(1, 1) & 0xFFFFFF, 0xC0C0C0u);  // the plot background
        } else {
            const QByteArray pdf = test::readFile(dir_.path(out));
            QVERIFY(pdf.startsWith("%PDF"));
            QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
        }
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("file");   // REC.DAT; none: the demo recording
        QTest::addColumn<int>("exitCode");
        const QByteArray backwards = test::recordLine(2026, 3, 2, 10, 0) + test::recordLine(2026, 3, 2, 9, 59);
        const QByteArray tooLong = test::recordLine(2021, 3, 1, 0, 0) + test::recordLine(2026, 3, 3, 0, 0);
        const QStringList rec{"plot", "REC.DAT", "--page", "trend", "-o", "out.png"};
        const QStringList demo{"plot", "DEMO.DAT", "--page", "trend", "-o", "out.png"};
        QTest::newRow("readings out of time order") << rec << backwards << 1;  // message 271
        QTest::newRow("recording too long") << rec << tooLong << 1;          // message 223
        QTest::newRow("missing file") << QStringList{"plot", "NONE.DAT", "--page", "trend", "-o", "out.png"} << QByteArray() << 1;
        QTest::newRow("no page") << QStringList{"plot", "DEMO.DAT", "-o", "out.png"} << QByteArray() << 2;
        QTest::newRow("unknown page") << QStringList{"plot", "DEMO.DAT", "--page", "pie", "-o", "out.png"} << QByteArray() << 2;
        QTest::newRow("no output") << demo.mid(0, 4) << QByteArray() << 2;
        QTest::newRow("other output type") << demo.mid(0, 5) + QStringList{"out.svg"} << QByteArray() << 2;
        QTest::newRow("bad size") << demo + QStringList{"--size", "0x9"} << QByteArray() << 2;
        QTest::newRow("bad span") << demo + QStringList{"--span", "x"} << QByteArray() << 2;
        QTest::newRow("negative scroll") << demo + QStringList{"--scroll", "-1"} << QByteArray() << 2;
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, file);
        QFETCH(int, exitCode);
        if (!file.isEmpty())
            QVERIFY(test::writeFile(dir_.path("REC.DAT"), file + test::patientSections("X")));
        const QStringList before = QDir(dir_.path()).entryList(QDir::Files, QDir::Name);
        const auto run = test::runCli(args, dir_.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        if (!file.isEmpty())
            QVERIFY(run.error().contains(QStringLiteral("指定されたデータは処理できません。")));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), before);
    }
};

QTEST_MAIN(TestCliPlot)
#include "tst_cli_plot.moc"
