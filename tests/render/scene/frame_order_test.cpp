// Layers by game state and their blends; the full order in play is the reference frame's.

#include <gtest/gtest.h>

#include "tests/render/scene/scene_probe.hpp"

namespace {

using nj::GameState;
using namespace nj::test;

using Step = void (*)(nj::Batch&, const nj::Game&);

// Actors under a wall, the glowing effects and the overlays on top.
struct FullFrame : ::testing::Test {
    nj::Game game{nullptr};
    void SetUp() override {
        game.gameState = GameState::Playing;
        game.playerPos = {300, 450};
        game.guards.emplace_back();
        game.guards.back().x = game.guards.back().y = 450;
        game.walls.push_back({150, 150, 20, 20});
        game.lasers.push_back({.x = 560, .y = 100, .w = 40, .h = 10});
        game.tracers.push_back({100, 200, 140, 210, 1, 1});
        game.particles.push_back({250, 200, 10, 0, 1, 1, 2, 0.3f, 0.2f, 0.1f});
        game.detection = 0.75f;
        game.bannerActive = 1;
        game.bannerTimer = 0.5f;
        game.bannerDuration = 1.0f;
        game.safeActive = 1;
    }
    Recording frame() const { return record(nj::drawScene, game); }
};

// Wall tops hide whatever reaches under them; larger text's labels go over them, so a wall never
// hides a goal's name; the detection border, the banner and the safe's dimming end the frame.
// Only the laser beam, the tracers and the particles switch the additive blend on and back off.
TEST_F(FullFrame, WallsCoverTheActorsAndLabelsAndOverlaysComeAfter) {
    const nj::SceneAccessibility large{.largeLabels = true};
    const Recording r = record(nj::drawScene, game, large);
    const std::size_t walls = offsetOf(r, record(nj::drawWalls, game));
    ASSERT_NE(walls, Recording::npos);
    for (const Step actor :
         {nj::drawPlayerLightCone, nj::drawGuardVisionCones, nj::drawGuards, nj::drawPlayer}) {
        const std::size_t at = offsetOf(r, record(actor, game));
        ASSERT_NE(at, Recording::npos);
        EXPECT_LT(at, walls);
    }
    const Recording dim = record(nj::drawSafeDimming, game);
    std::size_t previous = walls;
    for (const Recording& over :
         {record(nj::drawLargeLabels, game, large), record(nj::drawDetectionBorder, game),
          record(nj::drawBannerFrame, game), dim}) {
        const std::size_t at = offsetOf(r, over);
        ASSERT_NE(at, Recording::npos);
        EXPECT_GT(at, previous);
        previous = at;
    }
    EXPECT_EQ(previous + dim.vertices.size(), r.vertices.size());
    expectBox(boundsOf(dim.vertices), 0, 0, 960, 540);
    game.safeActive = 0;
    EXPECT_TRUE(record(nj::drawSafeDimming, game).vertices.empty());
    EXPECT_FALSE(r.additiveAtEnd);
    EXPECT_EQ(r.additiveBinds, 3);
    EXPECT_EQ(r.alphaBinds, 3);
}

// Paused and on the end screens the world stands frozen as it was in play.
TEST_F(FullFrame, TheBriefingDrawsTheSkylineAndOtherScreensTheFrozenWorld) {
    const Recording playing = frame();
    for (const GameState state :
         {GameState::Paused, GameState::MissionComplete, GameState::MissionFailed}) {
        game.gameState = state;
        EXPECT_TRUE(sameVertices(frame().vertices, playing.vertices)) << static_cast<int>(state);
    }
    game.gameState = GameState::Briefing;
    const Recording briefing = frame();
    const Recording skyline = record(nj::drawBriefingBackdrop, game);
    ASSERT_FALSE(skyline.vertices.empty());
    EXPECT_TRUE(sameVertices(briefing.vertices, skyline.vertices));
    EXPECT_EQ(briefing.additiveBinds, 0);
}

}  // namespace
