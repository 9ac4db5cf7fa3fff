// File merge: time order and the overlap rule, the merged text (record lines
// of every file, sections of the latest, comments renumbered), the refusals,
// the merged file read back, and ks318-cli merge of the golden files
// merge-a.DAT and merge-b.DAT (merge.txt, merged.DAT).
#include "records/bpdatafile.h"
#include "records/filemerge.h"
#include "session/session.h"
#include "recordingsink.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

namespace {

QByteArray line(int year, int month, int day, int hour, int minute, int sys = 120)
{
    return test::recordLine(year, month, day, hour, minute, sys);
}

QByteArray sections(const QByteArray& name, const QByteArray& comments) { return test::patientSections(name, comments); }

// A: 1 June 2009 09:00 to 2 June 08:30; B: 2 June 09:00 to 3 June 08:30.
QByteArray fileA() { return test::golden("merge-a.DAT"); }
QByteArray fileB() { return test::golden("merge-b.DAT"); }

FileSpan span(const QString& from, const QString& to)
{
    // "yyyy-MM-dd hh:mm", or "MM-dd hh:mm" in 2009
    auto at = [](const QString& t) {
        const QString full = t.count(QLatin1Char('-')) == 2 ? t : QStringLiteral("2009-") + t;
        const QDateTime d = QDateTime::fromString(full, QStringLiteral("yyyy-MM-dd hh:mm"));
        return MergeTime{d.date().year(), d.date().month(), d.date().day(), d.time().hour(), d.time().minute()};
    };
    FileSpan s;
    s.opened = true;
    s.records = 2;
    s.type = RecorderType::Ks318;
    s.first = at(from);
    s.last = at(to);
    return s;
}


} // namespace

class TstFileMerge : public QObject {
    Q_OBJECT

private:
    test::ScratchDir dir_;
    QString path(const char* name) const { return dir_.path(name); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        dir_.clear();
        QVERIFY(test::writeFile(path("A.DAT"), fileA()));
        QVERIFY(test::writeFile(path("B.DAT"), fileB()));
    }

    // Element i of the order is the index of the file that goes i-th; an
    // empty order is a refusal (message 259).
    void order_data()
    {
        QTest::addColumn<QStringList>("spans");  // "from|to" per file
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("in order") << QStringList{"06-01 09:00|06-02 08:30", "06-02 09:00|06-03 08:30"} << QList<int>{0, 1};
        QTest::newRow("B then A") << QStringList{"06-02 09:00|06-03 08:30", "06-01 09:00|06-02 08:30"} << QList<int>{1, 0};
        QTest::newRow("one minute apart") << QStringList{"06-01 09:00|06-02 08:59", "06-02 09:00|06-02 10:00"}
                                          << QList<int>{0, 1};
        QTest::newRow("touching") << QStringList{"06-01 09:00|06-02 09:00", "06-02 09:00|06-03 08:30"} << QList<int>{};
        QTest::newRow("same start") << QStringList{"06-01 09:00|06-01 10:00", "06-01 09:00|06-01 09:00"} << QList<int>{};
        QTest::newRow("overlapping") << QStringList{"06-01 09:00|06-02 12:00", "06-02 09:00|06-03 08:30"} << QList<int>{};
        QTest::newRow("year boundary") << QStringList{"2010-01-01 00:00|2010-01-02 00:00", "12-30 09:05|12-31 23:59"}
                                       << QList<int>{1, 0};
        QTest::newRow("six files shuffled") << QStringList{"06-05 00:00|06-05 01:00", "06-01 00:00|06-01 01:00",
                                                           "06-03 00:00|06-03 01:00", "06-06 00:00|06-06 01:00",
                                                           "06-02 00:00|06-02 01:00", "06-04 00:00|06-04 01:00"}
                                            << QList<int>{1, 4, 2, 5, 0, 3};
        QTest::newRow("a third overlaps the second")
            << QStringList{"06-01 00:00|06-01 01:00", "06-03 00:00|06-03 05:00", "06-03 04:00|06-04 01:00"} << QList<int>{};
    }

    void order()
    {
        QFETCH(QStringList, spans);
        QFETCH(QList<int>, order);
        std::vector<FileSpan> s;
        for (const QString& item : spans) {
            const QStringList ft = item.split(QLatin1Char('|'));
            s.push_back(span(ft[0], ft[1]));
        }
        const std::vector<int> got = mergeOrder(s);
        QCOMPARE(QList<int>(got.begin(), got.end()), order);
    }

