// Actors by state and the sight rays that cut their cones; cameras, cover and the takedown
// marker are with the world's states.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/render/scene/scene_probe.hpp"
#include "tests/support/deadline.hpp"

namespace {

using nj::Color;
using namespace nj::test;

// Fields with nothing but what a test adds, the gate well away from the rays.
using Actors = ClearedWorld;

// Samples at 8, 15.5, 23, ... short of the reach; the first inside an obstacle (edge included)
// ends the ray half a step back, never closer than 6. Reaches of 1e30 or infinity once hung the
// first frame; NaN, which no mission holds, ends too.
TEST_F(Actors, ARayStopsHalfAStepBeforeTheFirstSampleInsideAWall) {
    const Deadline deadline(5);
    const float pi = nj::kScenePi, inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* what;
        nj::Wall wall;
        float x, angle, reach, expected;
    } cases[] = {
        {"face at 50, first sample inside at 53", {150, 50, 40, 100}, 100, 0, 200, 49.25f},
        {"a sample on the face is inside", {153, 50, 10, 100}, 100, 0, 200, 49.25f},
        {"just past it, the next sample", {153.5f, 50, 10, 100}, 100, 0, 200, 56.75f},
        {"the first sample inside", {105, 90, 30, 20}, 100, 0, 200, 6.0f},
        {"no further than 8: not looked at", {90, 90, 30, 30}, 100, 0, 8.0f, 8.0f},
        {"just over 8", {90, 90, 30, 30}, 100, 0, 8.01f, 6.0f},
        {"53 is not below 53", {150, 50, 40, 100}, 100, 0, 53.0f, 53.0f},
        {"53 is below 53.01", {150, 50, 40, 100}, 100, 0, 53.01f, 49.25f},
        {"looking away", {150, 50, 40, 100}, 100, pi, 200, 200.0f},
        {"a reach of 1e30", {150, 50, 40, 100}, 100, 0, 1e30f, 49.25f},
        {"an endless reach", {150, 50, 40, 100}, 100, 0, inf, 49.25f},
        {"from far away", {150, 50, 40, 100}, -1e30f, 0, 1e30f, 1e30f},
    };
    for (const auto& c : cases) {
        game.walls = {c.wall};
        EXPECT_FLOAT_EQ(nj::castVisionRay(game, c.x, 100, c.angle, c.reach), c.expected) << c.what;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    (void)nj::castVisionRay(game, nan, nan, nan, nan);
    (void)nj::castVisionRay(game, 100, 100, inf, 500);
}

TEST_F(Actors, DoorsAndTheGateStopSightUntilFourFifthsOpen) {
    for (const auto& [open, expected] : {std::pair{0.79f, 49.25f}, std::pair{0.8f, 200.0f}}) {
        game.doors = {{.x = 150, .y = 80, .w = 12, .h = 40, .openAmount = open}};
        EXPECT_FLOAT_EQ(nj::castVisionRay(game, 100, 100, 0, 200), expected) << "door " << open;
        game.doors.clear();
        game.gate = {150, 80, 24, 140};
        game.gateOpen = open;
        EXPECT_FLOAT_EQ(nj::castVisionRay(game, 100, 100, 0, 200), expected) << "gate " << open;
        clearWorld(game);
    }
}

constexpr Color kBadgeInner{0.14f, 0.11f, 0.05f, 1};

// Plain or high contrast, nothing of a cone reaches past the wall in front of the guard.
TEST_F(Actors, AGuardConeStopsAtTheWallInFrontOfIt) {
    nj::Guard& g = addGuard(100, 100);
    g.fov = 0.2f;  // every edge ray meets the wall's face 50 units ahead
    game.walls = {{150, 40, 20, 120}};
    const Color rim{0.98f, 0.76f, 0.32f, 0};
    const auto cut = record(nj::drawGuardVisionCones, game).withColor(rim);
    ASSERT_FALSE(cut.empty());
    for (const nj::Vertex& v : cut) EXPECT_LT(std::hypot(v.x - 100, v.y - 100), 50);
    const Recording crisp = record(nj::drawGuardVisionConesWith, game, {.highContrastCones = true});
    EXPECT_GT(crisp.vertices.size(), record(nj::drawGuardVisionCones, game).vertices.size());
    // The light spot and the lamp are round glows, not cone: skip those.
    const std::size_t glows = 18 * 3 + 14 * 3;
    for (std::size_t i = 0; i + glows < crisp.vertices.size(); ++i)
        EXPECT_LT(std::hypot(crisp.vertices[i].x - 100, crisp.vertices[i].y - 100), 51) << i;
}

// Calm guards ask within 210 of the operative; uneasy ones ask and alert ones exclaim at any
// distance, two badges each.
TEST_F(Actors, BadgesFollowTheGuardsStateAndTheOperativesDistance) {
    nj::Guard& g = addGuard(300, 300);
    const Color ask{0.95f, 0.78f, 0.28f, 1}, warn{0.769f, 0.118f, 0.227f, 1};
    const struct {
        nj::GuardState state;
        float playerX;
        bool badges, asks;
    } cases[] = {{nj::GuardState::Patrol, 509.9f, true, true},
                 {nj::GuardState::Patrol, 510, false, false},
                 {nj::GuardState::Suspicious, 900, true, true},
                 {nj::GuardState::Alert, 900, true, false}};
    for (const auto& c : cases) {
        g.state = c.state;
        game.playerPos = {c.playerX, 300};
        const Recording r = record(nj::drawGuards, game);
        EXPECT_EQ(r.has(kBadgeInner), c.badges) << static_cast<int>(c.state) << " " << c.playerX;
        EXPECT_EQ(r.has(ask), c.asks) << static_cast<int>(c.state) << " " << c.playerX;
    }
    EXPECT_TRUE(record(nj::drawGuards, game).has(warn));
}

// The staff suit shows from a disguise above 0.15, in the theme's own cut.
TEST_F(Actors, TheOperativeWearsTheThemesStaffSuitWhileTheDisguiseHolds) {
    const auto dressed = [&](nj::Theme theme, float disguise) {
        game.theme = theme;
        game.approach = nj::Approach::StaffDisguise;
        game.disguise = disguise;
        return record(nj::drawPlayer, game).vertices;
    };
    const auto plain = dressed(nj::Theme::Embassy, 0.15f);
    EXPECT_FALSE(sameVertices(dressed(nj::Theme::Embassy, 0.16f), plain));
    EXPECT_FALSE(
        sameVertices(dressed(nj::Theme::Laboratory, 1.0f), dressed(nj::Theme::Archive, 1.0f)));
}

// A downed guard, though marked, alert and close after the hack, shows no route, cone or badge.
TEST_F(Actors, PatrolRoutesShowForTaggedGuardsOrAfterTheUplinkHackUntilDowned) {
    nj::Guard& g = addGuard(300, 300);
    g.patrol = {{300, 300}, {400, 300}, {400, 400}};
    const Color route{0.024f, 0.714f, 0.831f, 0.24f}, tag{0.18f, 0.545f, 0.341f, 0.75f};
    EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).vertices.empty());
    game.approach = nj::Approach::UplinkHack;
    Recording r = record(nj::drawObjectiveMarkers, game);
    EXPECT_TRUE(r.has(route));
    EXPECT_TRUE(r.has(tag));
    game.approach = nj::Approach::ServiceCorridor;
    g.marked = 1;
    g.patrol = {{300, 300}};  // one point: no route to show
    r = record(nj::drawObjectiveMarkers, game);
    EXPECT_FALSE(r.has(route));
    EXPECT_TRUE(r.has(tag));

    g.downed = 1;
    g.state = nj::GuardState::Alert;
    g.patrol = {{300, 300}, {400, 300}};
    game.playerPos = {320, 300};
    game.approach = nj::Approach::UplinkHack;
    EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).vertices.empty());
    EXPECT_TRUE(record(nj::drawGuardVisionCones, game).vertices.empty());
    r = record(nj::drawGuards, game);
    EXPECT_FALSE(r.has(kBadgeInner));
    EXPECT_FALSE(r.has({0.1f, 0.13f, 0.19f, 1}));  // no standing body
}

