// Sizes in the standard controls are written in twips (1/1440 inch), as the hosts lay them
// out. Qt's logical pixels already carry the device pixel ratio, so one logical pixel is
// 15 twips at every ratio and no control scales by the ratio itself.
#pragma once

namespace wexcontrols {

inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel (halves away from zero) so that 37 twips and 45 twips land on
// the pixel a host drawing at 96 dpi would pick.
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace wexcontrols
