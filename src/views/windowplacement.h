#pragma once
// Dialogs and view windows open centred on the screen.
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace ks318 {

inline void centreOnScreen(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->geometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace ks318
