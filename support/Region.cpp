#include "support/Region.h"

#include <QWidget>
#include <algorithm>
#include <vector>

#include "support/Twips.h"

namespace softphone {
namespace {

ColorValue PixelValue(const uchar* p) {
    return p[0] + 256u * p[1] + 65536u * p[2];
}

}  // namespace

void Region::ScanPicture(const QImage& picture, ColorValue& transColor) {
    hndRegion = QRegion();
    picture_.CreateFromPicture(picture);
    const uchar* bits = picture_.DIBSectionBitsPtr();
    if (!bits) return;
    const int W = picture_.Width(), H = picture_.Height(), S = picture_.BytesPerScanLine();
    if (transColor == kKeyFromPicture) transColor = PixelValue(bits);
    const ColorValue key = transColor;
    const int E = 3 * W - 3;

    // Stored rows run bottom-up; the runs are collected per stored row and handed over at once
    // in top-down order, which keeps building the region linear in the number of runs.
    std::vector<QRect> runs;
    std::vector<size_t> rowStart(H + 1, 0);
    for (int r = 0; r < H; ++r) {
        rowStart[r] = runs.size();
        const uchar* row = bits + size_t(r) * S;
        int p = 0;
        for (;;) {
            while (PixelValue(row + p) == key && p < E) p += 3;
            const int x1 = p / 3;
            while (PixelValue(row + p) != key && p < E) p += 3;
            const int x2 = p / 3;
            if (x2 > x1) runs.emplace_back(x1, H - 1 - r, x2 - x1, 1);
            if (p >= E) break;
            p += 3;
        }
    }
    rowStart[H] = runs.size();
    std::vector<QRect> topDown;
    topDown.reserve(runs.size());
    for (int r = H - 1; r >= 0; --r)
        topDown.insert(topDown.end(), runs.begin() + rowStart[r], runs.begin() + rowStart[r + 1]);
    if (!topDown.empty()) hndRegion.setRects(topDown.data(), int(topDown.size()));
}

QPoint FrameOffset(QSize outer, QSize client) {
    const int bx = RoundHalfEven((outer.width() - client.width()) / 2.0);
    return {bx, outer.height() - client.height() - bx};
}

namespace {

// Where the client area starts inside the window's outer rectangle; (0, 0) without a frame.
QPoint ClientOrigin(const QWidget* window) {
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint)) return {};
    return FrameOffset(window->frameGeometry().size(), window->size());
}

}  // namespace

// The shape is kept in window coordinates; a widget's mask is in client coordinates.
void Region::ApplyRgn(QWidget* hWnd) const {
    if (hWnd) hWnd->setMask(hndRegion.translated(-ClientOrigin(hWnd)));
}

void Region::OffsetHeader(const QWidget* tmpForm) {
    if (tmpForm) hndRegion.translate(ClientOrigin(tmpForm));
}

void ShapeWindowFromPicture(QWidget* window, const QImage& picture) {
    Region shape;
    ColorValue key = kKeyFromPicture;
    shape.ScanPicture(picture, key);
    shape.OffsetHeader(window);
    shape.ApplyRgn(window);
}

}  // namespace softphone
