#pragma once
// The engine's entry point: makes views and drives them once a frame.

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/web/view.hpp"

namespace web {

class Renderer {
  public:
    // Reads the Platform's file system, font loader, logger and config; they
    // must outlive the renderer.
    static std::unique_ptr<Renderer> create();

    std::shared_ptr<View> createView(std::uint32_t width, std::uint32_t height,
                                     const ViewConfig& config);

    // Finishes pending page loads and runs due timers of every live view.
    void update();
    // Runs the animation-frame callbacks of the views on `displayId` (every
    // view is on display 0).
    void refreshDisplay(std::uint32_t displayId);
    // Paints every view whose DOM, styles or size changed since its last
    // paint; the others keep their bitmaps untouched.
    void render();

  private:
    Renderer() = default;
    template <typename Step>
    void forEachView(const Step& step);

    std::vector<std::weak_ptr<View>> views_;
};

}  // namespace web
