#pragma once
// How the recorder link waits in the desktop program. The link runs on the
// window's thread and its waits (reply polls, byte polls, XOFF holds, fixed
// pauses) let the window system run: the windows go on repainting, so that
// the desktop never takes the program for hung and offers to kill it half-way
// through a transfer. Meanwhile the user's input is dropped, as the link
// takes none, except ESC, which the link asks for while the recorder holds the
// line with XOFF.
#include "recorder/linkio.h"

#include <QObject>

namespace ks318 {

class LinkWaiter final : public QObject, public Clock, public EscapeProbe {
    Q_OBJECT
public:
    // `time`: where time comes from. Null: the steady clock, and each wait
    // spent in an event loop. A simulated clock (tests): each wait handles
    // the events waiting, then lets the clock advance.
    explicit LinkWaiter(Clock* time = nullptr, QObject* parent = nullptr);

    void setTimeSource(Clock* time) { time_ = time; }

    std::int64_t nowMs() override;
    void sleepMs(std::int64_t ms) override;
    // ESC is down, or was pressed during a wait since the previous question.
    bool escapePressed() override;
    // Forgets an ESC pressed before: each recorder command starts afresh.
    void forgetEscape();

    // A pause that handles no events (at exit, while the windows go away).
    void pauseMs(std::int64_t ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Clock* time_;
    SteadyClock steady_;
    int depth_ = 0;
    bool escapeDown_ = false;
    bool escapeSeen_ = false;
};

} // namespace ks318
