#include "linkwaiter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <chrono>

namespace ks318 {

LinkWaiter::LinkWaiter(Clock* time, QObject* parent) : QObject(parent), time_(time) {}

std::int64_t LinkWaiter::nowMs()
{
    return time_ ? time_->nowMs() : steady_.nowMs();
}

void LinkWaiter::sleepMs(std::int64_t ms)
{
    if (ms <= 0)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        pauseMs(ms);
        return;
    }
    if (depth_++ == 0)
        app->installEventFilter(this);
    if (time_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        time_->sleepMs(ms);
    } else {
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (--depth_ == 0)
        app->removeEventFilter(this);
}

bool LinkWaiter::escapePressed()
{
    const bool pressed = escapeDown_ || escapeSeen_;
    escapeSeen_ = false;
    return pressed;
}

void LinkWaiter::forgetEscape()
{
    escapeDown_ = false;
    escapeSeen_ = false;
}

void LinkWaiter::pauseMs(std::int64_t ms)
{
    if (time_)
        time_->sleepMs(ms);
    else
        steady_.sleepMs(ms);
}

bool LinkWaiter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            escapeDown_ = event->type() == QEvent::KeyPress;
            if (escapeDown_)
                escapeSeen_ = true;
        }
        return true;
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        // The window manager's close button; the program's own closing goes on.
        return event->spontaneous();
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace ks318
