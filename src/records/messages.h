#pragma once
// How the core reports the failures the user has to see. The desktop program
// shows them in a message box; tests record them; the command line prints
// them. Functions that may show a message take a MessageSink pointer, and a
// null pointer keeps them silent.
namespace ks318 {

enum class MessageIcon {
    Warning,
    Exclamation,
    Question,
};

struct MessageSink {
    virtual ~MessageSink();
    // `stringId` and `captionId` are string-table ids (caption 14 "エラー").
    virtual void show(int stringId, int captionId, MessageIcon icon) = 0;
};

// The ids used by the file layers.
constexpr int kErrorCaptionId = 14;
constexpr int kSettingsFileErrorId = 201;   // the program information file cannot be opened
constexpr int kCompanionFileErrorId = 202;  // the patient information file cannot be opened
constexpr int kWriteFailedId = 1001;        // a file could not be written (our own text)

inline void showMessage(MessageSink* sink, int stringId, int captionId, MessageIcon icon)
{
    if (sink)
        sink->show(stringId, captionId, icon);
}

} // namespace ks318
