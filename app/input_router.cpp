// Offering keys to the page before the game, and the pointer to the page.
#include "app/input_router.hpp"

#include <algorithm>
#include <set>

#include "game/game.hpp"
#include "render/vulkan_renderer.hpp"
#include "ui/overlay_ui.hpp"

namespace nj {

PagePoint pagePointFromWindow(const Viewport& viewport, std::int16_t x, std::int16_t y) {
    const auto pixel = [](std::int16_t v) {
        return static_cast<std::uint32_t>(std::max<int>(v, 0));
    };
    const CanvasFraction canvas = windowToCanvas(viewport, pixel(x), pixel(y));
    return pagePointFromCanvas(canvas.fx, canvas.fy);
}

void InputRouter::keyDown(std::uint32_t key) {
    down_.insert(key);
    for (KeyTaker* taker : takers_) {
        if (taker && taker->takeKeyDown(key)) return;
    }
    if (page_ && page_->forwardKeyDown(key)) return;
    if (keyTarget_) keyTarget_->onKeyDown(key);
}

void InputRouter::keyUp(std::uint32_t key) {
    down_.erase(key);
    // Even a key the page keeps now may have been pressed before it did.
    if (page_) page_->forwardKeyUp(key);
    if (keyTarget_) keyTarget_->onKeyUp(key);
}

void InputRouter::releaseAllKeys() {
    // Every key still down, whoever took it: the game's, and those only the
    // page saw (a modifier the editor's page follows, which would otherwise
    // stay held after the focus went elsewhere).
    std::set<std::uint32_t> held = down_;  // keyUp edits both sets
    if (keyTarget_) held.insert(keyTarget_->heldKeys.begin(), keyTarget_->heldKeys.end());
    for (const std::uint32_t key : held) keyUp(key);
}

void InputRouter::text(const char* utf8) {
    if (page_ && utf8 && *utf8) page_->forwardText(utf8);
}

void InputRouter::routeKeysTo(Game* target) {
    if (target == keyTarget_) return;
    releaseAllKeys();
    keyTarget_ = target;
}

void InputRouter::pointerMove(std::int16_t x, std::int16_t y) {
    if (!page_) return;
    const PagePoint page = renderer_ ? pagePointFromWindow(renderer_->viewport(), x, y)
                                     : pagePointFromCanvas(0.0f, 0.0f);
    page_->forwardMouseMove(page.x, page.y);
}

void InputRouter::pointerButton(bool down) {
    if (page_) page_->forwardMouseButton(down);
}

}  // namespace nj
