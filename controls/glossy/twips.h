// Sizes and positions of the glossy controls are given in twips. Qt's logical pixels already
// carry the screen's device pixel ratio, so one logical pixel is always 15 twips (96 dpi).
#pragma once

#include <cmath>

namespace vitreon {

inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest logical pixel, so a twip measure keeps its size as closely as it can.
constexpr int twipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline int pixelsToTwips(double pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

}  // namespace vitreon
