// Keys reach the page first; what it keeps, the game never sees pressed but always released.
#include "app/input_router.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "game/game.hpp"
#include "render/viewport.hpp"
#include "ui/overlay_ui.hpp"

namespace {

// Writes down each key offered, with whether the game held it then; keeps keys when told to.
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

class InputRouter : public ::testing::Test {
  protected:
    nj::SilentAudio audio;
    nj::Game game{&audio};
    RecordingPage page{game};
    nj::InputRouter router{game, &page, nullptr};
};

constexpr std::uint32_t kD = 'D', kW = 'W', kShift = 16, kEnter = 13;

// W shows the page offered each key before the game acted on it.
TEST_F(InputRouter, AKeyThePageKeepsIsNeverPressedInTheGameButAlwaysReleased) {
    router.keyDown(kW);  // held before the page took the keys
    page.keeps = true;
    router.keyDown(kD);
    router.keyDown(kEnter);  // on the dossier the game would begin the operation
    EXPECT_EQ(game.heldKeys.count(kD), 0u);
    EXPECT_EQ(game.gameState, nj::GameState::Briefing);
    router.keyUp(kW);
    EXPECT_EQ(game.heldKeys.count(kW), 0u) << "the operative would walk on";
    EXPECT_EQ(page.seen, (std::vector<std::string>{"down 87 free", "down 68 free", "down 13 free",
                                                   "up 87 held"}));
}

// Letting go of everything offers each held key up to the page, even when it keeps keys; with
// keys the page's alone (the editor) a modifier still gets its key-up; another game starts free.
TEST_F(InputRouter, LettingGoOfEverythingReachesThePageAndAnotherGameStartsFree) {
    for (const std::uint32_t key : {kW, kD, kShift}) router.keyDown(key);
    page.seen.clear();
    page.keeps = true;
    router.releaseAllKeys();
    EXPECT_TRUE(game.heldKeys.empty());
    EXPECT_EQ(page.seen, (std::vector<std::string>{"up 16 held", "up 68 held", "up 87 held"}));

    nj::SilentAudio quiet;
    nj::Game other{&quiet};
    page.keeps = false;
    router.keyDown(kD);
    router.routeKeysTo(nullptr);
    EXPECT_TRUE(game.heldKeys.empty()) << "the game left behind lets go";
    page.seen.clear();
    router.keyDown(17);
    router.releaseAllKeys();
    EXPECT_EQ(page.seen, (std::vector<std::string>{"down 17 free", "up 17 free"}));
    router.routeKeysTo(&other);
    router.keyDown(kW);
    EXPECT_EQ(other.heldKeys.count(kW), 1u);
    EXPECT_TRUE(game.heldKeys.empty());
}

// A 1000 x 562 window shows the page at 0.78125; a pointer off it lands on the page's edge.
TEST_F(InputRouter, APointerOffTheWindowLandsOnTheNearestEdgeOfThePage) {
    const nj::Viewport viewport{0.0f, 0.0f, 1000.0f, 562.5f};
    const std::tuple<std::int16_t, std::int16_t, std::uint32_t, std::uint32_t> cases[] = {
        {500, 281, 640, 359},   {-40, 100, 0, 128},     {100, -3, 128, 0},
        {-32768, -32768, 0, 0}, {1500, 600, 1280, 720},
    };
    for (const auto& [x, y, pageX, pageY] : cases) {
        const nj::PagePoint at = nj::pagePointFromWindow(viewport, x, y);
        EXPECT_EQ(at.x, pageX) << x << "," << y;
        EXPECT_EQ(at.y, pageY) << x << "," << y;
    }
}

}  // namespace
