// The play field of one frame.

#include "render/scene/scene_renderer.hpp"

#include "render/scene/scene.hpp"

namespace nj {

void SceneRenderer::draw(const Game& game) {
    drawScene(renderer_, game, accessibility_);
}

}  // namespace nj
