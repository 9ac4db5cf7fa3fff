#pragma once
// The recorder commands as the recorder menu runs them, without their
// dialogs: reading the schedule, the setup transfer, clearing the data.
#include "recorderservice.h"
#include "schedule.h"

#include <QDateTime>
#include <functional>
#include <optional>

namespace ks318 {

// Reads the settings block; the six slots when it came.
std::optional<Schedule> readSchedule(RecorderService& session);

struct SetupRequest {
    bool clear = false;                 // clear all data first
    // Asked once the clear is done: the moment to set the recorder's clock
    // to, or none to leave the clock alone. Unset: the clock is left alone.
    std::function<std::optional<QDateTime>()> clock;
    Schedule schedule;
};

struct SetupResults {
    std::optional<LinkResult> clear;
    std::optional<LinkResult> clock;
    LinkResult schedule = LinkFailed;   // also when it was not sent
    // Every command that was sent went through.
    bool ok() const
    {
        return schedule == LinkOk && clear.value_or(LinkOk) == LinkOk && clock.value_or(LinkOk) == LinkOk;
    }
};

// The setup dialog's transfer, in its order: the clear command (without the
// pause) and 350 ms; the clock with 100 ms before and after; the schedule.
// A command that fails ends the transfer: what follows is not sent (nor is
// the moment for the clock asked), and the caller reports the failure.
SetupResults runSetupTransfer(RecorderService& session, const SetupRequest& request);

// The clear-data dialog's OK: "12" (with its pause) until acknowledged.
// Message 224 when the recorder stops answering; otherwise the beep and
// recordCount 0. The ambulatory recorders' follow-up text is not sent: the
// KS-318P session has no model number for it.
LinkResult clearDataFlow(RecorderService& session, MessageSink* messages);

} // namespace ks318
