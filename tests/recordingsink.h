#pragma once
// A MessageSink that records what would have been shown, for the file tests.
#include "records/messages.h"

#include <QList>
#include <tuple>

namespace ks318::test {

struct ShownMessage {
    int stringId;
    int captionId;
    MessageIcon icon;
    bool operator==(const ShownMessage& o) const
    {
        return std::tie(stringId, captionId, icon) == std::tie(o.stringId, o.captionId, o.icon);
    }
};

class MessageLog final : public MessageSink {
public:
    QList<ShownMessage> shown;
    void show(int stringId, int captionId, MessageIcon icon) override { shown.append({stringId, captionId, icon}); }
    QList<int> ids() const
    {
        QList<int> out;
        for (const ShownMessage& m : shown)
            out << m.stringId;
        return out;
    }
};

} // namespace ks318::test
