#pragma once
// What a page routine draws with: the drawing layer of the job (screen
// picture or printer page), the session whose recording it draws, the
// layout values of the caller (row height, margin, printing flag) and the
// view of the trend. The graphics window, the command line and the printed
// report each make one per picture or page.
#include "utilityservice.h"

#include "analysis/periodstatistics.h"

#include <QRect>

namespace ks318 {

class Session;
struct SessionData;

struct PlotLayout {
    int h = 0;              // row height: text height of "Gg" in font kind -1
    int m = 0;              // margin
    bool printing = false;
    // A printed page exported on its own carries the window title line at
    // its bottom as the screen does, so that it names its recording.
    bool titleLine = false;
    bool showsTitleLine() const { return !printing || titleLine; }
};

// The window's layout on a drawing layer: h from font kind -1, m = h / 4.
PlotLayout windowLayout(UtilityService& u);

struct PlotJob {
    PlotJob(UtilityService& u, Session& session, const PlotLayout& layout);

    UtilityService& u;
    Session& session;
    PlotLayout layout;
    BpThresholds thresholds;   // from the session's settings
    int spanMinutes = 0;       // the trend's visible span
    int scrollHours = 0;       // hours from the window-1 start hour to the view's left edge

    bool printing() const { return layout.printing; }
};

// The block a page draws: the one given, or else one filled here from the
// current data file with the current BpMode and freed when this goes.
class BlockAtHand {
public:
    BlockAtHand(Session& session, const SessionData* given);
    ~BlockAtHand();
    BlockAtHand(const BlockAtHand&) = delete;
    BlockAtHand& operator=(const BlockAtHand&) = delete;

    // Null when no block could be had.
    const SessionData* get() const { return data_; }

private:
    Session& session_;
    const SessionData* data_ = nullptr;
    bool own_ = false;
};

// The BpMode name of a fill, as the pages show it.
QString bpModeNameOf(const SessionData& data);

} // namespace ks318
