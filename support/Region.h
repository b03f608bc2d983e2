#pragma once

#include <QRegion>

#include "support/DIBSection.h"

class QWidget;

namespace softphone {

// Colour value of a stored pixel: blue + 256 * green + 65536 * red.
using ColorValue = quint32;
// Asks `ScanPicture` to take the key colour from the picture's first stored pixel.
inline constexpr ColorValue kKeyFromPicture = 1;

// A window shape built from a picture: every pixel of the key colour is cut away.
class Region {
  public:
    // The shape built so far, in the picture's pixels, origin at its top-left corner.
    QRegion hndRegion;

    // Installs a copy of the shape as the window's visible area.
    void ApplyRgn(QWidget* hWnd) const;
    // Builds the shape from the runs of non-key pixels, one rectangle per run; with
    // kKeyFromPicture the key is the first stored (bottom-left) pixel's colour and is written
    // back. The last column never belongs to the shape.
    void ScanPicture(const QImage& picture, ColorValue& transColor);
    // Moves the shape past the window's frame onto its client area.
    void OffsetHeader(const QWidget* tmpForm);

  private:
    cDIBSection picture_;
};

// The side frame width and the caption-plus-top-frame height of a window whose outer size
// exceeds its client size by `outer - client` pixels.
QPoint FrameOffset(QSize outer, QSize client);

// The whole load-time sequence: scan `picture` with the key taken from it, offset, apply.
void ShapeWindowFromPicture(QWidget* window, const QImage& picture);

}  // namespace softphone
