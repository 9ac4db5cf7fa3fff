#pragma once
// The desktop program's way of showing the messages of the core: a message
// box captioned from the string table with an OK button. In recording mode
// (tests, scripted runs) each message is remembered instead and nothing
// blocks.
#include "records/messages.h"

#include <QList>
#include <functional>

class QWidget;

namespace ks318 {

class GuiMessageService : public MessageSink {
public:
    struct Shown {
        int stringId;
        int captionId;
        MessageIcon icon;
    };

    explicit GuiMessageService(bool recording = false) : recording_(recording) {}

    void show(int stringId, int captionId, MessageIcon icon) override;
    // A question with the buttons Yes and No and the question icon; true for
    // Yes. In recording mode it is remembered and the next of `answers` is
    // taken (No when none is left).
    bool ask(int stringId, int captionId);
    QList<bool> answers;

    // The window the message boxes belong to; null for none.
    void setParent(QWidget* parent) { parent_ = parent; }

    // Recording mode: run after a message has been remembered, where the
    // message box would let the window system run (repaints meanwhile).
    std::function<void()> whileShown;

    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }
    const QList<Shown>& shown() const { return shown_; }
    QList<int> shownIds() const;
    void clear() { shown_.clear(); }

private:
    bool recording_;
    QWidget* parent_ = nullptr;
    QList<Shown> shown_;
};

} // namespace ks318
