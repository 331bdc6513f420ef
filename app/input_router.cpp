// Offering keys to the page before the game, and the pointer to the page.
#include "app/input_router.hpp"

#include <set>

#include "game/game.hpp"
#include "render/vulkan_renderer.hpp"
#include "ui/overlay_ui.hpp"

namespace nj {

void InputRouter::keyDown(std::uint32_t key) {
    if (page_ && page_->forwardKeyDown(key)) return;
    game_.onKeyDown(key);
}

void InputRouter::keyUp(std::uint32_t key) {
    // Even a key the page keeps now may have been pressed before it did.
    if (page_) page_->forwardKeyUp(key);
    game_.onKeyUp(key);
}

void InputRouter::releaseAllKeys() {
    const std::set<std::uint32_t> held = game_.heldKeys;  // keyUp edits the set
    for (const std::uint32_t key : held) keyUp(key);
}

void InputRouter::pointerMove(std::int16_t x, std::int16_t y) {
    if (!page_) return;
    CanvasFraction canvas{};
    // A position left of or above the window wraps to a huge one, which the
    // canvas mapping clamps to its far edge, as it always has.
    if (renderer_) {
        canvas =
            renderer_->windowToCanvas(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
    }
    const PagePoint page = pagePointFromCanvas(canvas.fx, canvas.fy);
    page_->forwardMouseMove(page.x, page.y);
}

void InputRouter::pointerButton(bool down) {
    if (page_) page_->forwardMouseButton(down);
}

}  // namespace nj
