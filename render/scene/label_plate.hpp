#pragma once
// Large labels: the play field's tiny words (the card's, the keycards', the
// terminal's) redrawn big enough to read at 1280 x 720 on a dark plate, for a
// player who asked for larger text.

#include <string_view>

#include "core/color.hpp"
#include "render/batch.hpp"

namespace nj {

inline constexpr float kLargeLabelScale = 1.25f;  // canvas units per font pixel: 10 units tall
inline constexpr Color kLabelPlateColor{0.03f, 0.04f, 0.07f, 0.86f};
// Labels keep this far inside the canvas edges, so every letter is on screen.
inline constexpr float kLabelEdgeMargin = 3.0f;

// The plate's height at kLargeLabelScale; a label above a thing sits this far up.
float largeLabelHeight();

// `text` centred on cx (slid sideways to stay inside the edge margin) with the
// plate's top at `top`, in `ink`; the plate is as transparent as the ink.
void drawLargeLabel(Batch& batch, std::string_view text, float cx, float top, const Color& ink);

}  // namespace nj
