#pragma once

#include <QRect>
#include <cmath>

namespace softphone {

// Control places are given in twips; a standard display has 15 twips per pixel.
inline constexpr int kTwipsPerPixel = 15;

// Single-precision to integer conversions round to the nearest integer, halves to even.
inline int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

inline int twipsToPixels(double twips) { return roundHalfEven(twips / kTwipsPerPixel); }

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace softphone
