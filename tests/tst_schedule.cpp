// The setup dialog's rules, each input with what comes out, against
// golden/schedule.txt: the settings block's six slots and the schedule sent
// back, leaving the hour box and the minute edit, the duplicate rule, the
// slot sent for the dialog's texts, the clock values and the date order.
#include "recorder/linkframes.h"
#include "recorder/schedule.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

class TstSchedule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rules()
    {
        QString t;
        const auto row = [&t](const char* rule, const QString& in, const QString& out) {
            t += QStringLiteral("%1 '%2' -> '%3'\n").arg(QLatin1String(rule), in, out);
        };
        const auto texts = [](const QString& s) { return SlotTexts{s.section('/', 0, 0), s.section('/', 1)}; };
        const auto shown = [](const SlotTexts& s) { return s.hour + QLatin1Char('/') + s.minute; };

        for (const char* block : {"00000000" "07000C1EFFFF1500FFFFFFFF" "3A",
                                  "00000000" "08FFFF000005173BFFFFFFFF" "00",
                                  "00000000" "0a0bFFFFFFFFFFFFFFFFFFFF" "00"}) {
            const Schedule schedule = slotsFromSettings(block);
            QStringList slots;
            int hours[6], minutes[6];
            for (int i = 0; i < 6; ++i) {
                slots << shown(textsOfSlot(schedule[std::size_t(i)]));
                hours[i] = schedule[std::size_t(i)].hour;
                minutes[i] = schedule[std::size_t(i)].minute;
            }
            row("block", QLatin1String(block), slots.join(QLatin1Char(' ')) + " sent back as "
                + QString::fromLatin1(scheduleDataPart(hours, minutes, block + 32)));
        }
        for (const char* typed : {"75", "60", "59", "10", "5", "0", "-3", "", "ab"})
            row("minute edit", QLatin1String(typed), leaveMinuteEdit(QLatin1String(typed)));
        for (const char* s : {"30/15", "-2/15", "/15", "off/0", "7/", "x/15"})
            row("hour box", QLatin1String(s), shown(leaveHourBox(texts(QLatin1String(s)))));
        for (const char* s : {"8/00 off/ off/ 8/00 off/ off/", "off/ off/ off/ off/ off/ off/",
                              "8/00 8/00 8/00 off/ off/ off/", "8/00 8/01 off/ off/ off/ off/",
                              "8/00 08/00 off/ off/ off/ off/", "7/00 8/00 off/ off/ 9/00 7/00",
                              "off/ 7/0 off/ 07/00 off/ 7/1", "off/0 off/ off/0 x/0 x/0 off/"}) {
            std::array<SlotTexts, kScheduleSlots> slots;
            const QStringList parts = QString::fromLatin1(s).split(QLatin1Char(' '));
            for (int i = 0; i < kScheduleSlots; ++i)
                slots[std::size_t(i)] = texts(parts[i]);
            QString marked;
            const auto duplicate = duplicateSlots(slots);
            for (int i = 0; i < kScheduleSlots; ++i)
                marked += duplicate[std::size_t(i)] ? QLatin1Char('X') : QLatin1Char('-');
            row("duplicates", QLatin1String(s), marked);
        }
        for (const char* s : {"7/05", "off/", "off/0", "7/", "300/10", "7/x"}) {
            const ScheduleSlot sent = slotFromTexts(texts(QLatin1String(s)));
            row("slot sent", QLatin1String(s), QStringLiteral("%1 %2").arg(sent.hour).arg(sent.minute));
        }
        for (const char* moment : {"2009-12-31T23:59", "1996-01-01T00:00", "1995-06-07T08:09", "2026-11-02T07:30"}) {
            const auto values = clockValuesFor(QDateTime::fromString(QLatin1String(moment), Qt::ISODate));
            row("clock", QLatin1String(moment), QString::fromLatin1(clockDataPart(values.data())));
        }
        for (const char* locale : {"ja_JP", "en_US", "de_DE"}) {
            const int order = dateOrderOf(QLocale(QLatin1String(locale)));
            row("date order", QLatin1String(locale),
                QString::number(order) + ' ' + dateTextInOrder(QDate(2009, 12, 31), order));
        }
        KS318_COMPARE_GOLDEN(t.toUtf8(), "schedule.txt");
    }
};

QTEST_GUILESS_MAIN(TstSchedule)
#include "tst_schedule.moc"
