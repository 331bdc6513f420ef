#pragma once
// Where the 16:9 picture sits in the window, and mapping window pixels back to it.

#include <cstdint>

namespace nj {

inline constexpr float kTargetAspect = 16.0f / 9.0f;

// The centred 16:9 rectangle all drawing goes into; the rest of the window
// shows the clear colour. Window pixels.
struct Viewport {
    float x = 0.0f;
    float y = 0.0f;
    float width = 1280.0f;
    float height = 720.0f;
};

// The viewport for a drawable of width x height pixels: bars left and right
// when the window is wider than 16:9, above and below otherwise.
Viewport fitViewport(int width, int height);

struct CanvasFraction {
    float fx = 0.0f;  // 0 at the viewport's left edge, 1 at its right; clamped
    float fy = 0.0f;  // 0 at the top, 1 at the bottom; clamped
};

// A window pixel as a fraction of the viewport; (0, 0) for an empty viewport.
CanvasFraction windowToCanvas(const Viewport& viewport, uint32_t x, uint32_t y);

}  // namespace nj
