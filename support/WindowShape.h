#pragma once

#include <QColor>

class QImage;
class QWidget;

namespace softphone {

// Whether windows can be see-through: always on native Wayland; on X11 while a compositing
// manager runs at start-up.
bool desktopComposites();

// Gives a frameless window the outline of its background picture (logical pixels), which has
// the colour `key` all around the outline; before the window is first shown. Where the desktop
// composites, the background stays transparent and the artwork's own soft edge draws the
// outline at any scale, and clicks around the outline reach the window behind (on Wayland the
// mask cuts only input; on X11 the input region is set alone). Elsewhere a mask of the
// picture's other pixels cuts the window.
void shapeWindowToPicture(QWidget* window, const QImage& picture, QColor key);

}  // namespace softphone
