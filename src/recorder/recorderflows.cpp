#include "recorderflows.h"

#include "records/messages.h"

namespace ks318 {

std::optional<Schedule> readSchedule(RecorderService& session)
{
    if (session.ReadSettingsBlock() != LinkOk)
        return std::nullopt;
    return slotsFromSettings(session.settingsText);
}

SetupResults runSetupTransfer(RecorderService& session, const SetupRequest& request)
{
    SetupResults results;
    if (request.clear) {
        results.clear = session.ClearRecorderData(false);
        if (*results.clear != LinkOk)
            return results;
        session.Delay(350);
    }
    // The moment is taken after the clear, which may take a while.
    const std::optional<QDateTime> moment = request.clock ? request.clock() : std::nullopt;
    if (moment) {
        const std::array<int, 5> values = clockValuesFor(*moment);
        for (std::size_t i = 0; i < values.size(); ++i)
            session.clockValues[i] = values[i];
        session.Delay(100);
        results.clock = session.SetRecorderClock();
        if (*results.clock != LinkOk)
            return results;
        session.Delay(100);
    }
    for (std::size_t i = 0; i < request.schedule.size(); ++i) {
        const ScheduleSlot& slot = request.schedule[i];
        session.slotHour[i] = slot.off() ? -1 : slot.hour & 0xFF;
        session.slotMinute[i] = slot.off() ? -1 : slot.minute & 0xFF;
    }
    results.schedule = session.WriteSchedule();
    return results;
}

LinkResult clearDataFlow(RecorderService& session, MessageSink* messages)
{
    const LinkResult result = session.ClearRecorderData(true);
    if (result == LinkFailed) {
        showMessage(messages, 224, kErrorCaptionId, MessageIcon::Exclamation);
        return result;
    }
    session.beep();
    session.recordCount = 0;
    return result;
}

} // namespace ks318
