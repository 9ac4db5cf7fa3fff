#pragma once
// Record layouts of older patient files, read only to convert them:
// - the sections a legacy converter writes into NAME.tmp (LegacyPatient,
//   LegacyIntervals, LegacySpan), and
// - the older section sizes of a companion file (1100-byte patient record,
//   80-byte interval record).
#include "records.h"
#include "textfield.h"

#include <array>
#include <cstdint>

namespace ks318 {

// The patient record of NAME.tmp. Its texts keep the older, wider fields.
struct LegacyPatient {
    static constexpr std::size_t kSize = 1096;  // 1095 bytes of fields, one of padding

    std::uint16_t valid = 0;
    std::uint8_t recordingHours = 0;
    std::uint8_t recorderType = 0;
    TextField<21> startDateText;
    TextField<11> startTimeText;
    std::uint8_t recorderId = 0;
    TextField<81> patientName;
    TextField<51> patientAddress;
    TextField<21> patientPhone;
    TextField<81> physicianName;
    TextField<51> physicianAddress;
    TextField<21> physicianPhone;
    TextField<21> socialSecurityNumber;
    TextField<41> insurance;
    TextField<21> medicareNumber;
    TextField<11> age;
    TextField<11> sex;
    TextField<11> height;
    TextField<11> weight;
    TextField<81> medications;
    TextField<500> comments;
    TextField<11> day1SleepTime;   // "hhmm"
    TextField<11> day1WakeTime;
    TextField<11> day2SleepTime;
    TextField<11> day2WakeTime;

    std::array<std::uint8_t, kSize> pack() const;
    // The NAME.tmp layout: a 16-bit valid, the fields from byte 2.
    static LegacyPatient unpack(const std::uint8_t* bytes);
    // The 1100-byte companion section: a 32-bit valid, the same fields from byte 4.
    static LegacyPatient unpackOld(const std::uint8_t* bytes);

    // Copies hours, type, id and every text into `record`, each cut to the
    // capacity of its new field. The valid flag is left alone.
    void copyInto(PatientRecord& record) const;
};

constexpr std::size_t kOldPatientSize = 1100;
constexpr std::size_t kOldIntervalsSize = 80;

// The 80-byte interval record of older companion files, widened.
AnalysisIntervals unpackOldIntervals(const std::uint8_t* bytes);

struct LegacyDate {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
};

// The interval record of NAME.tmp (start dates as fields, whole hours).
struct LegacyIntervals {
    static constexpr std::size_t kSize = 42;

    std::uint16_t valid = 0;
    std::uint8_t interval1DayOffset = 0;
    LegacyDate interval1Start;
    std::uint8_t interval1Hour = 0;
    std::uint8_t reserved = 0;
    std::uint8_t interval2DayOffset = 0;
    LegacyDate interval2Start;
    std::uint8_t interval2Hour = 0;
    std::uint8_t interval1Hours = 0;
    std::uint8_t interval2Hours = 0;
    // Four groups of five: position, minimum, maximum, large step, small step.
    std::array<std::uint8_t, 20> scroll{};

    std::array<std::uint8_t, kSize> pack() const;
    static LegacyIntervals unpack(const std::uint8_t* bytes);
};

struct LegacySpanPoint {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
};

// The first and last reading in NAME.tmp.
struct LegacySpan {
    static constexpr std::size_t kSize = 14;

    std::uint16_t valid = 0;
    LegacySpanPoint first;
    LegacySpanPoint last;

    std::array<std::uint8_t, kSize> pack() const;
    static LegacySpan unpack(const std::uint8_t* bytes);
};

} // namespace ks318
