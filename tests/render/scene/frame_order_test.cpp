// The frame's layers: what each game state draws, which steps cover which,
// and the blend each step is drawn with. The full order in play is held by
// the game's reference frame.

#include <gtest/gtest.h>

#include <algorithm>

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
    // Where a step's own drawing starts inside the frame (npos when absent).
    static std::size_t offsetOf(const Recording& frame, const Recording& part) {
        const std::vector<nj::Vertex>& alone = part.vertices;
        const auto at = std::search(frame.vertices.begin(), frame.vertices.end(), alone.begin(),
                                    alone.end(), sameVertex);
        return alone.empty() || at == frame.vertices.end()
                   ? Recording::npos
                   : static_cast<std::size_t>(at - frame.vertices.begin());
    }
    std::size_t offsetOf(const Recording& frame, Step step) const {
        return offsetOf(frame, record(step, game));
    }
};

// Wall tops hide whatever reaches under them; the detection border, the
// banner and the safe's dimming over the whole field end the frame.
TEST_F(FullFrame, WallsCoverTheActorsAndTheOverlaysComeLast) {
    const Recording r = frame();
    const std::size_t walls = offsetOf(r, nj::drawWalls);
    ASSERT_NE(walls, Recording::npos);
    for (const Step actor :
         {nj::drawPlayerLightCone, nj::drawGuardVisionCones, nj::drawGuards, nj::drawPlayer}) {
        ASSERT_NE(offsetOf(r, actor), Recording::npos);
        EXPECT_LT(offsetOf(r, actor), walls);
    }
    std::size_t previous = walls;
    for (const Step overlay : {nj::drawDetectionBorder, nj::drawBannerFrame, nj::drawSafeDimming}) {
        const std::size_t at = offsetOf(r, overlay);
        ASSERT_NE(at, Recording::npos);
        EXPECT_GT(at, previous);
        previous = at;
    }
    const Recording dim = record(nj::drawSafeDimming, game);
    EXPECT_EQ(previous + dim.vertices.size(), r.vertices.size());
    const Bounds b = boundsOf(dim.vertices);
    EXPECT_NEAR(b.minX + b.minY, 0, kPosTol);
    EXPECT_NEAR(b.maxX, 960, kPosTol);
    EXPECT_NEAR(b.maxY, 540, kPosTol);
    game.safeActive = 0;
    EXPECT_TRUE(record(nj::drawSafeDimming, game).vertices.empty());
}

// The laser beam, the tracers and the particles each switch the additive
// blend on and back off. (What else the playing frame draws with which blend
// is the reference frame's.)
TEST_F(FullFrame, OnlyTheGlowingStepsAreAdditive) {
    const Recording r = frame();
    EXPECT_FALSE(r.additiveAtEnd);
    EXPECT_EQ(r.additiveBinds, 3);
    EXPECT_EQ(r.alphaBinds, 3);
}

// The briefing draws the skyline and nothing of the mission; paused and on
// the end screens the world stands frozen as it was in play.
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

// Larger text's labels are drawn after the wall tops, so a wall beside a goal
// never hides its name.
TEST_F(FullFrame, LargeLabelsGoOverTheWalls) {
    const nj::SceneAccessibility large{.largeLabels = true};
    const Recording r = record([&](nj::Batch& b) { nj::drawScene(b, game, large); });
    const std::size_t labels =
        offsetOf(r, record([&](nj::Batch& b) { nj::drawLargeLabels(b, game, large); }));
    ASSERT_NE(labels, Recording::npos);
    EXPECT_LT(offsetOf(r, nj::drawWalls), labels);
}

}  // namespace
