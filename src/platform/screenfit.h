// Windows kept inside the screen where the cook works, whatever its size, font and scale.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace gratinel {

// The available area (without the desktop's panels) of the screen where the cook works:
// the screen of window's parent when it has one, else the screen under the mouse pointer,
// else the primary screen. In device-independent pixels.
QRect workArea(const QWidget *window);

// The room a window's frame (title bar and borders) takes around its client area: the
// frame's own once the window is shown with one, else a generous estimate.
QMargins frameAllowance(const QWidget *window);

// The largest client size window can have with its frame inside workArea.
QSize clientRoom(const QWidget *window);

// Resizes the top-level window to wanted, no larger than clientRoom (and no smaller than
// the window's own minimum, which the caller keeps within the room), then moves it so that
// its frame lies inside workArea: centred on its parent, else centred on the area.
void fitToScreen(QWidget *window, QSize wanted);

} // namespace gratinel
