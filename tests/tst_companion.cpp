// The companion file NAME.p30: its bytes, the sections read, and its creation
// from a legacy patient file through fileconv.
#include "recordingsink.h"
#include "records/companionfile.h"
#include "records/daycount.h"
#include "session/session.h"
#include "synthetic.h"
#include "support/testfiles.h"

using namespace ks318;
using namespace ks318::test;

namespace {

QByteArray section(int id, const QByteArray& block)
{
    return QByteArray::number(id) + "\n" + QByteArray::number(block.size()) + "\n" + block + "\n";
}

} // namespace

class TestCompanion : public QObject {
    Q_OBJECT

private:
    QString converterDir_;
    QByteArray path_;

private Q_SLOTS:
    void initTestCase()
    {
        // fileconv is built beside ks318-cli; the program finds it on PATH.
        converterDir_ = QFileInfo(qEnvironmentVariable("KS318_CLI")).absolutePath();
        QVERIFY2(QFile::exists(converterDir_ + "/fileconv"), qPrintable(converterDir_));
        path_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
    }

    // The fields at the offsets of the hand-worked companion-layout.txt, the
    // hex dump as the catch-all, and the records read back.
    void filledRecordsWriteExactBytesAndReadBack()
    {
        QTemporaryDir dir;
        // Every field of the three records filled (golden companion.p30.hex).
        Session s;
        PatientRecord& p = s.patient;
        p.valid = 1;
        p.recordingHours = 24;
        p.recorderType = 70;
        p.startDateText = "2026/11/02";
        p.startTimeText = "07:00";
        p.recorderId = 3;
        p.patientName.setQString(QStringLiteral("山田 太郎"));
        p.patientAddress = "1-2-3 Shiba, Minato";
        p.patientPhone = "03-1234-5678";
        p.physicianName = "Dr. Sato";
        p.physicianAddress = "4-5-6 Azabu";
        p.physicianPhone = "03-9999-0000";
        p.socialSecurityNumber = "SSN-1";
        p.insurance = "Kenpo";
        p.medicareNumber = "MC-7";
        p.age = "58";
        p.sex.setQString(QStringLiteral("男"));
        p.height = "172";
        p.weight = "70";
        p.medications = "amlodipine";
        p.comments = "morning readings high";
        p.day1SleepTime = "22:30";
        p.day1WakeTime = "06:00";
        p.day2SleepTime = "23:00";
        p.day2WakeTime = "07:00";
        s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 7, 24);
        s.span.first = {2026, 11, 2, 7, 5, 46328, encodeTime(7, 5)};  // 2026-11-02 as a day count
        s.span.last = {2026, 11, 3, 6, 40, 46329, encodeTime(6, 40)};
        MessageLog log;
        QVERIFY(writeCompanionFile(s, dir.filePath("REC.DAT"), &log));
        const QByteArray file = readFile(dir.filePath("REC.p30"));
        const QStringList wrong = layoutMismatches(
            "companion-layout.txt", {{"file", file}, {"0", file.mid(8)}, {"1", file.mid(915)}, {"2", file.mid(1065)}});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        KS318_COMPARE_GOLDEN(hexDump(file), "companion.p30.hex");

