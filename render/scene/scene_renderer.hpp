#pragma once
// The play field as the shell draws it each frame: the world and its actors
// from the game's public fields, with the player's accessibility choices.
// The frame around it (begin, the page over it, finish, present) is the
// shell's.

#include "game/game.hpp"
#include "render/scene/editor_marks.hpp"
#include "render/scene/scene_accessibility.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

class SceneRenderer {
  public:
    explicit SceneRenderer(VulkanRenderer& renderer) : renderer_(renderer) {}

    // Inside a begun frame, before the page is drawn over it.
    void draw(const Game& game);
    // The mission being edited: the field as it will be drawn, with the
    // editor's marks over it.
    void draw(const Game& game, const EditorMarks& marks);

    VulkanRenderer& renderer() { return renderer_; }

    // Takes effect from the next frame.
    void setAccessibility(const SceneAccessibility& accessibility) {
        accessibility_ = accessibility;
    }
    const SceneAccessibility& accessibility() const { return accessibility_; }

  private:
    VulkanRenderer& renderer_;
    SceneAccessibility accessibility_;
};

}  // namespace nj
