#pragma once
// One recording as decoded from its BP data file. A block is allocated per use
// (a window, a report, an export), filled by the reader and then dropped, so
// its values always follow the current BpMode and analysis windows.
#include "daycount.h"
#include "textfield.h"
#include "types.h"

#include <array>
#include <cstdint>

namespace ks318 {

struct BpReading {
    std::uint8_t periodClass = PeriodNone;          // PeriodAwake / PeriodAsleep inside window 1
    std::uint8_t windowMembership = OutsideWindows; // WindowMembership

    // Oscillometric measurement.
    std::uint8_t oscPulsePressure = 0;  // SYS - DIA
    std::uint8_t oscDia = 0;
    std::uint8_t oscPulse = 0;
    std::uint8_t oscStatus = 0;         // bit 4: E flag
    std::uint8_t oscError = 0;          // 0..127, 0 = no error
    std::uint8_t oscExcluded = 0;       // bit 7 of the stored error byte

    // Korotkoff measurement.
    std::uint8_t korPulsePressure = 0;
    std::uint8_t korDia = 0;
    std::uint8_t korPulse = 0;
    std::uint8_t korStatus = 0;
    std::uint8_t korError = 0;
    std::uint8_t korExcluded = 0;

    std::uint32_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;

    // Values of the selected method; 0 for an error reading. MAP and the
    // double product are kept wide enough for any pair of byte values.
    std::uint32_t sys = 0;
    std::uint8_t dia = 0;
    std::uint16_t map = 0;
    std::uint8_t pulse = 0;
    std::uint16_t doubleProduct = 0;
    std::uint8_t method = 0;     // 0 oscillometric, 1 Korotkoff
    std::uint8_t errorCode = 0;  // of the displayed method, 0 = valid
    std::uint8_t excluded = 0;   // excluded from analysis by the user

    // Display texts, each with room for any value its field can take.
    TextField<6> sysText;
    TextField<6> diaText;
    TextField<6> mapText;
    TextField<6> pulseText;
    TextField<6> dpText;
    TextField<3> methodText;     // "O", "K", "*O", "*K"
    TextField<2> eFlagText;      // "E" or "-"
    TextField<4> errorText;      // "--" when valid
    TextField<2> excludedText;   // "X" excluded, "x" error reading, "-"
    TextField<kMaxCommentBytes + 1> comment;

    bool valid() const { return errorCode == 0 && excluded == 0; }
    std::int64_t minuteNumber() const { return ks318::minuteNumber(int(year), month, day, hour, minute); }
    // Date plus hour and minute as a day count.
    double dayCount() const { return encodeDate(int(year), month, day) + encodeTime(hour, minute); }
};

struct PeriodCounters {
    std::uint32_t readingCount = 0;     // every record line read
    std::uint32_t inWindow1 = 0;
    std::uint32_t inWindow2 = 0;
    std::uint32_t awakeInWindow1 = 0;
    std::uint32_t asleepInWindow1 = 0;
    std::uint32_t validTotal = 0;
    std::uint32_t validInWindow1 = 0;
    std::uint32_t validInWindow2 = 0;
    std::uint32_t validAwake = 0;
    std::uint32_t validAsleep = 0;
};

struct SessionData {
    std::uint32_t loaded = 0;          // 1 when the data file was found and read
    std::uint32_t recordingHours = 0;  // the reader sets 24
    std::uint8_t recorderId = 1;

    // Patient texts of the #PATIENT section.
    TextField<21> name;
    TextField<51> address;
    TextField<21> idNumber;
    TextField<21> phone;
    TextField<21> ssNumber;
    TextField<21> medicare;
    TextField<41> insurance;
    TextField<11> age;
    TextField<11> sex;
    TextField<11> height;
    TextField<11> weight;
    TextField<81> comment1;
    TextField<81> comment2;
    TextField<81> comment3;
    TextField<401> allComments;

    // Legacy sleep/wake texts ("hhmm"), filled only by the legacy conversion.
    TextField<11> day1Sleep;
    TextField<11> day1Wake;
    TextField<11> day2Sleep;
    TextField<11> day2Wake;

    TextField<81> bpModeName;

    std::array<BpReading, kMaxReadings> readings{};
    PeriodCounters counters;

    // Set when reading stopped at the reading cap while the file still held
    // something after it: the block is not the whole file, so it must never
    // be written back over it.
    bool unreadTail = false;

    std::uint32_t readingCount() const { return counters.readingCount; }
};

} // namespace ks318
