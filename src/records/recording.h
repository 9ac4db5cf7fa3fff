#pragma once
// The open recording as its files describe it: its state, the three records
// of its companion file, the settings and the block of readings in use. The
// session (session/session.h) holds it together with what the analysis and
// the views keep; the file layers work on this part only.
#include "records.h"
#include "sessiondata.h"
#include "settings.h"
#include "types.h"

#include <QString>
#include <memory>
#include <string>

namespace ks318 {

struct SessionState {
    QString currentFilePath;    // the open BP data file; empty when none
    QString preparedFilePath;   // the path last handed to the data-set preparation
    QString fileDirectory;
    QString fileBaseName;       // without extension
    QString windowTitleText;    // base name, " : ", patient name, two blanks, start date

    TextField<21> patientName;
    TextField<21> startDateText;
    TextField<11> startTimeText;

    RecorderType recorderType = RecorderType::Ks318;
    int recordingHours = 24;
    BpMode bpMode = BpMode::OscillometricOnly;
    BpMode defaultBpMode = BpMode::OscillometricOnly;

    // Day-1 sleep and wake times; -1 when unset.
    int sleepHour = -1;
    int sleepMinute = -1;
    int wakeHour = -1;
    int wakeMinute = -1;

    // Analysis windows as the open sequence took them from AnalysisIntervals;
    // -1 until a valid record has been read.
    struct Window {
        int year = -1;
        int month = -1;
        int day = -1;
        int hour = -1;
        int minute = -1;
        int hours = -1;
        int dayOffset = -1;
    };
    Window window1;
    Window window2;
    int analysisMinutes = -1;   // window-1 length in minutes, for the graphics window

    // First and last reading of the recording, from RecordingSpan.
    struct Point {
        int year = -1;
        int month = -1;
        int day = -1;
        int hour = -1;
        int minute = -1;
    };
    Point spanFirst;
    Point spanLast;

    bool timeOrderError = false;
    std::string firstRecordLine;  // first record line of the last data file read

    // The three records could not be had from NAME.p30 (it cannot be created
    // or read, message 202 shown) and are held in memory only: those of the
    // recording's first opening.
    bool companionInMemory = false;

    bool sleepTimesSet() const { return sleepHour >= 0 && sleepMinute >= 0 && wakeHour >= 0 && wakeMinute >= 0; }
};

class Recording {
public:
    SessionState state;
    PatientRecord patient;
    AnalysisIntervals intervals;
    RecordingSpan span;
    Settings settings;          // data.d, data.m, data.o

    // The SessionData block in use; null when none is allocated.
    SessionData* data() const { return data_.get(); }
    // Drops any block still allocated and allocates a fresh one. Returns null
    // when memory cannot be had; the caller then does nothing further.
    SessionData* allocateData();
    void freeData() { data_.reset(); }

    // No recording open: the state and the three records back to their
    // initial values (the BP modes kept), the block freed.
    void clearRecording();

    // Makes the recording `other` describes this one's, all at once: its
    // state, its three records and its block (the settings stay).
    void takeRecording(Recording& other);

private:
    std::unique_ptr<SessionData> data_;
};

} // namespace ks318
