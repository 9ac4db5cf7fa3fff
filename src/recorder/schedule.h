#pragma once
// The recorder's measurement schedule and clock as the setup dialog handles
// them: six daily slots read from the settings block, their texts in the
// dialog, the duplicate rule, and the values sent back.
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>

namespace ks318 {

constexpr int kScheduleSlots = 6;

struct ScheduleSlot {
    int hour = -1;      // -1: off
    int minute = -1;    // -1: off
    bool off() const { return hour == -1 || minute == -1; }
};
using Schedule = std::array<ScheduleSlot, kScheduleSlots>;

// The slots of a 34-character settings block: characters 8 + 4(n - 1) and on
// hold hour and minute of slot n as two hexadecimal digits each; FF in either
// marks the slot off.
Schedule slotsFromSettings(const char* settingsText);

// A slot as the dialog shows it: the hour box text ("off", or the hour in
// decimal) and the minute edit text (empty when off, else two digits).
struct SlotTexts {
    QString hour;
    QString minute;
    bool operator==(const SlotTexts& o) const { return hour == o.hour && minute == o.minute; }
};
SlotTexts textsOfSlot(const ScheduleSlot& slot);

// Leaving an hour box: a number is kept within 0..23; an empty box becomes
// "off" and empties the minute; otherwise an empty minute becomes "00".
// Text that is not a number counts as "off".
SlotTexts leaveHourBox(const SlotTexts& texts);

// Leaving a minute edit (or clicking its up-down): empty gives "00", below 0
// "00", 0-9 a leading "0", 10-59 unchanged, 60 and above "59". Text that is
// not a number gives "00".
QString leaveMinuteEdit(const QString& text);

// Slots 2 to 6 that repeat an earlier slot's time, compared as the numbers
// sent (see slotFromTexts), so "07"/"0" repeats "7"/"00"; off slots never
// count.
std::array<bool, kScheduleSlots> duplicateSlots(const std::array<SlotTexts, kScheduleSlots>& texts);

// The slot sent for the dialog's texts: both texts non-empty and numeric give
// their values (each modulo 256), anything else is off. An hour box reading
// "off" is off whatever its minute edit holds.
ScheduleSlot slotFromTexts(const SlotTexts& texts);

// The five clock values of a moment: year - 1900 (100 more when below 96),
// month, day, hour, minute.
std::array<int, 5> clockValuesFor(const QDateTime& moment);

// The date order of a locale's short date format: 0 month/day/year,
// 1 day/month/year, 2 year/month/day.
int dateOrderOf(const QLocale& locale);

// A date as the setup dialog shows it in `dateOrder`: "mm/dd/yyyy",
// "dd/mm/yyyy" or "yyyy/mm/dd".
QString dateTextInOrder(const QDate& date, int dateOrder);

} // namespace ks318
