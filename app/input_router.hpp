#pragma once
// Keys and the pointer, the page first. Every key the keyboard or a pad
// presses is offered to the overlay page, then to the game unless the page
// keeps it for itself; every key-up reaches both. The pointer is the page's
// alone (the game never reads it): window pixels are mapped onto the
// letterboxed canvas and into the page's units. Without a page (it failed to
// start) keys go straight to the game and the pointer goes nowhere.

#include <cstdint>
#include <set>
#include <vector>

namespace nj {

class Game;
class PageInput;
class VulkanRenderer;
struct PagePoint;
struct Viewport;

// A drawable pixel in page units. A pointer left of or above the window
// (SDL reports one while a button is held, dragging the volume slider, say)
// is on the near edge, never wrapped round to the far one.
PagePoint pagePointFromWindow(const Viewport& viewport, std::int16_t x, std::int16_t y);

// Takes key-downs before the page and the game while it has a use for them
// (a replay being watched); a key it takes goes no further.
class KeyTaker {
  public:
    virtual ~KeyTaker() = default;
    virtual bool takeKeyDown(std::uint32_t key) = 0;
};

class InputRouter {
  public:
    // `page` and `renderer` may be null; without the renderer every pointer
    // position lands on the canvas's top-left corner.
    InputRouter(Game& game, PageInput* page, const VulkanRenderer* renderer)
        : game_(game), page_(page), renderer_(renderer) {}

    void keyDown(std::uint32_t key);
    void keyUp(std::uint32_t key);
    // Every key still down let go (those the game holds and those only the
    // page saw), each key-up offered like any other (the window lost the
    // focus, a binding moved under a held key, the keys went to another game).
    void releaseAllKeys();

    // Drawable pixels, as the window procedure clamps them to 16 bits.
    void pointerMove(std::int16_t x, std::int16_t y);
    void pointerButton(bool down);

    // Typed text (UTF-8), the page's alone: only a field of it reads it.
    void text(const char* utf8);

    // The player's game, whatever the keys reach now.
    Game& game() { return game_; }
    // Null: none. Key-ups are never taken: the game lets go of what it held.
    void setKeyTaker(KeyTaker* taker) { takers_ = {taker}; }
    // Another taker, asked after those before it.
    void addKeyTaker(KeyTaker* taker) { takers_.push_back(taker); }
    // Where keys go after the page: the player's game, the editor's test
    // game, or (null) nowhere but the page. The game left behind lets go of
    // every key it held first, so nothing stays pressed in it.
    void routeKeysTo(Game* target);
    Game* keyTarget() const { return keyTarget_; }

  private:
    Game& game_;
    Game* keyTarget_ = &game_;
    PageInput* page_;
    const VulkanRenderer* renderer_;
    std::vector<KeyTaker*> takers_;
    std::set<std::uint32_t> down_;  // pressed and not yet let go, wherever they went
};

}  // namespace nj
