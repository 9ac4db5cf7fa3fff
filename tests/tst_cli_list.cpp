// ks318-cli list on the bundled demo recording and on bad input.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList& args)
{
    QProcess p;
    p.start(qEnvironmentVariable("KS318_CLI"), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString demo()
{
    return qEnvironmentVariable("KS318_SAMPLES") + QStringLiteral("/DEMO.DAT");
}

} // namespace

class TstCliList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(QFile::exists(qEnvironmentVariable("KS318_CLI"))); }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("demo") << QStringList{QStringLiteral("list"), demo()} << 0;
        QTest::newRow("help") << QStringList{QStringLiteral("list"), QStringLiteral("--help")} << 0;
        QTest::newRow("missing file") << QStringList{QStringLiteral("list"), QStringLiteral("/nonexistent/X.DAT")} << 1;
        QTest::newRow("no file") << QStringList{QStringLiteral("list")} << 2;
        QTest::newRow("bad mode") << QStringList{QStringLiteral("list"), demo(), QStringLiteral("--mode"),
                                                 QStringLiteral("4")}
                                  << 2;
        QTest::newRow("unknown flag") << QStringList{QStringLiteral("list"), demo(), QStringLiteral("--x")} << 2;
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")} << 2;
    }

    void exitStatuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const Run r = cli(args);
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode == 1)
            QCOMPARE(r.err.count('\n'), 1);
    }

    void jsonDescribesTheDemo()
    {
        const Run r = cli({QStringLiteral("list"), demo(), QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o.value(QStringLiteral("recorderType")).toInt(), 70);
        QCOMPARE(o.value(QStringLiteral("loaded")).toInt(), 1);
        QCOMPARE(o.value(QStringLiteral("timeOrderError")).toBool(), false);
        QCOMPARE(o.value(QStringLiteral("patient")).toObject().value(QStringLiteral("name")).toString(),
                 QStringLiteral("山田 太郎"));

        const QJsonArray readings = o.value(QStringLiteral("readings")).toArray();
        const QJsonObject counters = o.value(QStringLiteral("counters")).toObject();
        QCOMPARE(readings.size(), counters.value(QStringLiteral("readingCount")).toInt());
        QVERIFY(readings.size() >= 56 && readings.size() <= 84);  // two weeks, four to six a day

        int errors = 0, excluded = 0, comments = 0, valid = 0;
        QSet<QString> errorTexts;
        QString previous;
        for (const QJsonValue& v : readings) {
            const QJsonObject x = v.toObject();
            const QString when = x.value(QStringLiteral("date")).toString() + x.value(QStringLiteral("time")).toString();
            QVERIFY(previous <= when);
            previous = when;
            if (x.value(QStringLiteral("errorCode")).toInt() != 0) {
                ++errors;
                errorTexts.insert(x.value(QStringLiteral("errorText")).toString());
                QCOMPARE(x.value(QStringLiteral("excludedText")).toString(), QStringLiteral("x"));
                QVERIFY(!x.value(QStringLiteral("comment")).toString().isEmpty());
            } else if (x.value(QStringLiteral("excluded")).toInt()) {
                ++excluded;
            } else {
                ++valid;
                QVERIFY(x.value(QStringLiteral("sys")).toInt() > x.value(QStringLiteral("dia")).toInt());
                if (!x.value(QStringLiteral("comment")).toString().isEmpty())
                    ++comments;
            }
        }
        QVERIFY(errors >= 2 && errors <= 3);
        QCOMPARE(errorTexts.size(), errors);
        QCOMPARE(excluded, 1);
        QCOMPARE(comments, 2);
        QCOMPARE(counters.value(QStringLiteral("validTotal")).toInt(), valid);
    }

    void textRowsAsTheListShowsThem()
    {
        const Run r = cli({QStringLiteral("list"), demo()});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QVERIFY(lines.size() > 10);
        const QList<QByteArray> counters = lines.mid(lines.size() - 10);
        QVERIFY(counters.first().startsWith("readingCount: "));
        const int rows = lines.size() - 10;
        QCOMPARE(QByteArray("inWindow1: ") + QByteArray::number(rows), counters[1]);
        // number, date, time, five values, state, mark, comment
        const QList<QByteArray> first = lines.first().split('\t');
        QCOMPARE(first.size(), 11);
        QCOMPARE(first[0], QByteArray("1"));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}$")).match(QString::fromLatin1(first[1])).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{2}:\\d{2}$")).match(QString::fromLatin1(first[2])).hasMatch());
        QCOMPARE(first[8].size(), 7);  // "%2s %s %2s"
        bool sawError = false;
        for (const QByteArray& line : lines.mid(0, rows)) {
            const QList<QByteArray> f = line.split('\t');
            if (f[9] == "x") {
                sawError = true;
                QCOMPARE(f[3], QByteArray("***"));
            }
        }
        QVERIFY(sawError);
    }
};

QTEST_GUILESS_MAIN(TstCliList)
#include "tst_cli_list.moc"
