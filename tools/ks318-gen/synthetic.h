#pragma once
// Synthetic recordings for tests and benchmarks: plausible readings of a
// mildly hypertensive adult, deterministic for a given seed.
#include "records/bpdatafile.h"

#include <QByteArray>
#include <memory>

namespace ks318::synth {

struct Options {
    int count = 100;                            // readings, at most kMaxReadings
    unsigned seed = 1;
    RecorderType type = RecorderType::Ks318;
    int year = 2026, month = 11, day = 2;       // date of the first reading
    int firstHour = 7;
    int minutesApart = 240;                     // average spacing; jittered
    int errorEvery = 0;                         // every n-th reading an error reading (0: none)
    int excludedEvery = 0;                      // every n-th valid reading excluded
    int commentEvery = 0;                       // every n-th valid reading gets a comment
    bool patient = true;                        // fill the patient section
};

// A block as the reader would leave it after reading the written file.
std::unique_ptr<SessionData> makeRecording(const Options& options);

// The file text of such a recording.
QByteArray makeFile(const Options& options);

// The bundled demonstration recording, samples/DEMO.DAT (two weeks, four to
// six readings a day); empty when it cannot be read.
QByteArray demoFile();

// The demonstration recording's companion file, for the data file written
// at `datPath`: the first-opening records with the physician, medication
// and the patient's sleep (22:00) and wake (06:00) times filled in, as the
// patient information dialog would leave them. Empty when `datPath` cannot
// be read.
QByteArray demoCompanionFile(const QString& datPath);

} // namespace ks318::synth
