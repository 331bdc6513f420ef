// The frame's layers: what each game state draws, the order of the steps, and
// the blend mode each is drawn with.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/render/scene/scene_probe.hpp"

namespace {

using nj::Color;
using nj::Game;
using nj::GameState;
using namespace nj::test;

constexpr Color kGoldA(float a) {
    return {0.83f, 0.686f, 0.216f, a};
}

// One of everything the frame draws, each placed apart from the others.
void furnish(Game& game) {
    game.gameState = GameState::Playing;
    game.theme = nj::Theme::Laboratory;
    game.pressurePlates.push_back({200, 300, 40, 20, 0, 0});
    game.furniture.push_back({.type = "crate", .x = 300, .y = 300});
    game.footprints.push_back({400, 300, 0, 0.5f});
    game.impacts.push_back({420, 300, 0, 0, 1.2f, 1.2f, 0});
    game.doors.push_back({.x = 500, .y = 250, .w = 40, .h = 10});
    game.lasers.push_back({.x = 560, .y = 100, .w = 40, .h = 10});
    game.keycards.push_back({.x = 600, .y = 300, .color = "ruby"});
    game.cameras.push_back({.x = 800, .y = 100});
    game.playerPos = {300, 450};
    game.guards.emplace_back();
    game.guards.back().x = game.guards.back().y = 450;
    game.takedownTimer = 0.21f;
    game.takedownTo = {350, 450};
    game.puffs.push_back({100, 480, 0, 0, 10, 1, 1, 0});
    game.tracers.push_back({100, 200, 140, 210, 1, 1, 0});
    game.walls.push_back({150, 150, 20, 20});
    game.dust = {{700, 480, 1.5f, 0.123f, 0, 0}};
    game.particles.push_back({250, 200, 10, 0, 1, 1, 2, 0.3f, 0.2f, 0.1f});
    game.detection = 0.75f;
    game.bannerActive = 1;
    game.bannerTimer = 0.5f;
    game.bannerDuration = 1.0f;
    game.bannerColor = {0.2f, 0.4f, 0.6f, 1};
    game.safeActive = 1;
}

// A colour only the named step uses, in frame order.
const std::vector<std::pair<std::string, Color>> kStepColours = {
    {"floor", {0.055f, 0.062f, 0.078f, 1}},
    {"pressure plate", {0.13f, 0.1f, 0.06f, 1}},
    {"furniture", {0.14f, 0.11f, 0.08f, 1}},
    {"getaway car", {0.28f, 0.33f, 0.41f, 1}},
    {"alternative exit", {0.06f, 0.1f, 0.12f, 0.85f}},
    {"footprint", kGoldA(0.14f)},
    {"impact", {0.03f, 0.03f, 0.04f, 0.75f}},
    {"vault gate", {0.14f, 0.11f, 0.07f, 1}},
    {"door leaf", {0.08f, 0.11f, 0.16f, 1}},
    {"laser post", {0.13f, 0.11f, 0.08f, 1}},
    {"cipher card chip", {0.09f, 0.1f, 0.13f, 1}},
    {"keycard chip", {0.04f, 0.05f, 0.07f, 1}},
    {"terminal console", {0.07f, 0.11f, 0.17f, 1}},
    {"camera body", {0.1f, 0.14f, 0.2f, 1}},
    {"player light cone", {0.52f, 0.75f, 0.98f, 0.22f}},
    {"guard vision cone", {0.98f, 0.82f, 0.44f, 0.36f}},
    {"guard body", {0.1f, 0.13f, 0.19f, 1}},
    {"player hair", {0.12f, 0.1f, 0.09f, 1}},
    {"takedown ring", kGoldA(0.5f)},
    {"smoke", {0.76f, 0.82f, 0.9f, 0.42f}},
    {"tracer", {1.0f, 0.65f, 0.22f, 0.9f}},
    {"wall top", {0.07f, 0.085f, 0.11f, 1}},
    {"dust", kGoldA(0.123f)},
    {"particle", {0.3f, 0.2f, 0.1f, 0.7f}},
    {"detection border", {0.769f, 0.118f, 0.227f, 0.225f}},
    {"banner frame", {0.2f, 0.4f, 0.6f, 0.45f}},
    {"safe dimming", {0, 0, 0, 0.75f}},
};

struct FullFrame : ::testing::Test {
    Game game{nullptr, nullptr};
    void SetUp() override { furnish(game); }
    Recording frame() const { return record(nj::drawScene, game); }
};

TEST_F(FullFrame, StepsAreDrawnInFrameOrder) {
    const Recording r = frame();
    std::size_t previous = 0;
    std::string previousName = "start";
    for (const auto& [name, colour] : kStepColours) {
        const std::size_t at = r.firstOf(colour);
        ASSERT_NE(at, Recording::npos) << name << " was not drawn";
        EXPECT_GE(at, previous) << name << " drawn before " << previousName;
        previous = at;
        previousName = name;
    }
}

TEST_F(FullFrame, WallsCoverEveryActorAndCone) {
    const Recording r = frame();
    const std::size_t wallTop = r.firstOf({0.07f, 0.085f, 0.11f, 1});
    ASSERT_NE(wallTop, Recording::npos);
    for (const Color& actor :
         {Color{0.1f, 0.13f, 0.19f, 1}, Color{0.12f, 0.1f, 0.09f, 1},
          Color{0.98f, 0.82f, 0.44f, 0.36f}, Color{0.52f, 0.75f, 0.98f, 0.22f}}) {
        EXPECT_LT(r.lastOf(actor), wallTop);
    }
}

TEST_F(FullFrame, GlowingStepsAreAdditiveAndEveryOtherStepIsNot) {
    const Recording r = frame();
    EXPECT_FALSE(r.additiveAtEnd);
    // The laser beam, the tracers and the particles each switch on and back off.
    EXPECT_EQ(r.additiveBinds, 3);
    EXPECT_EQ(r.alphaBinds, 3);
    for (const Color& glow :
         {Color{1, 1, 1, 0.95f}, Color{1.0f, 0.65f, 0.22f, 0.9f}, Color{0.3f, 0.2f, 0.1f, 0.7f}}) {
        const std::size_t at = r.firstOf(glow);
        ASSERT_NE(at, Recording::npos);
        EXPECT_TRUE(r.additive[at]);
    }
    for (const auto& [name, colour] : kStepColours) {
        if (name == "tracer" || name == "particle") continue;
        const std::size_t at = r.firstOf(colour);
        ASSERT_NE(at, Recording::npos) << name;
        EXPECT_FALSE(r.additive[at]) << name << " drawn additively";
    }
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

TEST_F(FullFrame, TheSafeDimsTheWholeFieldLastAndOnlyWhileOpen) {
    const Color dim{0, 0, 0, 0.75f};
    const Recording open = frame();
    const auto last = open.tail(6);
    ASSERT_EQ(last.size(), 6u);
    for (const nj::Vertex& v : last) EXPECT_TRUE(sameColor(v.color, dim));
    const Bounds b = boundsOf(last);
    EXPECT_NEAR(b.minX, 0, kPosTol);
    EXPECT_NEAR(b.minY, 0, kPosTol);
    EXPECT_NEAR(b.maxX, 960, kPosTol);
    EXPECT_NEAR(b.maxY, 540, kPosTol);

    game.safeActive = 0;
    EXPECT_EQ(frame().count(dim), 0u);
}

}  // namespace
