// One presented frame: the play field, the overlay page, submit and present.

#include "render/scene/scene_renderer.hpp"

#include "render/scene/scene.hpp"

namespace nj {

void SceneRenderer::windowToCanvas(std::uint32_t x, std::uint32_t y, float& fx, float& fy) const {
    const CanvasFraction f = renderer_.windowToCanvas(x, y);
    fx = f.fx;
    fy = f.fy;
}

void SceneRenderer::drawFrame(Game& game) {
    // A rebuilt swapchain skips the frame; the next one draws normally.
    if (!renderer_.beginFrame()) return;
    drawScene(renderer_, game, accessibility_);
    if (overlayStep) overlayStep(game);
    renderer_.finishRecording();
    renderer_.submitAndPresent();
}

}  // namespace nj
