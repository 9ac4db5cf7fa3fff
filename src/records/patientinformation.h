#pragma once
// Storing what the patient information dialog holds: the patient and
// physician details and the day-1 sleep and wake times go into the
// recording's companion file and into the session at once, so that every
// view and report takes the new times at its next paint.
#include "records.h"
#include "textformat.h"

#include <QString>

namespace ks318 {

class Recording;
struct MessageSink;

// A time of day as typed into a sleep or wake field: "h", "h:m" or "h:m:s",
// or three or four digits "hmm"/"hhmm"; blanks around it and full-width
// digits and colons are taken. False when it is not a time of day.
bool readTimeOfDay(const QString& text, int& hour, int& minute);

struct PatientSave {
    bool saved = false;        // NAME.p30 written and the session updated
    bool nameChanged = false;  // the window title text was renewed
};

// Stores `entered` (every text as the dialog's fields hold it, already cut to
// its field) as the patient record of the prepared recording:
// - recordingHours and recorderType come from the session state;
// - a sleep time without a wake time, a wake time without a sleep time and
//   equal times are all stored as no sleep period (both empty); the day-2
//   times are stored as "0000";
// - the companion file is written atomically; on failure message 202 is
//   shown and neither the file nor the session changes. A recording whose
//   records are held in memory because its NAME.p30 could not be read is
//   never written over that file (202 as well);
// - a new patient name renews the session's name and window title text;
// - the day-1 sleep and wake hour and minute are set (-1 without a period).
// Analysis windows, a recording span or a start date and time missing from
// the companion file are written as a first opening creates them, so the
// saved file does not give the recording an empty analysis window when it
// is read back.
PatientSave savePatientInformation(Recording& session, const PatientRecord& entered, MessageSink* messages);

} // namespace ks318
