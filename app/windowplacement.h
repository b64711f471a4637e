// Keeps a restored window on the screen it is shown on: a geometry saved on a larger screen,
// or at a position that no longer exists, is shrunk and moved into the available area.
#pragma once

#include <QRect>

class QWidget;

namespace WindowPlacement {

// `frame` moved (and shrunk where needed) into `available`.
QRect clamped(const QRect &frame, const QRect &available);

// Applies clamped() to a top-level window that is neither maximised nor full-screen.
void keepOnScreen(QWidget *window);

} // namespace WindowPlacement
