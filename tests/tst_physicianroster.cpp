// The physician list over the 50 slots of data.m: after every insert, edit
// and delete the rows stay sorted and every used slot's listIndex names the
// row that shows it.
#include "records/physicianroster.h"
#include "records/settings.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

class TestPhysicianRoster : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Steps and their outcomes: the hand-worked table roster-steps.txt.
    void steps_data() { test::dataRows("roster-steps.txt", {"script", "rows", "listIndex", "selected"}); }

    void steps()
    {
        QFETCH(QString, script);
        QFETCH(QString, rows);
        QFETCH(QString, listIndex);
        QFETCH(QString, selected);
        PhysicianList slots;
        slots.valid = 1;
        slots.selectedPhysician = 7;
        PhysicianRoster roster(slots);
        std::size_t read = 0;
        for (const QString& step : script.split(QLatin1Char(' '))) {
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
        QCOMPARE(roster.rows().join(QLatin1Char(' ')), rows);
        QCOMPARE(slots.selectedPhysician, selected.toInt());
        QStringList indexes;
        for (qsizetype i = 0; i < listIndex.count(QLatin1Char(' ')) + (listIndex.isEmpty() ? 0 : 1); ++i) {
            const PhysicianSlot& slot = slots.entries[std::size_t(i)];
            indexes << (slot.used ? QString::number(slot.listIndex) : QStringLiteral("-"));
        }
        QCOMPARE(indexes.join(QLatin1Char(' ')), listIndex);
        // In step: each used slot's row shows its name, each row one slot.
        QList<int> shown;
        for (const PhysicianSlot& slot : slots.entries) {
            if (slot.used) {
                QCOMPARE(roster.rows().value(slot.listIndex), slot.displayName.toQString());
                shown << slot.listIndex;
            }
        }
        std::sort(shown.begin(), shown.end());
        for (int row = 0; row < shown.size(); ++row)
            QCOMPARE(shown[row], row);
        QCOMPARE(shown.size(), roster.rowCount());
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

QTEST_GUILESS_MAIN(TestPhysicianRoster)
#include "tst_physicianroster.moc"
