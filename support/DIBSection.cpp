#include "support/DIBSection.h"

#include <algorithm>
#include <cstring>

namespace softphone {

bool cDIBSection::Create(int lWidth, int lHeight) {
    ClearUp();
    if (lWidth <= 0 || lHeight <= 0) return false;
    bits_ = QImage(lWidth, lHeight, QImage::Format_BGR888);
    if (bits_.isNull()) return false;
    bits_.fill(Qt::black);
    return true;
}

void cDIBSection::CreateFromPicture(const QImage& picThis) {
    if (picThis.isNull() || !Create(picThis.width(), picThis.height())) return;
    LoadPictureBlt(picThis);
}

void cDIBSection::LoadPictureBlt(const QImage& source, int lSrcLeft, int lSrcTop, int lSrcWidth,
                                 int lSrcHeight) {
    if (bits_.isNull() || source.isNull()) return;
    const QImage pixels = source.convertToFormat(QImage::Format_BGR888);
    const int width = std::min(lSrcWidth < 0 ? Width() : lSrcWidth, pixels.width() - lSrcLeft);
    const int height = std::min(lSrcHeight < 0 ? Height() : lSrcHeight, pixels.height() - lSrcTop);
    if (lSrcLeft < 0 || lSrcTop < 0 || width <= 0 || height <= 0) return;
    const int rowBytes = std::min(width, Width()) * 3;
    for (int y = 0; y < std::min(height, Height()); ++y) {
        std::memcpy(bits_.scanLine(Height() - 1 - y),
                    pixels.constScanLine(lSrcTop + y) + 3 * lSrcLeft, rowBytes);
    }
}

}  // namespace softphone
