// The settings files data.d, data.m and data.o (golden files), and the
// physician list over the 50 slots of data.m.
#include "recordingsink.h"
#include "session/session.h"
#include "records/physicianroster.h"
#include "records/settings.h"
#include "support/testfiles.h"

using namespace ks318;
using namespace ks318::test;

namespace {

const QDate kToday(2026, 3, 5);

QByteArray settingsFiles(const QString& directory)
{
    QByteArray out;
    for (const char* name : {"data.d", "data.m", "data.o"})
        out += "== " + QByteArray(name) + "\n" + hexDump(readFile(QDir(directory).filePath(name)));
    return out;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Missing files are made with the defaults (the reference date seven
    // days before 5 March; valid 0 in the files, 1 in memory); where they
    // cannot be written, message 201 for each, and the defaults stay in
    // memory as made.
    void missingFilesTakeTheDefaults()
    {
        QTemporaryDir dir;
        for (const QString& folder : {dir.path(), dir.filePath("no/such/directory")}) {
            Session session;
            MessageLog log;
            const bool writable = folder == dir.path();
            QCOMPARE(loadSettings(session, folder, &log, kToday), writable);
            QCOMPARE(log.shown, QList<ShownMessage>(writable ? 0 : 3, {201, 14, MessageIcon::Warning}));
            const Settings& s = session.settings;
            QCOMPARE((QList<int>{s.analysis.valid, s.physicians.valid, s.analysis.sysThreshold1,
                                 s.physicians.selectedPhysician}),
                     (QList<int>{1, 1, 140, -1}));
        }
        KS318_COMPARE_GOLDEN(settingsFiles(dir.path()), "settings-default.txt");
        QVERIFY(!QFile::exists(dir.filePath("no")));
    }

    // The fields at the offsets of the hand-worked settings-layout.txt, the
    // hex dumps as the catch-all, and the settings read back.
    void filledSettingsWriteExactBytesAndReadBack()
    {
        QTemporaryDir dir;
        Session session;
        QVERIFY(loadSettings(session, dir.path(), nullptr, kToday));
        // Every field of the three files set, most of them away from their defaults.
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
        const QByteArray d = readFile(dir.filePath("data.d"));
        const QByteArray m = readFile(dir.filePath("data.m"));
        const QByteArray o = readFile(dir.filePath("data.o"));
        const QStringList wrong = layoutMismatches("settings-layout.txt", {{"data.d", d}, {"data.d block", d.mid(6)},
                                                                          {"data.m", m}, {"data.m block", m.mid(8)},
                                                                          {"data.o", o}});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        KS318_COMPARE_GOLDEN(settingsFiles(dir.path()), "settings-filled.txt");

        Session again;
        QVERIFY(loadSettings(again, dir.path(), nullptr, QDate(2030, 1, 1)));
        QVERIFY(again.settings.analysis.pack() == s.analysis.pack());
        QVERIFY(again.settings.physicians.pack() == s.physicians.pack());
        QCOMPARE(again.settings.facility.facilityName.toQString(), QStringLiteral("港中央クリニック"));
        QCOMPARE(again.settings.facility.printFacilityName, 1);
        QCOMPARE(again.state.defaultBpMode, BpMode::KorotkoffOnly);
    }

    // "data.d S1 D1 S2 D2": the thresholds stored (alternate set 5 and 400,
    // type 30), read; "damaged FILE BYTES" (see settings-read.txt); "data.o
    // TEXT": the file, the name and switch read, and the file written back.
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
                              : written.toHex(' '))
                       + (same ? "" : ", read again differs");
            }
            const QList<QByteArray> t = line.split(' ');
            const QString file = QString::fromLatin1(t[0] == "damaged" ? t[1] : t[0]);
            QByteArray bytes;
            if (t[0] == "damaged") {
                const QByteArray block = formatDataD(AnalysisSettings()).mid(6, 152);
                const QList<QByteArray> pieces = line.mid(15).replace('}', '{').split('{');
                for (qsizetype i = 0; i < pieces.size(); ++i) {
                    const int n = pieces[i].mid(pieces[i].indexOf(' ') + 1).toInt();
                    bytes += i % 2 == 0                     ? unescaped(pieces[i])
                             : pieces[i].startsWith("block") ? block.left(n)
                                                             : QByteArray(n, '\0');
                }
                session.settings.analysis.sysThreshold1 = 155;
                session.settings.analysis.diaThreshold1 = 95;
                session.settings.physicians.selectedPhysician = 7;
            } else {
                AnalysisSettings stored;
                stored.altSysThreshold1 = 5;
                stored.altDiaThreshold2 = 400;
                stored.recorderType = 30;
                std::tie(stored.sysThreshold1, stored.diaThreshold1, stored.sysThreshold2, stored.diaThreshold2) =
                    std::tuple(t[1].toInt(), t[2].toInt(), t[3].toInt(), t[4].toInt());
                bytes = formatDataD(stored);
            }
            writeFile(dir.filePath(file), bytes);
            const bool read = file == "data.m" ? readDataM(session, &log) : readDataD(session, &log, kToday);
            const PhysicianList& m = session.settings.physicians;
            const QString values = file == "data.m"
                                       ? QString::asprintf("physician %d, valid %d", m.selectedPhysician, m.valid)
                                       : QString::asprintf("%d %d %d %d, alternate %d %d, type %d, valid %d",
                                                           s.sysThreshold1, s.diaThreshold1, s.sysThreshold2,
                                                           s.diaThreshold2, s.altSysThreshold1, s.altDiaThreshold2,
                                                           s.recorderType, s.valid);
            return (read ? "" : "not read, ") + values.toUtf8() + ", messages " + QByteArray::number(log.shown.size())
                   + (readFile(dir.filePath(file)) == bytes ? "" : ", file changed");
        });
    }

    void steps_data() { dataRows("roster-steps.txt", {"script", "rows", "listIndex", "selected"}); }

    void steps()
    {
        PhysicianList slots;
        slots.valid = 1;
        slots.selectedPhysician = 7;
        PhysicianRoster roster(slots);
        std::size_t read = 0;
        for (const QString& step : cell("script").split(QLatin1Char(' '))) {
            if (step.startsWith(QLatin1Char('#'))) {
                slots.entries[read].used = 1;
                slots.entries[read++].displayName.setQString(step.mid(1));
                roster.build();
            } else if (step.startsWith(QLatin1Char('+'))) {
                roster.save(true, -1, {step.mid(1), QStringLiteral("Given"), {}, {}});
            } else if (step.startsWith(QLatin1Char('-'))) {
                roster.remove(step.mid(1).toInt());
            } else if (step.startsWith(QLatin1String("ok"))) {
                roster.choose(step.mid(2).toInt());
            } else {
                const QStringList edit = step.split(QLatin1Char('='));
                QVERIFY(roster.save(false, edit[0].toInt(), {edit[1], {}, {}, {}}) >= 0);
            }
        }
        QCOMPARE(roster.rows().join(QLatin1Char(' ')), cell("rows"));
        QCOMPARE(slots.selectedPhysician, cell("selected").toInt());
        // In step: each used slot's row shows its name, each row one slot.
        QStringList indexes;
        QSet<int> shown;
        for (const PhysicianSlot& slot : slots.entries) {
            indexes << (slot.used ? QString::number(slot.listIndex) : QStringLiteral("-"));
            if (slot.used) {
                QCOMPARE(roster.rows().value(slot.listIndex), slot.displayName.toQString());
                shown.insert(slot.listIndex);
            }
        }
        QCOMPARE(shown.size(), roster.rowCount());
        const QString listIndex = cell("listIndex");
        QCOMPARE(indexes.mid(0, listIndex.isEmpty() ? 0 : listIndex.count(' ') + 1).join(' '), listIndex);
    }

    // The 51st entry is ignored; a data.m that was not read stores nothing.
    void nothingStored()
    {
        PhysicianList slots;
        PhysicianRoster roster(slots);
        QCOMPARE(roster.save(true, -1, {QStringLiteral("Abe"), {}, {}, {}}), -1);
        slots.valid = 1;
        for (int i = 0; i < 50; ++i)
            QCOMPARE(roster.save(true, -1, {QString::asprintf("P%02d", i), {}, {}, {}}), i);
        QCOMPARE(roster.save(true, -1, {QStringLiteral("Aaron"), {}, {}, {}}), -1);
        QCOMPARE(roster.rows().first(), QStringLiteral("P00"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
