#include "settings.h"

#include "blockframing.h"
#include "bytes.h"
#include "cp932.h"
#include "filenames.h"
#include "messages.h"
#include "recording.h"
#include "shortdate.h"

#include <QDir>
#include <QFile>

namespace ks318 {

namespace {

constexpr int kFormatVersion = 0;

template <typename F>
void forEachSettingsInt(AnalysisSettings& s, F&& f)
{
    f(0, s.valid);
    f(4, s.defaultBpMode);
    f(8, s.sysThreshold1);
    f(12, s.diaThreshold1);
    f(16, s.sysThreshold2);
    f(20, s.diaThreshold2);
    f(24, s.altSysThreshold1);
    f(28, s.altDiaThreshold1);
    f(32, s.altSysThreshold2);
    f(36, s.altDiaThreshold2);
    f(40, s.serialPortNumber);
    f(60, s.recorderType);
    f(148, s.createCsvFile);
}

void putI32(std::uint8_t* p, std::int32_t v) { le::putU32(p, static_cast<std::uint32_t>(v)); }
std::int32_t getI32(const std::uint8_t* p) { return static_cast<std::int32_t>(le::getU32(p)); }

bool outOfRange(std::int32_t mmHg) { return mmHg > 300 || mmHg < 10; }

// Reads one framed block of at most `capacity` bytes over `block`, which
// keeps its bytes past what the file holds. False when the framing is wrong
// or the file ends early; `block` is then untouched.
bool readFramedBlock(const QString& path, std::uint8_t* block, std::size_t capacity, bool& opened)
{
    QFile file(path);
    opened = file.open(QIODevice::ReadOnly);
    if (!opened)
        return false;
    return parseSettingsBlock(file.readAll(), block, capacity);
}

bool writeOrReport(const QString& path, const QByteArray& bytes, MessageSink* messages)
{
    if (writeFileAtomically(path, bytes))
        return true;
    showMessage(messages, kSettingsFileErrorId, kErrorCaptionId, MessageIcon::Warning);
    return false;
}

} // namespace

bool parseSettingsBlock(const QByteArray& bytes, std::uint8_t* block, std::size_t capacity)
{
    FramingReader in(bytes);
    int version = -1;
    int size = 0;
    if (!in.readNumber(version) || version != kFormatVersion)
        return false;
    if (!in.readNumber(size) || size <= 0)
        return false;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(size), capacity);
    return in.readBytes(block, count);
}

std::array<std::uint8_t, AnalysisSettings::kSize> AnalysisSettings::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    AnalysisSettings copy = *this;
    forEachSettingsInt(copy, [&](std::size_t offset, std::int32_t& v) { putI32(out.data() + offset, v); });
    serialPortName.storeRaw(out.data() + 44);
    referenceDateText.storeRaw(out.data() + 64);
    return out;
}

AnalysisSettings AnalysisSettings::unpack(const std::uint8_t* bytes)
{
    AnalysisSettings s;
    forEachSettingsInt(s, [&](std::size_t offset, std::int32_t& v) { v = getI32(bytes + offset); });
    s.serialPortName.loadRaw(bytes + 44);
    s.referenceDateText.loadRaw(bytes + 64);
    return s;
}

void AnalysisSettings::setSerialPort(int number)
{
    serialPortNumber = number;
    serialPortName.assign(QStringLiteral("COM%1").arg(number).toStdString());
}

void AnalysisSettings::validateThresholds()
{
    if (outOfRange(sysThreshold1))
        sysThreshold1 = 140;
    if (outOfRange(diaThreshold1))
        diaThreshold1 = 90;
    if (sysThreshold1 <= diaThreshold1) {
        sysThreshold1 = 140;
        diaThreshold1 = 90;
    }
    if (outOfRange(sysThreshold2))
        sysThreshold2 = 120;
    if (outOfRange(diaThreshold2))
        diaThreshold2 = 70;
    if (sysThreshold2 <= diaThreshold2) {
        sysThreshold2 = 120;
        diaThreshold2 = 70;
    }
}

std::array<std::uint8_t, PhysicianList::kSize> PhysicianList::pack() const
{
    std::array<std::uint8_t, kSize> out{};
    putI32(out.data(), valid);
    putI32(out.data() + 4, selectedPhysician);
    for (std::size_t i = 0; i < kSlots; ++i) {
        const PhysicianSlot& s = entries[i];
        std::uint8_t* p = out.data() + 8 + i * PhysicianSlot::kSize;
        putI32(p, s.used);
        putI32(p + 4, s.listIndex);
        putI32(p + 8, s.valid);
        s.displayName.storeRaw(p + 12);
        s.familyName.storeRaw(p + 75);
        s.givenName.storeRaw(p + 106);
        s.address.storeRaw(p + 137);
        s.phone.storeRaw(p + 188);
    }
    return out;
}

PhysicianList PhysicianList::unpack(const std::uint8_t* bytes)
{
    PhysicianList list;
    list.valid = getI32(bytes);
    list.selectedPhysician = getI32(bytes + 4);
    for (std::size_t i = 0; i < kSlots; ++i) {
        PhysicianSlot& s = list.entries[i];
        const std::uint8_t* p = bytes + 8 + i * PhysicianSlot::kSize;
        s.used = getI32(p);
        s.listIndex = getI32(p + 4);
        s.valid = getI32(p + 8);
        s.displayName.loadRaw(p + 12);
        s.familyName.loadRaw(p + 75);
        s.givenName.loadRaw(p + 106);
        s.address.loadRaw(p + 137);
        s.phone.loadRaw(p + 188);
    }
    return list;
}

