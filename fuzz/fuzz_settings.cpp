// The three settings files on any bytes: data.d and data.m (one framed
// block each), data.o (two lines), each read, written and read back.
#include "fuzzsupport.h"

#include "records/settings.h"

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);

    auto d = AnalysisSettings().pack();
    if (parseSettingsBlock(bytes, d.data(), d.size())) {
        AnalysisSettings s = AnalysisSettings::unpack(d.data());
        s.validateThresholds();
        const QByteArray written = formatDataD(s);
        auto back = AnalysisSettings().pack();
        fuzz::require(parseSettingsBlock(written, back.data(), back.size()), "a written data.d reads back");
        fuzz::require(formatDataD(AnalysisSettings::unpack(back.data())) == written, "data.d reads back unchanged");
    }

    auto m = PhysicianList().pack();
    if (parseSettingsBlock(bytes, m.data(), m.size())) {
        const QByteArray written = formatDataM(PhysicianList::unpack(m.data()));
        auto back = PhysicianList().pack();
        fuzz::require(parseSettingsBlock(written, back.data(), back.size()), "a written data.m reads back");
        fuzz::require(formatDataM(PhysicianList::unpack(back.data())) == written, "data.m reads back unchanged");
    }

    FacilitySettings o;
    parseDataO(bytes, o);
    FacilitySettings back;
    parseDataO(formatDataO(o), back);
    fuzz::require(back.facilityName.view() == o.facilityName.view(), "the facility name reads back unchanged");
    return 0;
}
