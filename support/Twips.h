#pragma once

#include <QRect>
#include <cmath>

namespace softphone {

// Control places are given in twips; a standard display has 15 twips per pixel.
inline constexpr int kTwipsPerPixel = 15;

// Single-precision to integer conversions round to the nearest integer, halves to even.
inline int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

inline int TwipsToPixels(double twips) { return RoundHalfEven(twips / kTwipsPerPixel); }

inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

}  // namespace softphone
