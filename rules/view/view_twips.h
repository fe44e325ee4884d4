// Sizes of the rule editor are given in twips (1/1440 inch). Widgets are placed in Qt's
// logical pixels at 96 dpi, 15 twips each; Qt scales them by the device pixel ratio.
#pragma once

namespace vandrel {

constexpr int TwipsToPx(int twips) { return (twips + 7) / 15; }
constexpr int PxToTwips(int px) { return px * 15; }

}  // namespace vandrel
