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

// Every field of data.d, data.m and data.o set, most of them away from
// their defaults.
void fillSettings(Settings& s)
{
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

    // Fields of the files written from fillSettings at the offsets of their
    // layouts, worked out by hand (little-endian; the block after the
    // "0\nSIZE\n" lines; physician slot 4 at 8 + 4 × 212 = 856). The hex
    // dumps below are the catch-all.
    void fieldsAtTheirOffsets_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        QTest::newRow("data.d valid as in memory") << "data.d" << 0 << hex("01000000");
        QTest::newRow("data.d default BP mode 2") << "data.d" << 4 << hex("02000000");
        QTest::newRow("data.d thresholds 135/85, 125/75") << "data.d" << 8 << hex("87000000 55000000 7d000000 4b000000");
        QTest::newRow("data.d alternate thresholds 11, 60, 90, 50") << "data.d" << 24
                                                                     << hex("0b000000 3c000000 5a000000 32000000");
        QTest::newRow("data.d serial port 3") << "data.d" << 40 << hex("03000000") + QByteArray("COM3\0", 5);
        QTest::newRow("data.d recorder type 70") << "data.d" << 60 << hex("46000000");
        QTest::newRow("data.d reference date 7 days back") << "data.d" << 64 << QByteArray("2026/02/26\0", 11);
        QTest::newRow("data.d no CSV file, last field") << "data.d" << 148 << hex("00000000");
        QTest::newRow("data.m valid, physician 4 chosen") << "data.m" << 0 << hex("01000000 04000000");
        QTest::newRow("data.m slot 4 used, index 0, valid") << "data.m" << 856 << hex("01000000 00000000 01000000");
        QTest::newRow("data.m slot 4 display name") << "data.m" << 868 << hex("8db293a1 00");
        QTest::newRow("data.m slot 4 family name") << "data.m" << 931 << hex("8db293a1 00");
        QTest::newRow("data.m slot 4 given name") << "data.m" << 962 << hex("89d48e71 00");
        QTest::newRow("data.m slot 4 address") << "data.m" << 993 << QByteArray("1-2-3 Shiba\0", 12);
        QTest::newRow("data.m slot 4 phone") << "data.m" << 1044 << QByteArray("03-0000-1111\0", 13);
        QTest::newRow("data.m slot 5 empty") << "data.m" << 1068 << hex("00000000");
        QTest::newRow("data.o name (CP932), then the switch") << "data.o" << 0
                                                              << hex("8d609286899b834e838a836a8362834e 0a 31");
    }
    void fieldsAtTheirOffsets()
    {
        QFETCH(QString, file);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        Session session;
        QVERIFY(loadSettings(session, dir.path(), nullptr, kToday));
        fillSettings(session.settings);
        QVERIFY(saveSettings(session, nullptr));
        QByteArray bytesWritten = readFile(dir.filePath(file));
        if (file != QLatin1String("data.o")) {
            const QByteArray head = file == QLatin1String("data.d") ? "0\n152\n" : "0\n10608\n";
            QVERIFY(bytesWritten.startsWith(head));
            bytesWritten.remove(0, head.size());
        }
        QCOMPARE(bytesWritten.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void filledSettingsWriteExactBytesAndReadBack()
    {
        QTemporaryDir dir;
        Session session;
        QVERIFY(loadSettings(session, dir.path(), nullptr, kToday));
        Settings& s = session.settings;
        fillSettings(s);
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

    // "data.d S1 D1 S2 D2": the thresholds stored (the alternate set 5 and
    // 400, type 30) and what reading makes of them; "data.o TEXT": the file
    // (escaped), the name and switch read, and the file written back.
    void readBack()
    {
        KS318_COMPARE_GOLDEN_TABLE("settings-read.txt", [](const QByteArray& line) {
            QTemporaryDir dir;
            Session session;
            session.settings.directory = dir.path();
            MessageLog log;
            const AnalysisSettings& s = session.settings.analysis;
            const FacilitySettings& f = session.settings.facility;
            if (line.startsWith("data.o")) {
                writeFile(dir.filePath("data.o"), unescaped(line.mid(7)));
                const bool read = readDataO(session, &log);
                const std::string name = f.facilityName.str();
                writeDataO(session, &log);
                const QByteArray written = readFile(dir.filePath("data.o"));
                const bool same = readDataO(session, &log) && f.facilityName.str() == name;
                return QByteArray(read ? "" : "not read, ") + "name '" + f.facilityName.toQString().toUtf8() + "', print "
                       + QByteArray::number(f.printFacilityName) + ", written back as "
                       + (written == name.c_str() + QByteArray("\n") + QByteArray::number(f.printFacilityName) + "\n"
                              ? "name and switch lines"
                              : escaped(written))
                       + (same ? "" : ", read again differs");
            }
            const QList<QByteArray> t = line.split(' ');
            AnalysisSettings stored;
            stored.altSysThreshold1 = 5;
            stored.altDiaThreshold2 = 400;
            stored.recorderType = 30;
            std::tie(stored.sysThreshold1, stored.diaThreshold1, stored.sysThreshold2, stored.diaThreshold2) =
                std::tuple(t[1].toInt(), t[2].toInt(), t[3].toInt(), t[4].toInt());
            writeFile(dir.filePath("data.d"), formatDataD(stored));
            const bool read = readDataD(session, &log, kToday);
            return QString::asprintf("%s%d %d %d %d, alternate %d %d, type %d, valid %d, messages %d",
                                     read ? "" : "not read, ", s.sysThreshold1, s.diaThreshold1, s.sysThreshold2,
                                     s.diaThreshold2, s.altSysThreshold1, s.altDiaThreshold2, s.recorderType, s.valid,
                                     int(log.shown.size()))
                .toUtf8();
        });
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
        const QByteArray part = QByteArray::fromHex("00000000" "03000000" "96000000");  // defaultBpMode 3, sysThreshold1 150
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
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
