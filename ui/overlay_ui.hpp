#pragma once
// The overlay host: the HTML page (menus, dossier, HUD) rendered off-screen
// by our engine and drawn over the play field. It loads "file:///ui/ui.html"
// from the asset package, binds the page's 13 commands into its global
// object "game", forwards input to the page, and once a frame pushes the
// game's state into the page and hands the page's bitmap to the renderer.

#include <cstdint>
#include <functional>
#include <memory>

#include "core/links.hpp"

namespace web {
class View;
}

namespace nj {

// Where the page's picture goes: the renderer's viewport and its overlay draw.
class OverlayCanvas {
  public:
    virtual ~OverlayCanvas() = default;
    virtual void viewportSize(float& width, float& height) const = 0;  // window pixels
    // BGRA, 8 bits a channel, premultiplied alpha. `changed` is false when
    // the pixels are the same as last time's.
    virtual void drawOverlayBitmap(const std::uint8_t* pixels, int width, int height, int rowBytes,
                                   bool changed) = 0;
};

class OverlayUI final : public OverlayLink {
  public:
    // `canvas` may be null (no picture is handed over); `quit` ends the game
    // loop, with or without a game.
    OverlayUI(OverlayCanvas* canvas, std::function<void()> quit);
    ~OverlayUI() override;
    OverlayUI(const OverlayUI&) = delete;
    OverlayUI& operator=(const OverlayUI&) = delete;

    bool initialize(int width, int height) override;
    void teardown() override;
    void renderFrame(Game& game, RendererLink* renderer) override;
    void forwardKeyDown(std::uint32_t key) override;
    void forwardKeyUp(std::uint32_t key) override;
    void forwardMouseMove(std::uint32_t x, std::uint32_t y) override;
    void forwardMouseButton(bool down) override;

    // For tests and tools.
    bool domReady() const;
    web::View* view() const;
    std::uint32_t pixelWidth() const;
    std::uint32_t pixelHeight() const;
    double deviceScale() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace nj
