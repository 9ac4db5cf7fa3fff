#pragma once
// Report formats: which pages a full report prints and with which BP mode.
// A format is a fixed 180-byte record; the program keeps 27 of them in a
// table with a validity flag and the index of the selected one. Slot 0 holds
// the built-in format, which the mini and patient reports rewrite for their
// run.
#include "records/textfield.h"

#include <array>
#include <cstdint>

namespace ks318 {

struct ReportFormat {
    static constexpr std::size_t kSize = 180;

    std::uint8_t inUse = 0;         // 1 when the slot holds a named format
    TextField<81> name;             // shown in the format list
    TextField<81> heading;          // printed at the top of the pages
    std::uint8_t bpMode = 0;        // BpMode the report fills its data with
    std::uint8_t patientPage = 0;
    std::uint8_t summaryPage = 0;
    std::uint8_t readingsPage = 0;
    std::uint8_t bpTrend = 0;       // BP panel on the trend page
    std::uint8_t dpTrend = 0;       // double-product panel on the trend page
    std::uint8_t correlation = 0;
    std::uint8_t histogram = 0;

    // Offsets 0 inUse, 9 name, 90 heading, 171 bpMode, 172..178 the page
    // flags; the other bytes are zero.
    std::array<std::uint8_t, kSize> pack() const;
    static ReportFormat unpack(const std::uint8_t* bytes);

    // The built-in format: every page but the double-product panel, BP mode 0.
    static ReportFormat builtIn();

    bool operator==(const ReportFormat& o) const { return pack() == o.pack(); }
    bool operator!=(const ReportFormat& o) const { return !(*this == o); }
};

struct ReportFormatTable {
    static constexpr int kSlots = 27;

    bool valid = true;
    int selectedIndex = 0;
    int defaultIndex = 0;     // the slot recorded as the default in the format dialog
    std::array<ReportFormat, kSlots> slots{};

    // The state at start: valid, slot 0 selected and holding the built-in
    // format, the other slots empty.
    ReportFormatTable();

    ReportFormat& slot0() { return slots[0]; }
};

// A copy of slot 0 with the table's validity flag and selected index, set
// aside around a mini report and put back after it.
struct SavedSlot0 {
    bool valid = true;
    int selectedIndex = 0;
    ReportFormat slot;

    static SavedSlot0 of(const ReportFormatTable& table);
    void restore(ReportFormatTable& table) const;
};

} // namespace ks318
