#pragma once
// The three records a recording's companion file stores raw, byte for byte.
// Each packs to and unpacks from its exact little-endian layout.
#include "textfield.h"

#include <array>
#include <cstdint>

namespace ks318 {

struct PatientRecord {
    static constexpr std::size_t kSize = 900;

    std::uint32_t valid = 0;            // 1 after a successful read of the companion file
    std::uint8_t recordingHours = 0;    // 24 or 48
    std::uint8_t recorderType = 0;      // RecorderType code
    TextField<21> startDateText;        // first reading's date, short date format
    TextField<11> startTimeText;        // first reading's hour as "hh:00"
    std::uint8_t recorderId = 0;
    TextField<21> patientName;
    TextField<51> patientAddress;
    TextField<21> patientPhone;
    TextField<63> physicianName;
    TextField<51> physicianAddress;
    TextField<21> physicianPhone;
    TextField<21> socialSecurityNumber;
    TextField<41> insurance;
    TextField<21> medicareNumber;
    TextField<11> age;
    TextField<11> sex;
    TextField<11> height;
    TextField<11> weight;
    TextField<61> medications;
    TextField<401> comments;
    TextField<11> day1SleepTime;        // "hh:nn" or empty
    TextField<11> day1WakeTime;
    TextField<11> day2SleepTime;
    TextField<11> day2WakeTime;

    std::array<std::uint8_t, kSize> pack() const;
    // Unpacks and forces a NUL at offsets 59, 194, 454 and 855.
    static PatientRecord unpack(const std::uint8_t* bytes);
};

struct ScrollSetting {
    std::uint32_t position = 0;
    std::uint32_t minimum = 0;
    std::uint32_t maximum = 0;
    std::uint32_t largeStep = 0;
    std::uint32_t smallStep = 0;
};

struct AnalysisIntervals {
    static constexpr std::size_t kSize = 144;

    std::uint32_t valid = 0;
    std::uint32_t interval1DayOffset = 0;
    double interval1StartDate = 0;     // whole days
    std::uint32_t reserved = 0;
    std::uint32_t interval2DayOffset = 0;
    double interval2StartDate = 0;
    double interval1StartTime = 0;     // fraction of a day
    std::uint32_t interval1Hours = 0;
    double interval2StartTime = 0;
    std::uint32_t interval2Hours = 0;
    // Interval-1 start offset, interval-1 length, interval-2 start offset,
    // interval-2 length, each in hours.
    std::array<ScrollSetting, 4> scroll{};

    std::array<std::uint8_t, kSize> pack() const;
    static AnalysisIntervals unpack(const std::uint8_t* bytes);

    // The record written on a file's first opening: both intervals start at
    // the first reading's date at its hour (minute 0) and last `hours`.
    static AnalysisIntervals defaults(int year, int month, int day, int hour, std::uint32_t hours);
};

struct SpanPoint {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    double date = 0;          // day count
    double timeOfDay = 0;     // fraction of a day
};

struct RecordingSpan {
    static constexpr std::size_t kSize = 56;

    std::uint32_t valid = 0;
    SpanPoint first;
    SpanPoint last;

    std::array<std::uint8_t, kSize> pack() const;
    static RecordingSpan unpack(const std::uint8_t* bytes);
};

// The default interval length in hours written on first opening.
std::uint32_t defaultIntervalHours(double firstDate, int firstHour, double lastDate, int lastHour);

} // namespace ks318
