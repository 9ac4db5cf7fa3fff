#pragma once
// The program's settings, kept in three files in the start directory:
// data.d (analysis and communication settings), data.m (the physician list)
// and data.o (the facility name printed on reports). They are read once at
// start, changed in memory by their dialogs and written back at exit.
#include "textfield.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>

namespace ks318 {

class Recording;
struct MessageSink;

// The data.d block.
struct AnalysisSettings {
    static constexpr std::size_t kSize = 152;

    std::int32_t valid = 0;             // 1 in memory once read or created
    std::int32_t defaultBpMode = 0;     // BpMode
    std::int32_t sysThreshold1 = 140;   // daytime (awake), mmHg
    std::int32_t diaThreshold1 = 90;
    std::int32_t sysThreshold2 = 120;   // night-time (asleep)
    std::int32_t diaThreshold2 = 70;
    std::int32_t altSysThreshold1 = 100;  // the alternate set is kept, never used
    std::int32_t altDiaThreshold1 = 60;
    std::int32_t altSysThreshold2 = 90;
    std::int32_t altDiaThreshold2 = 50;
    std::int32_t serialPortNumber = 1;  // 1 = first port
    TextField<16> serialPortName{"COM1"};
    std::int32_t recorderType = 70;
    TextField<84> referenceDateText;    // short date format
    std::int32_t createCsvFile = 1;     // 1 = data retrieval also writes NAME.csv

    std::array<std::uint8_t, kSize> pack() const;
    static AnalysisSettings unpack(const std::uint8_t* bytes);

    // Sets serialPortNumber and serialPortName ("COM%d") together.
    void setSerialPort(int number);
    // Puts thresholds outside 10..300 mmHg, or a SYS not above its DIA, back
    // to their defaults, pair by pair.
    void validateThresholds();
};

struct PhysicianSlot {
    static constexpr std::size_t kSize = 212;

    std::int32_t used = 0;        // 1 = slot holds a physician
    std::int32_t listIndex = 0;   // row of the entry in the sorted list
    std::int32_t valid = 0;       // 1 once the slot has been written
    TextField<63> displayName;    // the family name, as listed
    TextField<31> familyName;
    TextField<31> givenName;
    TextField<51> address;
    TextField<24> phone;
};

// The data.m block.
struct PhysicianList {
    static constexpr std::size_t kSlots = 50;
    static constexpr std::size_t kSize = 8 + kSlots * PhysicianSlot::kSize;  // 10608

    std::int32_t valid = 0;
    std::int32_t selectedPhysician = -1;  // slot chosen last, -1 for none
    std::array<PhysicianSlot, kSlots> entries{};  // the 50 slots

    std::array<std::uint8_t, kSize> pack() const;
    static PhysicianList unpack(const std::uint8_t* bytes);
};

// data.o.
struct FacilitySettings {
    static constexpr std::size_t kMaxNameBytes = 50;

    TextField<kMaxNameBytes + 1> facilityName;
    std::int32_t printFacilityName = 0;  // 1 = reports print the facility name
};

struct Settings {
    QString directory;  // where the three files live: the start directory
    AnalysisSettings analysis;
    PhysicianList physicians;
    FacilitySettings facility;

    QString filePath(const char* name) const;
};

// The reference date stored in a newly created data.d: `today` minus seven
// days in the short date format.
std::string referenceDateFor(const QDate& today);

// Reads data.d, data.m and data.o from `directory`, in that order; each file
// that does not open is created with defaults. A file whose framing is wrong
// leaves its block as it was with valid 0, silently. Returns true when all
// three were read or created.
bool loadSettings(Recording& session, const QString& directory, MessageSink* messages,
                  const QDate& today = QDate::currentDate());
bool readDataD(Recording& session, MessageSink* messages, const QDate& today = QDate::currentDate());
bool readDataM(Recording& session, MessageSink* messages);
bool readDataO(Recording& session, MessageSink* messages);

// Writes data.m, data.d and data.o, in that order, into settings.directory.
bool saveSettings(Recording& session, MessageSink* messages);

// Each writes one file atomically; on failure message 201 is shown and the
// settings in memory stay as they are.
bool writeDataD(const Recording& session, MessageSink* messages);
bool writeDataM(const Recording& session, MessageSink* messages);
bool writeDataO(const Recording& session, MessageSink* messages);

// One framed block of a settings file read over `block`, whose bytes past
// what the file holds keep their values. False when the framing is wrong or
// the bytes end early; `block` is then untouched.
bool parseSettingsBlock(const QByteArray& bytes, std::uint8_t* block, std::size_t capacity);
// data.o's two lines: the facility name (cut to its bytes) and the print switch.
void parseDataO(const QByteArray& bytes, FacilitySettings& facility);

// The file contents as written.
QByteArray formatDataD(const AnalysisSettings& settings);
QByteArray formatDataM(const PhysicianList& physicians);
QByteArray formatDataO(const FacilitySettings& facility);

} // namespace ks318
