// Save as and delete on a recording's file set: what is copied, what is
// refused with message 268, that no copy replaces a file, and what is left
// current afterwards.
#include "records/companionfile.h"
#include "records/dataset.h"
#include "records/fileoperations.h"
#include "session/session.h"
#include "recordingsink.h"
#include "synthetic.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

class TstFileOperations : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    Session session_;
    test::MessageLog log_;

    QString path(const QString& name) const { return dir_.filePath(name); }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }

    // DEMO.DAT with its companion file, made current as opening does.
    void openDemo()
    {
        QVERIFY(test::writeFile(path("DEMO.DAT"), synth::demoFile()));
        session_.state.currentFilePath = path("DEMO.DAT");
        QVERIFY(prepareDataSet(session_, path("DEMO.DAT")));
        QVERIFY(session_.allocateData());
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        for (const QString& f : files())
            QFile::remove(path(f));
        session_.state = SessionState();
        session_.patient = PatientRecord();
        session_.freeData();
        log_.shown.clear();
        openDemo();
    }

    // Each member the source has is copied byte for byte; the source stays
    // current and described.
    void saveAsCopiesTheSet_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("withCsv");
        QTest::addColumn<QStringList>("copies");
        QTest::newRow("with csv") << "COPY.DAT" << true << QStringList{"COPY.DAT", "COPY.csv", "COPY.p30"};
        QTest::newRow("without csv") << "COPY.DAT" << false << QStringList{"COPY.DAT", "COPY.p30"};
        QTest::newRow("name without extension") << "COPY" << false << QStringList{"COPY.dat", "COPY.p30"};
        QTest::newRow("other extension") << "COPY.txt" << false << QStringList{"COPY.dat", "COPY.p30"};
    }

    void saveAsCopiesTheSet()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, withCsv);
        QFETCH(QStringList, copies);
        if (withCsv)
            QVERIFY(test::writeFile(path("DEMO.csv"), "csv text\r\n"));
        const QString title = session_.state.windowTitleText;
        const QStringList before = files();
        QVERIFY(saveRecordingAs(session_, path(chosen), &log_));
        QVERIFY(log_.shown.isEmpty());
        QStringList expected = before + copies;
        expected.sort();
        QCOMPARE(files(), expected);
        for (const QString& copy : copies) {
            const QString ext = QFileInfo(copy).suffix().toLower();
            const QString source = ext == "dat" ? "DEMO.DAT" : "DEMO." + ext;
            QCOMPARE(test::readFile(path(copy)), test::readFile(path(source)));
        }
        QCOMPARE(session_.state.currentFilePath, path("DEMO.DAT"));
        QCOMPARE(session_.state.windowTitleText, title);
        QVERIFY(session_.patient.valid);
    }

    // An existing destination in any spelling: message 268, nothing copied,
    // nothing replaced.
    void saveAsOntoExistingName_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("same name") << "OLD.DAT" << "OLD.DAT";
        QTest::newRow("lower-case extension exists") << "OLD.dat" << "OLD";
        QTest::newRow("upper-case extension exists") << "OLD.DAT" << "OLD.txt";
        QTest::newRow("chosen name exists") << "OLD.txt" << "OLD.txt";
        QTest::newRow("the source itself") << "DEMO.DAT" << "DEMO.DAT";
    }

    void saveAsOntoExistingName()
    {
        QFETCH(QString, existing);
        QFETCH(QString, chosen);
        if (!QFile::exists(path(existing)))
            QVERIFY(test::writeFile(path(existing), "old data\n"));
        QVERIFY(test::writeFile(path("OLD.p30"), "old companion"));
        const QStringList before = files();
        QMap<QString, QByteArray> contents;
        for (const QString& f : before)
            contents[f] = test::readFile(path(f));

        QVERIFY(!saveRecordingAs(session_, path(chosen), &log_));
        QCOMPARE(log_.ids(), QList<int>{268});
        QCOMPARE(log_.shown.first().captionId, 14);
        QCOMPARE(log_.shown.first().icon, MessageIcon::Warning);
        QCOMPARE(files(), before);
        for (const QString& f : before)
            QCOMPARE(test::readFile(path(f)), contents[f]);
        QCOMPARE(session_.state.currentFilePath, path("DEMO.DAT"));
        QVERIFY(session_.state.windowTitleText.startsWith("DEMO : "));
    }

    // A companion or CSV file left by an earlier recording of the chosen
    // name is removed before the copies, so it cannot describe the copy.
    void staleMembersOfTheDestinationGo()
    {
        QVERIFY(test::writeFile(path("COPY.p30"), "stale companion"));
        QVERIFY(test::writeFile(path("COPY.CSV"), "stale csv"));
        QVERIFY(saveRecordingAs(session_, path("COPY.DAT"), &log_));
        QCOMPARE(test::readFile(path("COPY.p30")), test::readFile(path("DEMO.p30")));
        QVERIFY(!QFile::exists(path("COPY.CSV")));
        QVERIFY(!QFile::exists(path("COPY.csv")));
    }

    void deleteOtherRecording_data()
    {
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("all three") << QStringList{"OLD.DAT", "OLD.P30", "OLD.CSV"} << "OLD.DAT";
        QTest::newRow("lower-case members") << QStringList{"OLD.dat", "OLD.p30", "OLD.csv"} << "OLD.dat";
        QTest::newRow("data file only") << QStringList{"OLD.DAT"} << "OLD.DAT";
        QTest::newRow("nothing there") << QStringList{} << "OLD.DAT";
    }

    void deleteOtherRecording()
    {
        QFETCH(QStringList, members);
        QFETCH(QString, chosen);
        for (const QString& m : members)
            QVERIFY(test::writeFile(path(m), "x"));
        QVERIFY(test::writeFile(path("OLDER.DAT"), "kept"));
        const QString title = session_.state.windowTitleText;
        QVERIFY(deleteRecording(session_, path(chosen), &log_));
        QVERIFY(log_.shown.isEmpty());
        QCOMPARE(files(), (QStringList{"DEMO.DAT", "DEMO.p30", "OLDER.DAT"}));
        QCOMPARE(session_.state.currentFilePath, path("DEMO.DAT"));
        QCOMPARE(session_.state.windowTitleText, title);
    }

    // Deleting the open recording leaves none open.
    void deleteCurrentRecording()
    {
        QVERIFY(test::writeFile(path("DEMO.csv"), "csv"));
        session_.state.defaultBpMode = BpMode::KorotkoffOnly;
        QVERIFY(!deleteRecording(session_, path("DEMO.DAT"), &log_));
        QVERIFY(files().isEmpty());
        const SessionState& st = session_.state;
        QVERIFY(st.currentFilePath.isEmpty());
        QVERIFY(st.windowTitleText.isEmpty());
        QVERIFY(!session_.patient.valid);
        QVERIFY(!session_.intervals.valid);
        QVERIFY(!session_.span.valid);
        QVERIFY(!session_.data());
        // Settings-derived state survives.
        QCOMPARE(st.defaultBpMode, BpMode::KorotkoffOnly);
    }
};

QTEST_GUILESS_MAIN(TstFileOperations)
#include "tst_fileoperations.moc"
