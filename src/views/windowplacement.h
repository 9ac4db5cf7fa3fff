#pragma once
// Dialogs and view windows open centred on the screen.
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
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
