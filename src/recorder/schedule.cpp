#include "schedule.h"

#include "records/bpdatafile.h"

namespace ks318 {

namespace {

bool toInt(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

bool isOff(const QString& hourText)
{
    return hourText.isEmpty() || hourText == QLatin1String("off");
}

} // namespace

Schedule slotsFromSettings(const char* settingsText)
{
    Schedule schedule;
    for (int n = 0; n < kScheduleSlots; ++n) {
        const char* p = settingsText + 8 + 4 * n;
        const int hour = int(parseHex(p, 2));
        const int minute = int(parseHex(p + 2, 2));
        if (hour == 255 || minute == 255)
            schedule[std::size_t(n)] = ScheduleSlot{};
        else
            schedule[std::size_t(n)] = ScheduleSlot{hour, minute};
    }
    return schedule;
}

SlotTexts textsOfSlot(const ScheduleSlot& slot)
{
    if (slot.off())
        return {QStringLiteral("off"), QString()};
    return {QString::number(slot.hour), QString::asprintf("%02d", slot.minute)};
}

SlotTexts leaveHourBox(const SlotTexts& texts)
{
    SlotTexts out = texts;
    if (!isOff(out.hour)) {
        int value = 0;
        if (!toInt(out.hour, value))
            out.hour = QStringLiteral("off");
        else if (value < 0)
            out.hour = QStringLiteral("0");
        else if (value > 23)
            out.hour = QStringLiteral("23");
    }
    if (isOff(out.hour)) {
        out.hour = QStringLiteral("off");
        out.minute.clear();
    } else if (out.minute.isEmpty()) {
        out.minute = QStringLiteral("00");
    }
    return out;
}

QString leaveMinuteEdit(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("00");
    int value = 0;
    if (!toInt(text, value) || value < 0)
        return QStringLiteral("00");
    if (value <= 9)
        return QStringLiteral("0") + QString::number(value);
    if (value <= 59)
        return text;
    return QStringLiteral("59");
}

std::array<bool, kScheduleSlots> duplicateSlots(const std::array<SlotTexts, kScheduleSlots>& texts)
{
    // Compared as the times sent: "7" and "07", "0" and "00" are one time.
    std::array<ScheduleSlot, kScheduleSlots> sent;
    for (std::size_t k = 0; k < texts.size(); ++k)
        sent[k] = slotFromTexts(texts[k]);
    std::array<bool, kScheduleSlots> duplicate{};
    for (std::size_t k = 1; k < texts.size(); ++k) {
        if (sent[k].off())
            continue;
        for (std::size_t j = 0; j < k; ++j) {
            if (!sent[j].off() && sent[j].hour == sent[k].hour && sent[j].minute == sent[k].minute) {
                duplicate[k] = true;
                break;
            }
        }
    }
    return duplicate;
}

ScheduleSlot slotFromTexts(const SlotTexts& texts)
{
    if (texts.hour.isEmpty() || texts.minute.isEmpty() || texts.hour == QLatin1String("off"))
        return {};
    int hour = 0;
    int minute = 0;
    if (!toInt(texts.hour, hour) || !toInt(texts.minute, minute))
        return {};
    return {hour & 0xFF, minute & 0xFF};
}

std::array<int, 5> clockValuesFor(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    int year = d.year() - 1900;
    if (year < 96)
        year += 100;
    return {year, d.month(), d.day(), t.hour(), t.minute()};
}

int dateOrderOf(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    if (y < 0 || m < 0 || d < 0)
        return 0;
    if (y < m && m < d)
        return 2;
    if (d < m)
        return 1;
    return 0;
}

QString dateTextInOrder(const QDate& date, int dateOrder)
{
    switch (dateOrder) {
    case 1: return date.toString(QStringLiteral("dd/MM/yyyy"));
    case 2: return date.toString(QStringLiteral("yyyy/MM/dd"));
    default: return date.toString(QStringLiteral("MM/dd/yyyy"));
    }
}

} // namespace ks318
