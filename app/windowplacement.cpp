#include "app/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowPlacement {

QRect clamped(const QRect &frame, const QRect &available)
{
    if (available.isEmpty())
        return frame;
    const QSize size = frame.size().boundedTo(available.size());
    const int x = qBound(available.left(), frame.left(), available.right() - size.width() + 1);
    const int y = qBound(available.top(), frame.top(), available.bottom() - size.height() + 1);
    return QRect(QPoint(x, y), size);
}

void keepOnScreen(QWidget *window)
{
    if (window->isMaximized() || window->isFullScreen())
        return;
    QScreen *screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame adds the title bar and borders around the client area once shown.
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QRect target = clamped(frame, screen->availableGeometry());
    if (target == frame)
        return;
    const QSize decoration = frame.size() - client.size();
    window->resize(target.size() - decoration);
    window->move(target.topLeft());
}

} // namespace WindowPlacement
