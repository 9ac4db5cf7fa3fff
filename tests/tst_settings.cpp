// The settings files data.d, data.m and data.o: exact bytes of the defaults
// and of filled settings (golden files), the threshold rules and damaged or
// missing files.
#include "recordingsink.h"
#include "session/session.h"
#include "records/settings.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;
using namespace ks318::test;

namespace {

const QDate kToday(2026, 3, 5);

// The three files of `directory` as hex dumps.
QByteArray settingsFiles(const QString& directory)
{
    QByteArray out;
    for (const char* name : {"data.d", "data.m", "data.o"})
        out += "== " + QByteArray(name) + "\n" + hexDump(readFile(QDir(directory).filePath(name)));
    return out;
}

// data.d holding `a` with the thresholds given.
QByteArray dataD(AnalysisSettings a, const QList<int>& thresholds)
{
    std::tie(a.sysThreshold1, a.diaThreshold1, a.sysThreshold2, a.diaThreshold2) =
        std::tuple(thresholds[0], thresholds[1], thresholds[2], thresholds[3]);
    return formatDataD(a);
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingFilesAreCreatedWithDefaults()
    {
        QTemporaryDir dir;
        Session session;
        MessageLog log;
        QVERIFY(loadSettings(session, dir.path(), &log, kToday));
        QVERIFY(log.shown.isEmpty());

        // The reference date seven days before 5 March; valid 0 in the files.
        KS318_COMPARE_GOLDEN(settingsFiles(dir.path()), "settings-default.txt");
        // Valid in memory although the new files hold 0.
        const Settings& s = session.settings;
        QCOMPARE((QList<int>{s.analysis.valid, s.physicians.valid, s.analysis.sysThreshold1, s.physicians.selectedPhysician}),
                 (QList<int>{1, 1, 140, -1}));
    }

    void filledSettingsWriteExactBytesAndReadBack()
    {
        QTemporaryDir dir;
        Session session;
        QVERIFY(loadSettings(session, dir.path(), nullptr, kToday));
        Settings& s = session.settings;
        s.analysis.defaultBpMode = 2;
        s.analysis.sysThreshold1 = 135;
        s.analysis.diaThreshold1 = 85;
        s.analysis.sysThreshold2 = 125;
        s.analysis.diaThreshold2 = 75;
        s.analysis.altSysThreshold1 = 11;
        s.analysis.setSerialPort(3);
        s.analysis.createCsvFile = 0;
        s.physicians.selectedPhysician = 4;
        PhysicianSlot& slot = s.physicians.entries[4];
        slot.used = 1;
        slot.listIndex = 0;
        slot.valid = 1;
        slot.displayName.setQString(QStringLiteral("佐藤"));
        slot.familyName.setQString(QStringLiteral("佐藤"));
        slot.givenName.setQString(QStringLiteral("花子"));
        slot.address = "1-2-3 Shiba";
        slot.phone = "03-0000-1111";
        s.facility.facilityName.setQString(QStringLiteral("港中央クリニック"));
        s.facility.printFacilityName = 1;

        MessageLog log;
        QVERIFY(saveSettings(session, &log));
        QVERIFY(log.shown.isEmpty());

        KS318_COMPARE_GOLDEN(settingsFiles(dir.path()), "settings-filled.txt");

        Session again;
        QVERIFY(loadSettings(again, dir.path(), nullptr, QDate(2030, 1, 1)));
        QVERIFY(again.settings.analysis.pack() == s.analysis.pack());
        QVERIFY(again.settings.physicians.pack() == s.physicians.pack());
        QCOMPARE(again.settings.facility.facilityName.toQString(), QStringLiteral("港中央クリニック"));
        QCOMPARE(again.settings.facility.printFacilityName, 1);
        QCOMPARE(again.state.defaultBpMode, BpMode::KorotkoffOnly);
    }

    void thresholdValidation_data()
    {
        QTest::addColumn<QList<int>>("thresholds");  // sys1, dia1, sys2, dia2 as stored
        QTest::addColumn<QList<int>>("expected");

        QTest::newRow("defaults kept") << QList<int>{140, 90, 120, 70} << QList<int>{140, 90, 120, 70};
        QTest::newRow("bounds 300 and 10 kept") << QList<int>{300, 10, 300, 10} << QList<int>{300, 10, 300, 10};
        QTest::newRow("sys1 below dia1") << QList<int>{90, 95, 120, 70} << QList<int>{140, 90, 120, 70};
        QTest::newRow("sys1 equal to dia1") << QList<int>{100, 100, 120, 70} << QList<int>{140, 90, 120, 70};
        QTest::newRow("sys1 above 300") << QList<int>{301, 85, 120, 70} << QList<int>{140, 85, 120, 70};
        QTest::newRow("sys1 below 10") << QList<int>{9, 85, 120, 70} << QList<int>{140, 85, 120, 70};
        QTest::newRow("dia1 above 300") << QList<int>{150, 301, 120, 70} << QList<int>{150, 90, 120, 70};
        QTest::newRow("dia1 below 10, sys1 still above") << QList<int>{95, 5, 120, 70} << QList<int>{95, 90, 120, 70};
        QTest::newRow("dia1 reset to 90 reaches sys1") << QList<int>{85, 5, 120, 70} << QList<int>{140, 90, 120, 70};
        QTest::newRow("sys2 5, valid dia2 kept") << QList<int>{140, 90, 5, 60} << QList<int>{140, 90, 120, 60};
        QTest::newRow("sys2 5, dia2 120") << QList<int>{140, 90, 5, 120} << QList<int>{140, 90, 120, 70};
        QTest::newRow("dia2 negative") << QList<int>{140, 90, 110, -1} << QList<int>{140, 90, 110, 70};
        QTest::newRow("sys2 below dia2") << QList<int>{140, 90, 60, 80} << QList<int>{140, 90, 120, 70};
        QTest::newRow("both pairs wrong") << QList<int>{0, 0, 1000, 1000} << QList<int>{140, 90, 120, 70};
    }

    void thresholdValidation()
    {
        QFETCH(QList<int>, thresholds);
        QFETCH(QList<int>, expected);
        QTemporaryDir dir;
        AnalysisSettings stored;
        stored.altSysThreshold1 = 5;  // the alternate set is taken as read
        stored.altDiaThreshold2 = 400;
        stored.recorderType = 30;
        QVERIFY(writeFile(dir.filePath("data.d"), dataD(stored, thresholds)));

        Session session;
        session.settings.directory = dir.path();
        MessageLog log;
        QVERIFY(readDataD(session, &log, kToday));
        const AnalysisSettings& s = session.settings.analysis;
        QCOMPARE(s.valid, 1);
        QCOMPARE((QList<int>{s.sysThreshold1, s.diaThreshold1, s.sysThreshold2, s.diaThreshold2}), expected);
        QCOMPARE(s.altSysThreshold1, 5);
        QCOMPARE(s.altDiaThreshold2, 400);
        QCOMPARE(s.recorderType, 70);
        QVERIFY(log.shown.isEmpty());
    }

    void damagedFileKeepsMemory_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");

        const QByteArray block = formatDataD(AnalysisSettings()).mid(6, 152);
        QTest::newRow("data.d version 1") << "data.d" << QByteArray("1\n152\n" + block + "\n");
        QTest::newRow("data.d size 0") << "data.d" << QByteArray("0\n0\n" + block + "\n");
        QTest::newRow("data.d negative size") << "data.d" << QByteArray("0\n-152\n" + block + "\n");
        QTest::newRow("data.d truncated block") << "data.d" << QByteArray("0\n152\n" + block.left(100));
        QTest::newRow("data.d empty") << "data.d" << QByteArray();
        QTest::newRow("data.d text") << "data.d" << QByteArray("version zero\n");
        QTest::newRow("data.m version 2") << "data.m" << QByteArray("2\n10608\n") + QByteArray(10608, '\0') + "\n";
        QTest::newRow("data.m truncated block") << "data.m" << QByteArray("0\n10608\n") + QByteArray(5000, '\0');
    }

