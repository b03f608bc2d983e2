#include "support/modShape.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "support/Twips.h"

namespace softphone {

QRegion RoundRectRegion(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
    if (right <= left || bottom <= top) return {};
    const double rx = std::min(ellipseWidth, right - left) / 2.0;
    const double ry = std::min(ellipseHeight, bottom - top) / 2.0;
    std::vector<QRect> rows;
    for (int y = top; y < bottom; ++y) {
        const double centre = y + 0.5;
        const double dy = std::max({0.0, top + ry - centre, centre - (bottom - ry)});
        const double reach = ry > 0 ? std::sqrt(std::max(0.0, 1.0 - (dy / ry) * (dy / ry))) : 1.0;
        const int inset = RoundHalfEven(rx - rx * reach);
        const QRect row(QPoint(left + inset, y), QPoint(right - 1 - inset, y));
        if (!rows.empty() && rows.back().left() == row.left() && rows.back().right() == row.right())
            rows.back().setBottom(y);
        else
            rows.push_back(row);
    }
    QRegion region;
    region.setRects(rows.data(), int(rows.size()));
    return region;
}

void RoundWindow(QWidget* window) {
    const int w = window->width();
    const int h = window->height();
    window->setMask(RoundRectRegion(10, 10, w, h - 45, 150, 100));
}

}  // namespace softphone
