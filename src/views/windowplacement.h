#pragma once
// Dialogs and view windows open centred on the screen, and stay there each
// time they open again.
#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace ks318 {

namespace detail {

// The window frame's widths around a window's client area: its own once the
// window system has framed it, else those of a framed window of the program
// (the window manager frames all alike), else none.
inline QMargins frameMargins(const QWidget* window)
{
    const auto marginsOf = [](const QWidget* w) {
        const QRect frame = w->frameGeometry();
        const QRect client = w->geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                        frame.bottom() - client.bottom());
    };
    if (window->frameGeometry() != window->geometry())
        return marginsOf(window);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && other->frameGeometry() != other->geometry())
            return marginsOf(other);
    }
    return QMargins();
}

} // namespace detail

// Places the window's frame, not its client area, in the middle of the
// available screen. Called as the window is about to show: its layout is
// settled first, so that texts filled in just before do not move it off
// centre once it appears.
inline void centreOnScreen(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (QLayout* layout = window->layout())
        layout->activate();
    const QMargins margins = detail::frameMargins(window);
    QRect frame(QPoint(0, 0), window->size().grownBy(margins));
    frame.moveCenter(screen->availableGeometry().center());
    window->setGeometry(QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), window->size()));
}

// A main window's geometry as the user left it, kept in the user's
// configuration folder; the first time three quarters of the available
// screen, centred.
inline void restoreWindowGeometry(QWidget* window, const QString& key)
{
    const QSettings settings(QStringLiteral("ks318"), QStringLiteral("ks318"));
    if (window->restoreGeometry(settings.value(key + QStringLiteral("/geometry")).toByteArray()))
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window->resize(available.width() * 3 / 4, available.height() * 3 / 4);
        centreOnScreen(window);
    }
}

inline void saveWindowGeometry(const QWidget* window, const QString& key)
{
    QSettings settings(QStringLiteral("ks318"), QStringLiteral("ks318"));
    settings.setValue(key + QStringLiteral("/geometry"), window->saveGeometry());
}

} // namespace ks318
