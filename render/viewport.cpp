// Letterboxing the 16:9 picture and mapping window pixels into it.

#include "render/viewport.hpp"

#include <algorithm>

namespace nj {

Viewport fitViewport(int width, int height) {
    Viewport v{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)};
    const float windowWidth = v.width;
    const float windowHeight = v.height;
    if (windowWidth / windowHeight > kTargetAspect) {
        v.width = windowHeight * kTargetAspect;
        v.x = (windowWidth - v.width) * 0.5f;
    } else {
        v.height = windowWidth / kTargetAspect;
        v.y = (windowHeight - v.height) * 0.5f;
    }
    return v;
}

CanvasFraction windowToCanvas(const Viewport& viewport, uint32_t x, uint32_t y) {
    if (!(viewport.width > 0.0f) || !(viewport.height > 0.0f)) return {};
    const float fx = (static_cast<float>(x) - viewport.x) / viewport.width;
    const float fy = (static_cast<float>(y) - viewport.y) / viewport.height;
    return {std::clamp(fx, 0.0f, 1.0f), std::clamp(fy, 0.0f, 1.0f)};
}

}  // namespace nj
