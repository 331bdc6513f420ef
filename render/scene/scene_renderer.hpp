#pragma once
// The game's renderer link: one whole frame of the play field on the Vulkan
// renderer, with the overlay page drawn over it near the end.

#include <functional>

#include "core/links.hpp"
#include "game/game.hpp"
#include "render/scene/scene_accessibility.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {

class SceneRenderer final : public RendererLink {
  public:
    explicit SceneRenderer(VulkanRenderer& renderer) : renderer_(renderer) {}

    void windowToCanvas(std::uint32_t x, std::uint32_t y, float& fx, float& fy) const override;
    void drawFrame(Game& game) override;

    // Draws the overlay page over the finished play field (it calls the
    // renderer's drawOverlayBitmap). Empty: the frame has no overlay.
    std::function<void(Game&)> overlayStep;

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