TEST_F(Actors, TheAlarmPointsOnlySearchingAndAlertGuardsAtItself) {
    game.alarmActive = 1;
    game.alarmTimer = 1;
    game.alarmPos = {500, 300};
    addGuard(100, 100).state = nj::GuardState::Searching;
    addGuard(100, 200).state = nj::GuardState::Alert;
    addGuard(100, 300).state = nj::GuardState::Suspicious;
    nj::Guard& sleeper = addGuard(100, 400);
    sleeper.state = nj::GuardState::Alert;
    sleeper.downed = 1;
    const Color lead{0.769f, 0.118f, 0.227f, 0.28f};
    EXPECT_EQ(record(nj::drawObjectiveMarkers, game).count(lead), 2u * 6u);
    game.alarmTimer = 0;
    EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).vertices.empty());
}

// Drawn, the ghost is one tint at its place (where it stands is its run's tests), just under the
// live operative; a frame without a visible ghost is that frame with the ghost left out.
TEST_F(Actors, TheGhostIsDrawnInItsTintJustUnderTheOperativeAndNothingWithoutIt) {
    game.playerPos = {500, 300};
    game.ghostView = {.visible = true, .x = 300, .y = 200, .facing = 1, .walkPhase = 3};
    const Recording drawn = record(nj::drawGhost, game);
    ASSERT_FALSE(drawn.vertices.empty());
    EXPECT_EQ(drawn.count(nj::ghostTint(1.0f)), drawn.vertices.size());
    const Bounds b = boundsOf(drawn.vertices);
    EXPECT_NEAR((b.minX + b.maxX) / 2, 300, 8.0f);
    EXPECT_NEAR((b.minY + b.maxY) / 2, 200, 8.0f);
    EXPECT_LT(b.maxX - b.minX, 36.0f);

    const std::vector<nj::Vertex> with = record(nj::drawScene, game).vertices;
    game.ghostView.strength = 0.0f;  // faded out
    const std::vector<nj::Vertex> faded = record(nj::drawScene, game).vertices;
    game.ghostView.visible = false;
    const Recording without = record(nj::drawScene, game);
    EXPECT_TRUE(sameVertices(faded, without.vertices));
    // The live operative is drawn right over the ghost.
    const std::size_t player = offsetOf(without, record(nj::drawPlayer, game));
    ASSERT_NE(player, Recording::npos);
    std::vector<nj::Vertex> expected = without.vertices;
    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(player), drawn.vertices.begin(),
                    drawn.vertices.end());
    EXPECT_TRUE(sameVertices(with, expected));
}

}  // namespace
