#pragma once
#include <cstdint>

namespace ks318 {

// The model of recorder that produced a data file, from the model id that
// opens its first record line.
enum class RecorderType : std::int32_t {
    Ks318 = 70,   // "KS-318  70": the home/clinic monitor, oscillometric only
    Rv5730 = 30,  // "RV5730  30": ambulatory, oscillometric only
    Rv5721 = 21,  // "RV5721  40": ambulatory, Korotkoff and oscillometric
    Rv5720 = 20,  // any other first record line: ambulatory, Korotkoff only
    Rv5725 = 25,  // set only by the legacy patient-file conversion (48 hours)
};

inline int code(RecorderType t) { return static_cast<int>(t); }

// Which measurement method supplies a reading's displayed values.
enum class BpMode : std::int32_t {
    OscillometricOnly = 0,
    OscillometricThenKorotkoff = 1,
    KorotkoffOnly = 2,
    KorotkoffThenOscillometric = 3,
};

inline int code(BpMode m) { return static_cast<int>(m); }
inline bool isValidBpMode(int m) { return m >= 0 && m <= 3; }

constexpr int kMaxReadings = 1828;          // readings a recording holds at most
constexpr int kMaxWindowDays = 1828;        // length of the open analysis window
constexpr int kMaxCommentBytes = 29;        // a reading's comment, NUL excluded
constexpr int kFirstBpModeStringId = 4;     // string ids 4..7 name the BpModes

enum PeriodClass : std::uint8_t { PeriodNone = 0, PeriodAwake = 3, PeriodAsleep = 4 };
enum WindowMembership : std::uint8_t { OutsideWindows = 0, InWindow1 = 1, InWindows1And2 = 2 };

} // namespace ks318
