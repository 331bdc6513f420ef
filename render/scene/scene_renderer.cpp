// The play field of one frame.

#include "render/scene/scene_renderer.hpp"

#include "render/scene/scene.hpp"

namespace nj {

void SceneRenderer::draw(const Game& game) {
    drawScene(renderer_, game, accessibility_);
}

void SceneRenderer::draw(const Game& game, const EditorMarks& marks) {
    drawScene(renderer_, game, accessibility_);
    drawEditorMarks(renderer_, marks);
}

}  // namespace nj
