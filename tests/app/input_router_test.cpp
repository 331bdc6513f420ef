// Keys reach the page before the game; what the page keeps, the game never
// sees pressed, but it always sees released.
#include "app/input_router.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game.hpp"
#include "render/viewport.hpp"
#include "ui/overlay_ui.hpp"

namespace {

// Writes down each key it is offered, with whether the game already held the
// key at that moment, and keeps keys when told to.
struct RecordingPage final : nj::PageInput {
    explicit RecordingPage(const nj::Game& g) : game(g) {}
    const nj::Game& game;
    bool keeps = false;
    std::vector<std::string> seen;

    void note(const char* what, std::uint32_t key) {
        seen.push_back(std::string(what) + " " + std::to_string(key) +
                       (game.heldKeys.count(key) ? " held" : " free"));
    }
    bool forwardKeyDown(std::uint32_t key) override {
        note("down", key);
        return keeps;
    }
    void forwardKeyUp(std::uint32_t key) override { note("up", key); }
    void forwardMouseMove(std::uint32_t, std::uint32_t) override {}
    void forwardMouseButton(bool) override {}
};

struct Routed {
    nj::SilentAudio audio;
    nj::Game game{&audio};
    RecordingPage page{game};
    nj::InputRouter router{game, &page, nullptr};
};

constexpr std::uint32_t kD = 'D', kW = 'W', kShift = 16, kEnter = 13;

// W shows the page offered each key before the game acted on it.
TEST(InputRouter, AKeyThePageKeepsIsNeverPressedInTheGameButAlwaysReleased) {
    Routed r;
    r.router.keyDown(kW);  // held before the page took the keys
    r.page.keeps = true;
    r.router.keyDown(kD);
    r.router.keyDown(kEnter);  // on the dossier the game would begin the operation
    EXPECT_EQ(r.game.heldKeys.count(kD), 0u);
    EXPECT_EQ(r.game.gameState, nj::GameState::Briefing);
    r.router.keyUp(kW);
    EXPECT_EQ(r.game.heldKeys.count(kW), 0u) << "the operative would walk on";
    EXPECT_EQ(r.page.seen, (std::vector<std::string>{"down 87 free", "down 68 free", "down 13 free",
                                                     "up 87 held"}));
}

// Letting go of everything offers each held key up to the page, even when it
// keeps keys (a field took the focus); with the keys the page's alone (the
// editor), a modifier it follows still gets its key-up, and keys sent on to
// another game leave nothing held in the one left behind.
TEST(InputRouter, LettingGoOfEverythingReachesThePageAndAnotherGameStartsFree) {
    Routed r;
    for (const std::uint32_t key : {kW, kD, kShift}) r.router.keyDown(key);
    r.page.seen.clear();
    r.page.keeps = true;
    r.router.releaseAllKeys();
    EXPECT_TRUE(r.game.heldKeys.empty());
    EXPECT_EQ(r.page.seen, (std::vector<std::string>{"up 16 held", "up 68 held", "up 87 held"}));

    nj::SilentAudio audio;
    nj::Game other{&audio};
    r.page.keeps = false;
    r.router.keyDown(kD);
    r.router.routeKeysTo(nullptr);
    EXPECT_TRUE(r.game.heldKeys.empty()) << "the game left behind lets go";
    r.page.seen.clear();
    r.router.keyDown(17);
    r.router.releaseAllKeys();
    EXPECT_EQ(r.page.seen, (std::vector<std::string>{"down 17 free", "up 17 free"}));
    r.router.routeKeysTo(&other);
    r.router.keyDown(kW);
    EXPECT_EQ(other.heldKeys.count(kW), 1u);
    EXPECT_TRUE(r.game.heldKeys.empty());
}

// A 1000 x 562 window shows the page at 0.78125 of its size; a pointer off
// the window lands on the nearest edge of the page.
TEST(InputRouter, APointerOffTheWindowLandsOnTheNearestEdgeOfThePage) {
    const nj::Viewport viewport{0.0f, 0.0f, 1000.0f, 562.5f};
    const struct {
        std::int16_t x, y;
        std::uint32_t pageX, pageY;
    } cases[] = {
        {500, 281, 640, 359},   {-40, 100, 0, 128},     {100, -3, 128, 0},
        {-32768, -32768, 0, 0}, {1500, 600, 1280, 720},
    };
    for (const auto& c : cases) {
        const nj::PagePoint page = nj::pagePointFromWindow(viewport, c.x, c.y);
        EXPECT_EQ(page.x, c.pageX) << c.x << "," << c.y;
        EXPECT_EQ(page.y, c.pageY) << c.x << "," << c.y;
    }
}

}  // namespace
