#include "legacyrecords.h"

#include "bytes.h"

namespace ks318 {

namespace {

// The fields after the valid flag, at their offsets from the end of the flag.
template <typename Record, typename F>
void forEachLegacyText(Record& r, F&& f)
{
    f(2, r.startDateText);
    f(23, r.startTimeText);
    f(35, r.patientName);
    f(116, r.patientAddress);
    f(167, r.patientPhone);
    f(188, r.physicianName);
    f(269, r.physicianAddress);
    f(320, r.physicianPhone);
    f(341, r.socialSecurityNumber);
    f(362, r.insurance);
    f(403, r.medicareNumber);
    f(424, r.age);
    f(435, r.sex);
    f(446, r.height);
    f(457, r.weight);
    f(468, r.medications);
    f(549, r.comments);
    f(1049, r.day1SleepTime);
    f(1060, r.day1WakeTime);
    f(1071, r.day2SleepTime);
    f(1082, r.day2WakeTime);
}

LegacyPatient unpackFields(const std::uint8_t* fields)
{
    LegacyPatient r;
    r.recordingHours = fields[0];
    r.recorderType = fields[1];
    r.recorderId = fields[34];
    forEachLegacyText(r, [&](std::size_t offset, auto& field) { field.loadRaw(fields + offset); });
    return r;
}

template <std::size_t To, std::size_t From>
void copyCut(TextField<To>& to, const TextField<From>& from)
{
    to.assign(from.view());
}

void putDate(std::uint8_t* p, const LegacyDate& d)
{
    le::putU16(p, d.year);
    p[2] = d.month;
    p[3] = d.day;
}

LegacyDate getDate(const std::uint8_t* p)
{
    return LegacyDate{le::getU16(p), p[2], p[3]};
}

void putPoint(std::uint8_t* p, const LegacySpanPoint& s)
{
    le::putU16(p, s.year);
    p[2] = s.month;
    p[3] = s.day;
    p[4] = s.hour;
    p[5] = s.minute;
}

LegacySpanPoint getPoint(const std::uint8_t* p)
{
    return LegacySpanPoint{le::getU16(p), p[2], p[3], p[4], p[5]};
}

} // namespace

std::array<std::uint8_t, LegacyPatient::kSize> LegacyPatient::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    le::putU16(out.data(), valid);
    std::uint8_t* fields = out.data() + 2;
    fields[0] = recordingHours;
    fields[1] = recorderType;
    fields[34] = recorderId;
    forEachLegacyText(*this, [&](std::size_t offset, const auto& field) { field.storeRaw(fields + offset); });
    return out;
}

LegacyPatient LegacyPatient::unpack(const std::uint8_t* bytes)
{
    LegacyPatient r = unpackFields(bytes + 2);
    r.valid = le::getU16(bytes);
    return r;
}

LegacyPatient LegacyPatient::unpackOld(const std::uint8_t* bytes)
{
    LegacyPatient r = unpackFields(bytes + 4);
    r.valid = static_cast<std::uint16_t>(le::getU32(bytes) != 0);
    return r;
}

void LegacyPatient::copyInto(PatientRecord& p) const
{
    p.recordingHours = recordingHours;
    p.recorderType = recorderType;
    p.recorderId = recorderId;
    copyCut(p.startDateText, startDateText);
    copyCut(p.startTimeText, startTimeText);
    copyCut(p.patientName, patientName);
    copyCut(p.patientAddress, patientAddress);
    copyCut(p.patientPhone, patientPhone);
    copyCut(p.physicianName, physicianName);
    copyCut(p.physicianAddress, physicianAddress);
    copyCut(p.physicianPhone, physicianPhone);
    copyCut(p.socialSecurityNumber, socialSecurityNumber);
    copyCut(p.insurance, insurance);
    copyCut(p.medicareNumber, medicareNumber);
    copyCut(p.age, age);
    copyCut(p.sex, sex);
    copyCut(p.height, height);
    copyCut(p.weight, weight);
    copyCut(p.medications, medications);
    copyCut(p.comments, comments);
    copyCut(p.day1SleepTime, day1SleepTime);
    copyCut(p.day1WakeTime, day1WakeTime);
    copyCut(p.day2SleepTime, day2SleepTime);
    copyCut(p.day2WakeTime, day2WakeTime);
}

AnalysisIntervals unpackOldIntervals(const std::uint8_t* p)
{
    AnalysisIntervals r;
    r.valid = le::getU32(p + 0);
    r.interval1DayOffset = le::getU32(p + 4);
    r.interval1StartDate = le::getF64(p + 8);
    r.reserved = p[16];
    r.interval2DayOffset = p[17];
    r.interval2StartDate = le::getF64(p + 24);
    r.interval1StartTime = le::getF64(p + 32);
    r.interval1Hours = le::getU32(p + 40);
    r.interval2StartTime = le::getF64(p + 48);
    r.interval2Hours = p[56];
    for (std::size_t g = 0; g < r.scroll.size(); ++g) {
        const std::uint8_t* s = p + 57 + g * 5;
        r.scroll[g] = {s[0], s[1], s[2], s[3], s[4]};
    }
    return r;
}

std::array<std::uint8_t, LegacyIntervals::kSize> LegacyIntervals::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    std::uint8_t* p = out.data();
    le::putU16(p, valid);
    p[2] = interval1DayOffset;
    putDate(p + 4, interval1Start);
    p[8] = interval1Hour;
    p[10] = reserved;
    p[11] = interval2DayOffset;
    putDate(p + 12, interval2Start);
    p[16] = interval2Hour;
    p[18] = interval1Hours;
    p[19] = interval2Hours;
    for (std::size_t i = 0; i < scroll.size(); ++i)
        p[22 + i] = scroll[i];
    return out;
}

LegacyIntervals LegacyIntervals::unpack(const std::uint8_t* p)
{
    LegacyIntervals r;
    r.valid = le::getU16(p);
    r.interval1DayOffset = p[2];
    r.interval1Start = getDate(p + 4);
    r.interval1Hour = p[8];
    r.reserved = p[10];
    r.interval2DayOffset = p[11];
    r.interval2Start = getDate(p + 12);
    r.interval2Hour = p[16];
    r.interval1Hours = p[18];
    r.interval2Hours = p[19];
    for (std::size_t i = 0; i < r.scroll.size(); ++i)
        r.scroll[i] = p[22 + i];
    return r;
}

std::array<std::uint8_t, LegacySpan::kSize> LegacySpan::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    le::putU16(out.data(), valid);
    putPoint(out.data() + 2, first);
    putPoint(out.data() + 8, last);
    return out;
}

LegacySpan LegacySpan::unpack(const std::uint8_t* p)
{
    LegacySpan r;
    r.valid = le::getU16(p);
    r.first = getPoint(p + 2);
    r.last = getPoint(p + 8);
    return r;
}

} // namespace ks318