        Session again;
        QVERIFY(readCompanionFile(again, dir.filePath("REC.DAT"), &log));
        // A missing file to read then: message 202, and the records in memory
        // stay as they were (a failed write is in tst_writefaults).
        QVERIFY(!readCompanionFile(again, dir.filePath("NONE.DAT"), &log));
        QCOMPARE(log.shown, (QList<ShownMessage>{{202, 14, MessageIcon::Warning}}));
        QCOMPARE((QList<quint32>{again.patient.valid, again.intervals.valid, again.span.valid}), (QList<quint32>{1, 1, 1}));
        s.intervals.valid = s.span.valid = 1;
        QCOMPARE(formatCompanionFile(again.patient, again.intervals, again.span),
                 formatCompanionFile(s.patient, s.intervals, s.span));
    }

    // A 1100-byte patient record and an 80-byte interval record as older
    // versions wrote them, converted on reading (texts cut on a character
    // boundary, the scroll bytes widened).
    void olderSizesAreConverted()
    {
        Session s;
        const CompanionSections read = parseCompanionFile(fromHexDump(golden("legacy.p30.hex")), s.patient,
                                                          s.intervals, s.span);
        QVERIFY(read.patient && read.intervals && !read.span);
        KS318_COMPARE_GOLDEN(hexDump(formatCompanionFile(s.patient, s.intervals, s.span)), "legacy-converted.p30.hex");
    }

    // The sections of companion.p30.hex reordered, cut or damaged.
    void readSections_data() { dataRows("companion-sections.txt", {"bytes", "read"}); }

    void readSections()
    {
        const QByteArray file = fromHexDump(golden("companion.p30.hex"));
        const QList<QByteArray> pieces = cell("bytes").toUtf8().split('{');
        QByteArray bytes = unescaped(pieces[0]);
        for (const QByteArray& piece : pieces.mid(1)) {
            const QList<QByteArray> at = piece.mid(1, piece.indexOf('}') - 1).split('+');
            bytes += file.mid(at[0].toInt(), at[1].toInt()) + unescaped(piece.mid(piece.indexOf('}') + 1));
        }
        const QString read = cell("read");
        Session s;
        s.patient.valid = s.intervals.valid = s.span.valid = 1;  // left from another file
        const CompanionSections got = parseCompanionFile(bytes, s.patient, s.intervals, s.span);
        const auto named = [](bool patient, bool intervals, bool span) {
            const QString all = QString(patient ? "patient " : "") + (intervals ? "intervals " : "");
            return (all + (span ? "span" : "")).trimmed();
        };
        QCOMPARE(named(got.patient, got.intervals, got.span), read);
        QCOMPARE(named(s.patient.valid == 1, s.intervals.valid == 1, s.span.valid == 1), read);
        if (got.patient)
            QCOMPARE(s.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
    }

    // Each .pat of fileconv.txt (its lines joined by "\n") is refused with
    // exit 1, the complaint below it, and no NAME.tmp.
    void fileconvRefusesBadInput()
    {
        KS318_COMPARE_GOLDEN_TABLE("fileconv.txt", [this](const QByteArray& line) {
            QTemporaryDir dir;
            writeFile(dir.filePath("OLD.pat"), QByteArray(line).replace("\\n", "\n"));
            QProcess p;
            p.start(converterDir_ + "/fileconv", {dir.filePath("OLD.pat")});
            p.waitForFinished(10000);
            const QByteArray err = p.readAllStandardError().replace(dir.path().toUtf8() + '/', "");
            return "exit " + QByteArray::number(p.exitCode())
                   + (QFile::exists(dir.filePath("OLD.tmp")) ? ", NAME.tmp written" : "") + ": "
                   + err.left(err.indexOf('\n'));
        });
    }

    // Companion files made from a legacy patient file, with fileconv or
    // without it (companion-creation.txt). The program runs fileconv with an
    // argument list: nothing of a path of quotes, semicolons and
    // substitutions runs as a command. A converted .pat and its .tmp go once
    // NAME.p30 holds the records of the .pat (fileconv.p30.hex), not of the
    // data file nor of a stale .tmp.
    void creation_data()
    {
        dataRows("companion-creation.txt", {"pat", "converter", "tmp", "p30", "givenName", "patientName", "patKept"});
    }

    void creation()
    {
        QTemporaryDir root;
        QTemporaryDir emptyBin;
        const QString dir = root.filePath("it's \"here\"; touch injected");
        QVERIFY(QDir().mkpath(dir));
        const QString base = dir + "/N'a\"m;e $(touch injected2) `touch x`";
        QVERIFY(writeFile(base + ".pat", cell("pat") == "legacy" ? golden("legacy.pat") : cell("pat").toUtf8() + '\n'));
        synth::Options twelve;
        twelve.count = 12;
        QVERIFY(writeFile(base + ".DAT", synth::makeFile(twelve)));
        // Sections of an older layout, "STALE" in the patient name.
        const QByteArray stale = QByteArray(37, '\0') + "STALE" + QByteArray(1096 - 42, '\0');
        if (cell("tmp") == "stale")
            QVERIFY(writeFile(base + ".tmp", "0\n" + section(0, stale) + section(1, QByteArray(42, '\0'))
                                                 + section(2, QByteArray(14, '\0'))));
        const QByteArray present = "0\n" + section(2, QByteArray(56, '\0'));
        if (cell("p30") == "yes")
            QVERIFY(writeFile(base + ".p30", present));
        if (cell("converter") == "no")
            qputenv("PATH", QFile::encodeName(emptyBin.path()));
        Session s;
        MessageLog log;
        const CompanionCreation created = createCompanionFile(s, base + ".DAT", cell("givenName"), &log);
        qputenv("PATH", QFile::encodeName(converterDir_) + ":" + path_);
        QCOMPARE(created, CompanionCreation::Present);
        QVERIFY(log.shown.isEmpty());
        if (!cell("patientName").isEmpty())
            QCOMPARE(s.patient.patientName.toQString(), cell("patientName"));
        QCOMPARE(QFile::exists(base + ".pat"), cell("patKept") == "yes");
        QVERIFY(!QFile::exists(base + ".tmp"));
        for (const QString& where : {dir, root.path(), QDir::currentPath()})
            for (const char* name : {"injected", "injected2", "x"})
                QVERIFY2(!QFile::exists(where + "/" + name), qPrintable(where + "/" + name));
        if (cell("p30") == "yes")
            QCOMPARE(readFile(base + ".p30"), present);
        else if (cell("patKept") == "no")
            KS318_COMPARE_GOLDEN(hexDump(readFile(base + ".p30")), "fileconv.p30.hex");
        else
            QVERIFY(QFile::exists(base + ".p30"));
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
