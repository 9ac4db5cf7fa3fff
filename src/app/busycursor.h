#pragma once
// The hourglass while the program works, and messages shown without it.
#include "records/messages.h"

#include <QGuiApplication>

namespace ks318 {

// Shows the busy cursor until release() or the end of the scope.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void release()
    {
        if (on_)
            QGuiApplication::restoreOverrideCursor();
        on_ = false;
    }
    void resume()
    {
        if (!on_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        on_ = true;
    }

private:
    bool on_ = true;
};

// Passes messages on with the busy cursor taken away first: a message ends
// the work it was shown for.
class BusyCursorMessages final : public MessageSink {
public:
    BusyCursorMessages(MessageSink* inner, BusyCursor& busy) : inner_(inner), busy_(busy) {}
    void show(int stringId, int captionId, MessageIcon icon) override
    {
        busy_.release();
        showMessage(inner_, stringId, captionId, icon);
    }

private:
    MessageSink* inner_;
    BusyCursor& busy_;
};

} // namespace ks318
