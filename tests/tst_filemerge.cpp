// File merge: time order and the overlap rule, the merged text, the refusals,
// and ks318-cli merge of merge-a.DAT and merge-b.DAT (merge.txt, merged.DAT).
#include "records/filemerge.h"
#include "recordingsink.h"
#include "support/clirun.h"

using namespace ks318;
using namespace ks318::test;

class TstFileMerge : public QObject {
    Q_OBJECT

private:
    ScratchDir dir_;
    QString path(const char* name) const { return dir_.path(name); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.clear());
        // A: 1 June 2009 09:00 to 2 June 08:30; B: 2 June 09:00 to 3 June 08:30.
        QVERIFY(writeFile(path("A.DAT"), golden("merge-a.DAT")));
        QVERIFY(writeFile(path("B.DAT"), golden("merge-b.DAT")));
    }

    void order_data() { dataRows("merge-order.txt", {"spans", "order"}); }

    void order()
    {
        // Each span as the program takes it from a file of two record lines,
        // "MM-dd hh:mm" in 2009 or "yyyy-MM-dd hh:mm" to the same.
        std::vector<FileSpan> s;
        for (const QString& item : cell("spans").split(QStringLiteral(", "))) {
            QByteArray text;
            for (const QString& t : item.split(QStringLiteral(" to "))) {
                const QDateTime d = QDateTime::fromString(t.count(QLatin1Char('-')) == 2 ? t : "2009-" + t,
                                                          QStringLiteral("yyyy-MM-dd hh:mm"));
                const QDate day = d.date();
                text += recordLine(day.year(), day.month(), day.day(), d.time().hour(), d.time().minute());
            }
            s.push_back(spanOfFileText(text));
        }
        QStringList got;
        for (const int i : mergeOrder(s))
            got << QString::number(i);
        QCOMPARE(got.isEmpty() ? QStringLiteral("refused") : got.join(QLatin1Char(' ')), cell("order"));
    }

    void texts_data() { dataRows("merge-texts.txt", {"latest", "expectedTail", "earlier"}); }

    void texts()
    {
        const QByteArray first = recordLine(2009, 6, 1, 9, 0);
        const QByteArray second = recordLine(2009, 6, 1, 10, 0);
        const auto bytes = [&](const QString& text) {
            return unescaped(text.toUtf8().replace("{rec}", recordLine(2009, 6, 3, 9, 0).chopped(1))
                                 .replace("{first}", first.chopped(1)).replace("{second}", second.chopped(1)));
        };
        const QByteArray sections = patientSections("Early", "1:early comment\n");
        const QByteArray earlier = cell("earlier").isEmpty() ? first + second + sections : bytes(cell("earlier"));
        QCOMPARE(mergeFileTexts({earlier, bytes(cell("latest"))}), first + second + bytes(cell("expectedTail")));
    }

    void refusals_data() { dataRows("merge-refusals.txt", {"inputs", "outputExists", "result", "messages"}); }

    void refusals()
    {
        const bool outputExists = cell("outputExists") == QLatin1String("yes");
        const QMap<MergeResult, QString> results{{MergeResult::Overlap, "overlap"}, {MergeResult::Exists, "exists"},
                                                 {MergeResult::NotKs318, "not KS-318"},
                                                 {MergeResult::Unreadable, "unreadable"},
                                                 {MergeResult::WrongCount, "wrong count"}};
        QVERIFY(writeFile(path("TOUCH.DAT"), recordLine(2009, 6, 2, 8, 30) + recordLine(2009, 6, 2, 10, 0)
                                                 + patientSections("", "")));
        QVERIFY(writeFile(path("RV.DAT"), QByteArray("RV5730  30") + recordLine(2009, 7, 1, 9, 0).mid(10)));
        const QString out = path("OUT.DAT");
        const QByteArray before("already here\n");
        if (outputExists)
            QVERIFY(writeFile(out, before));
        QStringList paths;
        for (const QString& i : cell("inputs").split(QLatin1Char(' ')))
            paths << dir_.path(i);
        MessageLog sink;
        QCOMPARE(results.value(mergeRecordings(paths, out, &sink), "merged"), cell("result"));
        QStringList ids;
        for (const ShownMessage& m : sink.shown) {
            ids << QString::number(m.stringId);
            QCOMPARE(m.captionId, 14);
            QCOMPARE(m.icon, m.stringId == 259 ? MessageIcon::Exclamation : MessageIcon::Warning);
        }
        QCOMPARE(ids.join(QLatin1Char(' ')), cell("messages"));
        QCOMPARE(readFile(out), outputExists ? before : QByteArray("<missing>"));
    }

    // B dropped before A: A's readings first, then B's with its sections and
    // its comments renumbered to 4 and 6 (merged.DAT; A's comment does not
    // come along). A companion or CSV file left by an earlier recording of
    // the output's name goes; the inputs stay as they were.
    void cli()
    {
        QVERIFY(writeFile(path("A2.DAT"), recordLine(2009, 6, 2, 8, 0) + recordLine(2009, 6, 2, 12, 0)));
        QVERIFY(writeFile(path("OUT.p30"), "stale") && writeFile(path("OUT.csv"), "stale"));
        KS318_COMPARE_GOLDEN(rerunTranscript("merge.txt", dir_.path()), "merge.txt");
        KS318_COMPARE_GOLDEN(readFile(path("OUT.DAT")), "merged.DAT");
        QCOMPARE(readFile(path("TWICE.DAT")), readFile(path("OUT.DAT")));
        QVERIFY(!QFile::exists(path("NEW.DAT")));
        QVERIFY(!QFile::exists(path("OUT.p30")) && !QFile::exists(path("OUT.csv")));
        QCOMPARE(readFile(path("A.DAT")), golden("merge-a.DAT"));
        QCOMPARE(readFile(path("B.DAT")), golden("merge-b.DAT"));
    }
};

QTEST_GUILESS_MAIN(TstFileMerge)
#include "tst_filemerge.moc"
