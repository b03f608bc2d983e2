#pragma once

#include <QRegion>

class QWidget;

namespace softphone {

// A rounded rectangle from (left, top) to (right, bottom), right and bottom excluded, whose
// corners are quarter ellipses of the given width and height.
QRegion RoundRectRegion(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight);

// Clips the window 10 pixels inside its left and top edges and 45 above its bottom edge, with
// corners of a 150 x 100 ellipse.
void RoundWindow(QWidget* window);

}  // namespace softphone
