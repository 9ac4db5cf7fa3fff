#include "reportformat.h"

namespace ks318 {

namespace {

constexpr std::size_t kInUseAt = 0;
constexpr std::size_t kNameAt = 9;
constexpr std::size_t kHeadingAt = 90;
constexpr std::size_t kBpModeAt = 171;
constexpr std::size_t kFlagsAt = 172;

// The page flags in layout order.
template <typename Format, typename F>
void forEachFlag(Format& f, F&& visit)
{
    decltype(&f.patientPage) flags[] = {&f.patientPage, &f.summaryPage, &f.readingsPage, &f.bpTrend,
                             &f.dpTrend,     &f.correlation, &f.histogram};
    for (std::size_t i = 0; i < 7; ++i)
        visit(kFlagsAt + i, *flags[i]);
}

} // namespace

std::array<std::uint8_t, ReportFormat::kSize> ReportFormat::pack() const
{
    std::array<std::uint8_t, kSize> b{};
    b[kInUseAt] = inUse;
    name.storeRaw(b.data() + kNameAt);
    heading.storeRaw(b.data() + kHeadingAt);
    b[kBpModeAt] = bpMode;
    forEachFlag(*this, [&b](std::size_t at, std::uint8_t flag) { b[at] = flag; });
    return b;
}

ReportFormat ReportFormat::unpack(const std::uint8_t* bytes)
{
    ReportFormat f;
    f.inUse = bytes[kInUseAt];
    f.name.loadRaw(bytes + kNameAt);
    f.heading.loadRaw(bytes + kHeadingAt);
    // A name or heading written without its terminator ends at the field.
    f.name.setRawByte(decltype(f.name)::kMaxLength, 0);
    f.heading.setRawByte(decltype(f.heading)::kMaxLength, 0);
    f.bpMode = bytes[kBpModeAt];
    forEachFlag(f, [bytes](std::size_t at, std::uint8_t& flag) { flag = bytes[at]; });
    return f;
}

ReportFormat ReportFormat::builtIn()
{
    ReportFormat f;
    f.patientPage = f.summaryPage = f.readingsPage = f.bpTrend = f.correlation = f.histogram = 1;
    f.dpTrend = 0;
    return f;
}

ReportFormatTable::ReportFormatTable()
{
    slots[0] = ReportFormat::builtIn();
}

SavedSlot0 SavedSlot0::of(const ReportFormatTable& table)
{
    SavedSlot0 s;
    s.valid = table.valid;
    s.selectedIndex = table.selectedIndex;
    s.slot = table.slots[0];
    return s;
}

void SavedSlot0::restore(ReportFormatTable& table) const
{
    table.valid = valid;
    table.selectedIndex = selectedIndex;
    table.slots[0] = slot;
}

} // namespace ks318
