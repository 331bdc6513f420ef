#pragma once
// The overlay's view of the renderer: the viewport it follows and the draw
// that puts the page's bitmap over the play field.

#include "render/vulkan_renderer.hpp"
#include "ui/overlay_ui.hpp"

namespace nj {

class RendererOverlayCanvas final : public OverlayCanvas {
  public:
    explicit RendererOverlayCanvas(VulkanRenderer& renderer) : renderer_(renderer) {}
    void viewportSize(float& width, float& height) const override {
        width = renderer_.viewport().width;
        height = renderer_.viewport().height;
    }
    void drawOverlayBitmap(const std::uint8_t* pixels, int width, int height, int rowBytes,
                           bool changed) override {
        renderer_.drawOverlayBitmap(pixels, width, height, rowBytes, changed);
    }

  private:
    VulkanRenderer& renderer_;
};

}  // namespace nj
