#pragma once
// The test picture render-smoke draws: every primitive, text and an overlay.
// Some areas have fixed, flat colours so a screenshot can be checked pixel by pixel.

#include <cstdint>
#include <vector>

#include "render/vulkan_renderer.hpp"

namespace nj::smoke {

// Flat areas of the picture, in canvas units, and the colour they show.
inline constexpr float kRedBlock[4] = {40, 40, 80, 60};        // opaque red
inline constexpr float kMagentaBlock[4] = {140, 40, 80, 60};   // blue, then red added on top
inline constexpr float kOverlayGreen[4] = {840, 440, 80, 60};  // from the overlay bitmap

// Everything but the overlay; `frame` animates the moving parts.
void drawScene(Batch& batch, int frame);

// A BGRA overlay of width x height pixels, rows padded to rowBytes: transparent
// but for a translucent frame and an opaque green block at kOverlayGreen.
std::vector<uint8_t> makeOverlay(int width, int height, int rowBytes);

}  // namespace nj::smoke