QString Settings::filePath(const char* name) const
{
    const QDir dir(directory.isEmpty() ? QDir::currentPath() : directory);
    return dir.filePath(QString::fromLatin1(name));
}

std::string referenceDateFor(const QDate& today)
{
    return shortDateCp932(today.addDays(-7));
}

QByteArray formatDataD(const AnalysisSettings& settings)
{
    QByteArray out;
    appendNumberLine(out, kFormatVersion);
    const auto block = settings.pack();
    appendBlock(out, block.data(), block.size());
    return out;
}

QByteArray formatDataM(const PhysicianList& physicians)
{
    QByteArray out;
    appendNumberLine(out, kFormatVersion);
    const auto block = physicians.pack();
    appendBlock(out, block.data(), block.size());
    return out;
}

QByteArray formatDataO(const FacilitySettings& facility)
{
    QByteArray out(facility.facilityName.view().data(), static_cast<qsizetype>(facility.facilityName.size()));
    out.append('\n');
    appendNumberLine(out, facility.printFacilityName);
    return out;
}

bool readDataD(Recording& session, MessageSink* messages, const QDate& today)
{
    AnalysisSettings& s = session.settings.analysis;
    s.valid = 0;
    auto block = s.pack();
    bool opened = false;
    if (readFramedBlock(session.settings.filePath("data.d"), block.data(), block.size(), opened)) {
        s = AnalysisSettings::unpack(block.data());
        s.valid = 1;
        s.recorderType = 70;
        s.validateThresholds();
        if (isValidBpMode(s.defaultBpMode))
            session.state.defaultBpMode = static_cast<BpMode>(s.defaultBpMode);
        return true;
    }
    if (opened) {
        // A damaged file: the block stays as it was, not valid.
        s.valid = 0;
        return false;
    }
    s = AnalysisSettings();
    s.referenceDateText.assign(referenceDateFor(today));
    const bool written = writeDataD(session, messages);
    s.valid = 1;
    return written;
}

bool readDataM(Recording& session, MessageSink* messages)
{
    PhysicianList& list = session.settings.physicians;
    list.valid = 0;
    auto block = list.pack();
    bool opened = false;
    if (readFramedBlock(session.settings.filePath("data.m"), block.data(), block.size(), opened)) {
        list = PhysicianList::unpack(block.data());
        list.valid = 1;
        return true;
    }
    if (opened) {
        list.valid = 0;
        return false;
    }
    for (PhysicianSlot& slot : list.entries)
        slot.used = 0;
    const bool written = writeDataM(session, messages);
    list.valid = 1;
    return written;
}

bool readDataO(Recording& session, MessageSink* messages)
{
    FacilitySettings& f = session.settings.facility;
    QFile file(session.settings.filePath("data.o"));
    if (!file.open(QIODevice::ReadOnly)) {
        f.facilityName.clear();
        f.printFacilityName = 0;
        return writeDataO(session, messages);
    }
    parseDataO(file.readAll(), f);
    return true;
}

void parseDataO(const QByteArray& bytes, FacilitySettings& f)
{
    qsizetype lineEnd = bytes.indexOf('\n');
    if (lineEnd < 0)
        lineEnd = bytes.size();
    // The name is cut to its 50 bytes without reading into the next line; it
    // ends at a NUL, as a C string does, and a line end's CR is no part of it.
    std::string_view name(bytes.constData(), static_cast<std::size_t>(lineEnd));
    name = name.substr(0, std::min(name.find('\0'), cp932FitLength(name, FacilitySettings::kMaxNameBytes)));
    while (!name.empty() && name.back() == '\r')
        name.remove_suffix(1);
    f.facilityName.assign(name);
    const qsizetype second = lineEnd + 1;
    const char c = second < bytes.size() ? bytes[second] : '0';
    f.printFacilityName = (c >= '0' && c <= '9') ? c - '0' : 0;
}

bool loadSettings(Recording& session, const QString& directory, MessageSink* messages, const QDate& today)
{
    session.settings.directory = directory;
    const bool d = readDataD(session, messages, today);
    const bool m = readDataM(session, messages);
    const bool o = readDataO(session, messages);
    return d && m && o;
}

bool writeDataD(const Recording& session, MessageSink* messages)
{
    return writeOrReport(session.settings.filePath("data.d"), formatDataD(session.settings.analysis), messages);
}

bool writeDataM(const Recording& session, MessageSink* messages)
{
    return writeOrReport(session.settings.filePath("data.m"), formatDataM(session.settings.physicians), messages);
}

bool writeDataO(const Recording& session, MessageSink* messages)
{
    return writeOrReport(session.settings.filePath("data.o"), formatDataO(session.settings.facility), messages);
}

bool saveSettings(Recording& session, MessageSink* messages)
{
    const bool m = writeDataM(session, messages);
    const bool d = writeDataD(session, messages);
    const bool o = writeDataO(session, messages);
    return m && d && o;
}

} // namespace ks318
