#pragma once
// The state of the open recording, shared by the windows, the reports and the
// command line: the recording as its files describe it, its statistics, and
// what the graphics window shows. The application owns one Session and hands
// it by reference; tests make their own.
#include "analysis/periodstatistics.h"
#include "records/recording.h"

#include <functional>

namespace ks318 {

class Session : public Recording {
public:
    PeriodStatistics stats;     // written only by computePeriodStatistics

    // The graphics window's view as File > Open leaves it: the visible span
    // in minutes and the all-data zoom checked. scrollHours is the graph's
    // scroll position (hours after the window-1 start hour); the BP data
    // list reads it to open at the graph's reading and sets it when left.
    struct GraphView {
        int visibleMinutes = -1;
        bool zoomAllData = false;
        int scrollHours = 0;
    };
    GraphView graphView;

    // The page the graphics window shows: 0 none (window closed), 4 trend,
    // 5 correlation, 6 histograms, 16 grades; 7 and 8 draw nothing.
    enum GraphKindValue : int { GraphNone = 0, GraphTrend = 4, GraphCorrelation = 5, GraphHistogram = 6,
                                GraphCircadian = 7, GraphHbi = 8, GraphGrade = 16 };
    int GraphKind = GraphNone;

    // Told once each time the current recording has changed (opened, put
    // back, saved under another name, deleted, described again), after the
    // change is complete: the windows showing it repaint from it then.
    std::function<void()> onRecordingChanged;

    // False while the records describe another file than the current one
    // (data retrieval prepares the new recording in the session for its
    // patient dialog, then puts the current one back): a view painting
    // then would draw one recording's readings in the other's windows.
    // With no recording open the views show nothing, which mixes nothing.
    bool describesCurrentRecording() const
    {
        return state.currentFilePath.isEmpty() || state.preparedFilePath == state.currentFilePath;
    }
    void recordingChanged() const
    {
        if (onRecordingChanged)
            onRecordingChanged();
    }
};

// The statistics of the session's current block into session.stats.
void computePeriodStatistics(Session& session, const BpThresholds& thresholds);

} // namespace ks318