    void memoText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("memo");
        QTest::newRow("KS-318P") << line(2009, 12, 30, 9, 5) + line(2009, 12, 31, 8, 55) + sections("", "")
                                 << QStringLiteral("BP data:  9:05 12/30 2009 to 8:55 12/31 2009 ");
        QTest::newRow("other recorder")
            << QByteArray("RV5730  300000000100") + line(2009, 12, 30, 9, 5).mid(20) + sections("", "")
            << QStringLiteral("The data is not measured by KS318P.");
        QTest::newRow("no readings") << sections("x", "") << QStringLiteral("The data is not measured by KS318P.");
    }

    void memoText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, memo);
        QCOMPARE(spanMemoText(spanOfFileText(file)), memo);
    }

    void latestFileLines_data()
    {
        QTest::addColumn<QByteArray>("latest");
        QTest::addColumn<QByteArray>("expectedTail");  // after the 2 record lines of the earlier file
        const QByteArray rec = line(2009, 6, 3, 9, 0);
        QTest::newRow("comment numbers shifted") << rec + "#PATIENT\n#END\n#COMMENTS\n1:a\n 1:b\n#END\n"
                                                 << rec + "#PATIENT\n#END\n#COMMENTS\n3:a\n3:b\n#END\n";
        QTest::newRow("CRLF lines kept") << rec.chopped(1) + "\r\n#PATIENT\r\n#END\r\n#COMMENTS\r\n1:a\r\n#END\r\n"
                                         << rec.chopped(1) + "\r\n#PATIENT\r\n#END\r\n#COMMENTS\r\n3:a\r\n#END\r\n";
        QTest::newRow("not comments left alone")
            << rec + "#PATIENT\nComment1:1:00 pm\n#END\n#COMMENTS\n0:zero\nx:y\n#END\n1:after end\n"
            << rec + "#PATIENT\nComment1:1:00 pm\n#END\n#COMMENTS\n0:zero\nx:y\n#END\n1:after end\n";
        QTest::newRow("no sections") << rec << rec;
    }

    void latestFileLines()
    {
        QFETCH(QByteArray, latest);
        QFETCH(QByteArray, expectedTail);
        const QByteArray earlier = line(2009, 6, 1, 9, 0) + line(2009, 6, 1, 10, 0);
        QCOMPARE(mergeFileTexts({earlier + sections("Early", "1:early comment\n"), latest}), earlier + expectedTail);
    }

    // Only record lines leave an earlier file; one without a final line feed
    // does not run into the next file.
    void earlierFileLines()
    {
        const QByteArray earlier = "junk before\n" + line(2009, 6, 1, 9, 0) + "RV5720  20" + line(2009, 6, 1, 9, 30).mid(10)
                                   + line(2009, 6, 1, 10, 0).chopped(1);
        const QByteArray latest = line(2009, 6, 2, 9, 0) + sections("L", "");
        QCOMPARE(mergeFileTexts({earlier, latest}),
                 line(2009, 6, 1, 9, 0) + line(2009, 6, 1, 10, 0) + latest);
    }

    // B dropped before A: A's readings first, B's sections, and the file
    // reads back with every reading and comment in place. A companion or CSV
    // file left by an earlier recording of the output's name goes.
    void mergeAndReadBack()
    {
        test::MessageLog messages;
        QStringList ordered;
        const QString out = path("AB.DAT");
        QVERIFY(test::writeFile(path("AB.p30"), "stale"));
        QVERIFY(test::writeFile(path("AB.csv"), "stale"));
        QCOMPARE(mergeRecordings({path("B.DAT"), path("A.DAT")}, out, &messages, &ordered), MergeResult::Merged);
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(ordered, (QStringList{path("A.DAT"), path("B.DAT")}));
        QVERIFY(!QFile::exists(path("AB.p30")));
        QVERIFY(!QFile::exists(path("AB.csv")));
        // The inputs are left as they were.
        QCOMPARE(test::readFile(path("A.DAT")), fileA());
        QCOMPARE(test::readFile(path("B.DAT")), fileB());

        Session session;
        QVERIFY(session.allocateData());
        QVERIFY(readBpDataFile(session, out, BpMode::OscillometricOnly));
        const SessionData& d = *session.data();
        QVERIFY(!session.state.timeOrderError);
        QCOMPARE(d.name.str(), std::string("Beta"));
        // A's comment does not come along, and nothing lands on A's readings.
        QStringList read;
        for (std::uint32_t i = 0; i < d.readingCount(); ++i)
            read << QString::number(d.readings[i].sys) + QLatin1Char(' ') + d.readings[i].comment.toQString();
        QCOMPARE(read, (QStringList{"121 ", "122 ", "123 ", "131 morning", "132 ", "133 last one"}));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<bool>("outputExists");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<int>>("messages");
        QTest::newRow("touching spans") << QStringList{"A.DAT", "TOUCH.DAT"} << false << int(MergeResult::Overlap)
                                        << QList<int>{259};
        QTest::newRow("overlap beats existing output") << QStringList{"A.DAT", "TOUCH.DAT"} << true
                                                       << int(MergeResult::Overlap) << QList<int>{259};
        QTest::newRow("output exists") << QStringList{"A.DAT", "B.DAT"} << true << int(MergeResult::Exists)
                                       << QList<int>{268};
        QTest::newRow("other recorder") << QStringList{"A.DAT", "RV.DAT"} << false << int(MergeResult::NotKs318)
                                        << QList<int>{262};
        QTest::newRow("input missing") << QStringList{"A.DAT", "NONE.DAT"} << false << int(MergeResult::Unreadable)
                                       << QList<int>{220};
        QTest::newRow("seven files") << QStringList{"A.DAT", "B.DAT", "A.DAT", "B.DAT", "A.DAT", "B.DAT", "A.DAT"}
                                     << false << int(MergeResult::WrongCount) << QList<int>{};
    }

    void refusals()
    {
        QFETCH(QStringList, inputs);
        QFETCH(bool, outputExists);
        QFETCH(int, result);
        QFETCH(QList<int>, messages);
        QVERIFY(test::writeFile(path("TOUCH.DAT"), line(2009, 6, 2, 8, 30) + line(2009, 6, 2, 10, 0) + sections("", "")));
        QVERIFY(test::writeFile(path("RV.DAT"), QByteArray("RV5730  30") + line(2009, 7, 1, 9, 0).mid(10)));
        const QString out = path("OUT.DAT");
        const QByteArray before("already here\n");
        if (outputExists)
            QVERIFY(test::writeFile(out, before));
        QStringList paths;
        for (const QString& i : inputs)
            paths << dir_.path(i);
        test::MessageLog sink;
        QCOMPARE(int(mergeRecordings(paths, out, &sink)), result);
        QCOMPARE(sink.ids(), messages);
        for (const test::ShownMessage& m : sink.shown) {
            QCOMPARE(m.captionId, 14);
            QCOMPARE(m.icon, m.stringId == 259 ? MessageIcon::Exclamation : MessageIcon::Warning);
        }
        if (outputExists)
            QCOMPARE(test::readFile(out), before);
        else
            QVERIFY(!QFile::exists(out));
    }

    // Record lines of every file in time order, then the latest file's
    // sections with its comments shifted by the readings before it.
    void cli()
    {
        QVERIFY(test::writeFile(path("A2.DAT"), line(2009, 6, 2, 8, 0) + line(2009, 6, 2, 12, 0)));
        const QList<QStringList> runs{{"merge", "OUT.DAT", "B.DAT", "A.DAT"},
                                      {"merge", "TWICE.DAT", "B.DAT", "A.DAT", "B.DAT"},
                                      {"merge", "NEW.DAT", "A.DAT", "A2.DAT"},
                                      {"merge", "A2.DAT", "A.DAT", "B.DAT"},
                                      {"merge", "NEW.DAT", "A.DAT"},
                                      {"merge", "NEW.DAT", "A.DAT", "A.DAT"},
                                      {"merge", "NEW.DAT", "1.DAT", "2.DAT", "3.DAT", "4.DAT", "5.DAT", "6.DAT", "7.DAT"}};
        KS318_COMPARE_GOLDEN(test::cliTranscript(runs, dir_.path()), "merge.txt");
        KS318_COMPARE_GOLDEN(test::readFile(path("OUT.DAT")), "merged.DAT");
        QCOMPARE(test::readFile(path("TWICE.DAT")), test::readFile(path("OUT.DAT")));
        QVERIFY(!QFile::exists(path("NEW.DAT")));
        QCOMPARE(test::readFile(path("A.DAT")), fileA());
    }
};

QTEST_GUILESS_MAIN(TstFileMerge)
#include "tst_filemerge.moc"
