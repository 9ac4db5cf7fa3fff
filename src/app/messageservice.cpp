#include "messageservice.h"

#include "records/stringtable.h"

#include <QApplication>
#include <QMessageBox>

namespace ks318 {

void GuiMessageService::show(int stringId, int captionId, MessageIcon icon)
{
    shown_.append(Shown{stringId, captionId, icon});
    if (!recording_) {
        QMessageBox box(QMessageBox::Warning, StringTable::text(captionId), StringTable::text(stringId),
                        QMessageBox::Ok, parent_);
        box.exec();
    } else if (whileShown) {
        whileShown();
    }
    // The exclamation message is followed by the exclamation sound.
    if (icon == MessageIcon::Exclamation && !recording_)
        QApplication::beep();
}

bool GuiMessageService::ask(int stringId, int captionId)
{
    shown_.append(Shown{stringId, captionId, MessageIcon::Question});
    if (recording_)
        return !answers.isEmpty() && answers.takeFirst();
    QMessageBox box(QMessageBox::Question, StringTable::text(captionId), StringTable::text(stringId),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

QList<int> GuiMessageService::shownIds() const
{
    QList<int> ids;
    for (const Shown& s : shown_)
        ids.append(s.stringId);
    return ids;
}

} // namespace ks318
