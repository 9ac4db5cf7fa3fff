#include "records.h"

#include "bytes.h"
#include "daycount.h"

#include <algorithm>

namespace ks318 {

namespace {

// Visits the text fields of a PatientRecord with their offsets, in layout order.
template <typename Record, typename F>
void forEachPatientText(Record& r, F&& f)
{
    f(6, r.startDateText);
    f(27, r.startTimeText);
    f(39, r.patientName);
    f(60, r.patientAddress);
    f(111, r.patientPhone);
    f(132, r.physicianName);
    f(195, r.physicianAddress);
    f(246, r.physicianPhone);
    f(267, r.socialSecurityNumber);
    f(288, r.insurance);
    f(329, r.medicareNumber);
    f(350, r.age);
    f(361, r.sex);
    f(372, r.height);
    f(383, r.weight);
    f(394, r.medications);
    f(455, r.comments);
    f(856, r.day1SleepTime);
    f(867, r.day1WakeTime);
    f(878, r.day2SleepTime);
    f(889, r.day2WakeTime);
}

void putPoint(std::uint8_t* p, const SpanPoint& s, std::size_t dateOffset)
{
    le::putU16(p, s.year);
    p[2] = s.month;
    p[3] = s.day;
    p[4] = s.hour;
    p[5] = s.minute;
    le::putF64(p + dateOffset, s.date);
    le::putF64(p + dateOffset + 8, s.timeOfDay);
}

SpanPoint getPoint(const std::uint8_t* p, std::size_t dateOffset)
{
    SpanPoint s;
    s.year = le::getU16(p);
    s.month = p[2];
    s.day = p[3];
    s.hour = p[4];
    s.minute = p[5];
    s.date = le::getF64(p + dateOffset);
    s.timeOfDay = le::getF64(p + dateOffset + 8);
    return s;
}

} // namespace

std::array<std::uint8_t, PatientRecord::kSize> PatientRecord::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    le::putU32(out.data(), valid);
    out[4] = recordingHours;
    out[5] = recorderType;
    out[38] = recorderId;
    forEachPatientText(*this, [&](std::size_t offset, const auto& field) { field.storeRaw(out.data() + offset); });
    return out;
}

PatientRecord PatientRecord::unpack(const std::uint8_t* bytes)
{
    PatientRecord r;
    r.valid = le::getU32(bytes);
    r.recordingHours = bytes[4];
    r.recorderType = bytes[5];
    r.recorderId = bytes[38];
    forEachPatientText(r, [&](std::size_t offset, auto& field) { field.loadRaw(bytes + offset); });
    // The last bytes of the patient name, physician name, medications and
    // comments are forced to NUL.
    r.patientName.setRawByte(59 - 39, 0);
    r.physicianName.setRawByte(194 - 132, 0);
    r.medications.setRawByte(454 - 394, 0);
    r.comments.setRawByte(855 - 455, 0);
    return r;
}

std::array<std::uint8_t, AnalysisIntervals::kSize> AnalysisIntervals::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    std::uint8_t* p = out.data();
    le::putU32(p + 0, valid);
    le::putU32(p + 4, interval1DayOffset);
    le::putF64(p + 8, interval1StartDate);
    le::putU32(p + 16, reserved);
    le::putU32(p + 20, interval2DayOffset);
    le::putF64(p + 24, interval2StartDate);
    le::putF64(p + 32, interval1StartTime);
    le::putU32(p + 40, interval1Hours);
    le::putF64(p + 48, interval2StartTime);
    le::putU32(p + 56, interval2Hours);
    for (std::size_t g = 0; g < scroll.size(); ++g) {
        std::uint8_t* s = p + 60 + g * 20;
        le::putU32(s + 0, scroll[g].position);
        le::putU32(s + 4, scroll[g].minimum);
        le::putU32(s + 8, scroll[g].maximum);
        le::putU32(s + 12, scroll[g].largeStep);
        le::putU32(s + 16, scroll[g].smallStep);
    }
    return out;
}

AnalysisIntervals AnalysisIntervals::unpack(const std::uint8_t* p)
{
    AnalysisIntervals r;
    r.valid = le::getU32(p + 0);
    r.interval1DayOffset = le::getU32(p + 4);
    r.interval1StartDate = le::getF64(p + 8);
    r.reserved = le::getU32(p + 16);
    r.interval2DayOffset = le::getU32(p + 20);
    r.interval2StartDate = le::getF64(p + 24);
    r.interval1StartTime = le::getF64(p + 32);
    r.interval1Hours = le::getU32(p + 40);
    r.interval2StartTime = le::getF64(p + 48);
    r.interval2Hours = le::getU32(p + 56);
    for (std::size_t g = 0; g < r.scroll.size(); ++g) {
        const std::uint8_t* s = p + 60 + g * 20;
        r.scroll[g] = {le::getU32(s), le::getU32(s + 4), le::getU32(s + 8), le::getU32(s + 12), le::getU32(s + 16)};
    }
    return r;
}

AnalysisIntervals AnalysisIntervals::defaults(int year, int month, int day, int hour, std::uint32_t hours)
{
    AnalysisIntervals r;
    r.interval1StartDate = r.interval2StartDate = encodeDate(year, month, day);
    r.interval1StartTime = r.interval2StartTime = encodeTime(hour, 0);
    r.interval1Hours = r.interval2Hours = hours;
    const std::uint32_t n = hours;
    const ScrollSetting offset{0, 0, n - 1, std::max<std::uint32_t>(1, (n - 1) / 4), 1};
    const ScrollSetting length{n, 1, n, std::max<std::uint32_t>(1, n / 4), 1};
    r.scroll = {offset, length, offset, length};
    return r;
}

std::array<std::uint8_t, RecordingSpan::kSize> RecordingSpan::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    le::putU32(out.data(), valid);
    putPoint(out.data() + 4, first, 12);
    putPoint(out.data() + 32, last, 8);
    return out;
}

RecordingSpan RecordingSpan::unpack(const std::uint8_t* p)
{
    RecordingSpan r;
    r.valid = le::getU32(p);
    r.first = getPoint(p + 4, 12);
    r.last = getPoint(p + 32, 8);
    return r;
}

std::uint32_t defaultIntervalHours(double firstDate, int firstHour, double lastDate, int lastHour)
{
    const long long days = static_cast<long long>(lastDate) - static_cast<long long>(firstDate);
    const long long hours = days * 24 + lastHour + 1 - firstHour;
    return hours < 1 ? 1u : static_cast<std::uint32_t>(hours);
}

} // namespace ks318
