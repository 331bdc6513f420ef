// Actors by state; cameras, cover and the takedown marker are with the world's states.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/render/scene/scene_probe.hpp"

namespace {

using nj::Color;
using namespace nj::test;

constexpr Color kBadgeInner{0.14f, 0.11f, 0.05f, 1};

struct Actors : ClearedWorld {
    void SetUp() override {
        ClearedWorld::SetUp();
        game.playerPos = {900, 500};
    }
};

// Plain or high contrast, nothing of a cone reaches past the wall in front of the guard.
TEST_F(Actors, AGuardConeStopsAtTheWallInFrontOfItAndIsColouredByItsState) {
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

    // Uneasy guards share a colour; calm and alert ones each have their own.
    const auto cone = [&](nj::GuardState state) {
        g.state = state;
        return record(nj::drawGuardVisionCones, game).vertices;
    };
    EXPECT_TRUE(sameVertices(cone(nj::GuardState::Searching), cone(nj::GuardState::Suspicious)));
    EXPECT_FALSE(sameVertices(cone(nj::GuardState::Patrol), cone(nj::GuardState::Suspicious)));
    EXPECT_FALSE(sameVertices(cone(nj::GuardState::Alert), cone(nj::GuardState::Suspicious)));
    EXPECT_FALSE(sameVertices(cone(nj::GuardState::Alert), cone(nj::GuardState::Patrol)));
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
