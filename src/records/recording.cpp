#include "recording.h"

#include <new>

namespace ks318 {

SessionData* Recording::allocateData()
{
    data_.reset();
    data_.reset(new (std::nothrow) SessionData());
    return data_.get();
}

void Recording::clearRecording()
{
    const BpMode defaultMode = state.defaultBpMode;
    const BpMode mode = state.bpMode;
    state = SessionState();
    state.defaultBpMode = defaultMode;
    state.bpMode = mode;
    patient = PatientRecord();
    intervals = AnalysisIntervals();
    span = RecordingSpan();
    freeData();
}

void Recording::takeRecording(Recording& other)
{
    state = other.state;
    patient = other.patient;
    intervals = other.intervals;
    span = other.span;
    data_ = std::move(other.data_);
}

} // namespace ks318