    void damagedFileKeepsMemory()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(file), bytes));

        Session session;
        session.settings.directory = dir.path();
        session.settings.analysis.sysThreshold1 = 155;  // stands for what memory held before
        session.settings.physicians.selectedPhysician = 7;
        MessageLog log;
        const bool read = file == QLatin1String("data.d") ? readDataD(session, &log, kToday) : readDataM(session, &log);
        QVERIFY(!read);
        QVERIFY(log.shown.isEmpty());
        QCOMPARE(readFile(dir.filePath(file)), bytes);  // not replaced by defaults
        if (file == QLatin1String("data.d")) {
            QCOMPARE(session.settings.analysis.valid, 0);
            QCOMPARE(session.settings.analysis.sysThreshold1, 155);
        } else {
            QCOMPARE(session.settings.physicians.valid, 0);
            QCOMPARE(session.settings.physicians.selectedPhysician, 7);
        }
    }

    void shortBlockReplacesOnlyItsBytes()
    {
        QTemporaryDir dir;
        QByteArray part(12, '\0');
        putU32(part, 4, 3);    // defaultBpMode
        putU32(part, 8, 150);  // sysThreshold1
        QVERIFY(writeFile(dir.filePath("data.d"), QByteArray("0\n12\n") + part + "\n"));

        Session session;
        session.settings.directory = dir.path();
        session.settings.analysis.diaThreshold1 = 95;
        QVERIFY(readDataD(session, nullptr, kToday));
        QCOMPARE(session.settings.analysis.valid, 1);
        QCOMPARE(session.settings.analysis.defaultBpMode, 3);
        QCOMPARE(session.settings.analysis.sysThreshold1, 150);
        QCOMPARE(session.settings.analysis.diaThreshold1, 95);
    }

    void dataO_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("print");

        const QByteArray fifty(50, 'H');
        const QByteArray kanji = sjis(QString(25, QChar(0x75c5)));  // 25 double-byte characters, 50 bytes
        QTest::newRow("empty name, off") << QByteArray("\n0\n") << QByteArray() << 0;
        QTest::newRow("name, on") << QByteArray("Clinic\n1\n") << QByteArray("Clinic") << 1;
        QTest::newRow("CR LF lines") << QByteArray("Clinic\r\n1\r\n") << QByteArray("Clinic") << 1;
        QTest::newRow("50 single-byte characters") << fifty + "\n1\n" << fifty << 1;
        QTest::newRow("25 double-byte characters") << kanji + "\n1\n" << kanji << 1;
        QTest::newRow("overlong line cut, switch from line 2") << QByteArray(60, 'X') + "\n1\n" << QByteArray(50, 'X') << 1;
        QTest::newRow("no second line") << QByteArray("Clinic\n") << QByteArray("Clinic") << 0;
        QTest::newRow("no line feed") << QByteArray("Clinic") << QByteArray("Clinic") << 0;
        QTest::newRow("stray CRs and a NUL end the name") << QByteArray("Clinic\r\r\0x\n1\n", 13) << QByteArray("Clinic") << 1;
    }

    void dataO()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, name);
        QFETCH(int, print);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("data.o"), bytes));

        Session session;
        session.settings.directory = dir.path();
        QVERIFY(readDataO(session, nullptr));
        const FacilitySettings& f = session.settings.facility;
        QCOMPARE(QByteArray(f.facilityName.view().data(), qsizetype(f.facilityName.size())), name);
        QCOMPARE(f.printFacilityName, print);

        // Written back and read again, the name is unchanged.
        QVERIFY(writeDataO(session, nullptr));
        QCOMPARE(readFile(dir.filePath("data.o")), name + "\n" + QByteArray::number(print) + "\n");
        Session again;
        again.settings.directory = dir.path();
        QVERIFY(readDataO(again, nullptr));
        QCOMPARE(again.settings.facility.facilityName.str(), f.facilityName.str());
    }

    void writeFailureShowsMessage201()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("no/such/directory");
        Session session;
        MessageLog log;
        QVERIFY(!loadSettings(session, missing, &log, kToday));
        const ShownMessage m201{201, 14, MessageIcon::Warning};
        QCOMPARE(log.shown, (QList<ShownMessage>{m201, m201, m201}));
        // The defaults are in memory and count as created.
        QCOMPARE(session.settings.analysis.valid, 1);
        QCOMPARE(session.settings.physicians.valid, 1);

        session.settings.analysis.sysThreshold1 = 160;
        log.shown.clear();
        QVERIFY(!saveSettings(session, &log));
        QCOMPARE(log.shown.size(), 3);
        QCOMPARE(session.settings.analysis.sysThreshold1, 160);
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
