// Actors and effects: cones cut by walls, cameras, characters and their badges,
// takedowns, markers, the detection border and the banner.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render/font.hpp"
#include "tests/render/scene/scene_probe.hpp"

namespace {

using nj::Color;
using namespace nj::test;

constexpr Color kBadgeInner{0.14f, 0.11f, 0.05f, 1};
constexpr Color kGold{0.83f, 0.686f, 0.216f, 1};
constexpr Color kCameraFan{0.22f, 0.74f, 0.97f, 0.28f};

struct Actors : ClearedWorld {
    void SetUp() override {
        ClearedWorld::SetUp();
        game.playerPos = {900, 500};
    }
    nj::Guard& addGuard(float x, float y) {
        nj::Guard g;
        g.x = x;
        g.y = y;
        game.guards.push_back(g);
        return game.guards.back();
    }
};

// The smallest and largest angle of the vertices round (x, y), each at `radius`.
std::pair<float, float> angularSpan(const std::vector<nj::Vertex>& vs, float x, float y,
                                    float radius) {
    float lo = 10, hi = -10;
    for (const nj::Vertex& v : vs) {
        EXPECT_NEAR(std::hypot(v.x - x, v.y - y), radius, 0.01f);
        lo = std::fmin(lo, std::atan2(v.y - y, v.x - x));
        hi = std::fmax(hi, std::atan2(v.y - y, v.x - x));
    }
    return {lo, hi};
}

TEST_F(Actors, AGuardConeStopsAtTheWallInFrontOfItAndIsColouredByItsState) {
    nj::Guard& g = addGuard(100, 100);
    g.fov = 0.2f;     // every edge ray meets the wall's face 50 units ahead
    g.walkPhase = 0;  // no stride bob
    game.walls = {{150, 40, 20, 120}};
    const Color rim{0.98f, 0.76f, 0.32f, 0};
    const auto cut = record(nj::drawGuardVisionCones, game).withColor(rim);
    ASSERT_EQ(cut.size(), 24u * 4u * 2u);  // 24 wedges of 4 triangles, two rim corners each
    for (const nj::Vertex& v : cut) EXPECT_NEAR(std::hypot(v.x - 100, v.y - 100), 49.25f, 0.01f);
    game.walls.clear();  // the open floor: the full view range
    EXPECT_NEAR(boundsOf(record(nj::drawGuardVisionCones, game).withColor(rim)).maxX, 250, 0.01f);

    for (const auto& [state, centre] :
         {std::pair{nj::GuardState::Alert, Color{0.94f, 0.27f, 0.27f, 0.62f}},
          std::pair{nj::GuardState::Searching, Color{0.98f, 0.74f, 0.25f, 0.46f}},
          std::pair{nj::GuardState::Suspicious, Color{0.98f, 0.74f, 0.25f, 0.46f}},
          std::pair{nj::GuardState::Patrol, Color{0.98f, 0.82f, 0.44f, 0.36f}}}) {
        g.state = state;
        EXPECT_EQ(record(nj::drawGuardVisionCones, game).count(centre), 24u * 4u)
            << static_cast<int>(state);
    }
}

TEST_F(Actors, TheOperativesTorchSpansPointNineTwoRadiansAroundItsFacing) {
    game.playerPos = {400, 300};
    game.playerDrawFacing = 1.0f;
    const auto rim = record(nj::drawPlayerLightCone, game).withColor({0.52f, 0.75f, 0.98f, 0});
    ASSERT_EQ(rim.size(), 18u * 4u * 2u);
    const auto [lo, hi] = angularSpan(rim, 400, 300, 118);
    EXPECT_NEAR(lo, 1.0f - 0.46f, 1e-4f);
    EXPECT_NEAR(hi, 1.0f + 0.46f, 1e-4f);
}

TEST_F(Actors, ADownedGuardHasNoConeBadgeOrRouteAndSleeps) {
    nj::Guard& g = addGuard(300, 300);
    g.downed = 1;
    g.marked = 1;
    g.state = nj::GuardState::Alert;
    g.patrol = {{300, 300}, {400, 300}};
    game.playerPos = {320, 300};
    game.approach = nj::Approach::UplinkHack;
    game.animClock = 0.4f;
    EXPECT_TRUE(record(nj::drawGuardVisionCones, game).vertices.empty());
    EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).vertices.empty());
    const Recording r = record(nj::drawGuards, game);
    EXPECT_FALSE(r.has(kBadgeInner));
    EXPECT_FALSE(r.has({0.1f, 0.13f, 0.19f, 1}));  // no standing body
    const auto zzz = record([&](nj::Batch& b) {
                         nj::drawText(b, "ZZZ", 300, 300 - 18 + 2 * std::sin(3 * 0.4f), 0.8f, kGold,
                                      nj::TextAlign::Center);
                     }).vertices;
    EXPECT_TRUE(sameVertices(r.tail(zzz.size()), zzz));
}

// Calm guards ask within 210 of the operative; uneasy ones ask and alert
// ones exclaim at any distance, two badges each.
TEST_F(Actors, BadgesFollowTheGuardsStateAndTheOperativesDistance) {
    nj::Guard& g = addGuard(300, 300);
    const Color ask{0.95f, 0.78f, 0.28f, 1}, warn{0.769f, 0.118f, 0.227f, 1};
    const struct {
        nj::GuardState state;
        float playerX;
        bool badges, asks;
    } cases[] = {
        {nj::GuardState::Patrol, 500, true, true},     {nj::GuardState::Patrol, 509.9f, true, true},
        {nj::GuardState::Patrol, 510, false, false},   {nj::GuardState::Patrol, 520, false, false},
        {nj::GuardState::Suspicious, 900, true, true}, {nj::GuardState::Searching, 900, true, true},
        {nj::GuardState::Alert, 900, true, false}};
    for (const auto& c : cases) {
        g.state = c.state;
        game.playerPos = {c.playerX, 300};
        const Recording r = record(nj::drawGuards, game);
        EXPECT_EQ(r.count(kBadgeInner), c.badges ? 12u : 0u)
            << static_cast<int>(c.state) << " " << c.playerX;
        EXPECT_EQ(r.has(ask), c.asks) << static_cast<int>(c.state) << " " << c.playerX;
    }
    // Diamonds of half-diagonal 6 sqrt 2, centred 22 and 38 above the guard.
    const auto diamonds = record(nj::drawGuards, game).withColor(warn);
    ASSERT_GE(diamonds.size(), 6u);
    const Bounds first = boundsOf({diamonds.begin(), diamonds.begin() + 6});
    EXPECT_NEAR((first.minY + first.maxY) / 2, 278, kPosTol);
    EXPECT_NEAR(boundsOf(diamonds).minY, 262 - 6 * std::sqrt(2.0f), 0.01f);
}

TEST_F(Actors, ACameraFanSpansItsSweepTurnsRedPastAQuarterAndGoesWhenBlind) {
    nj::Camera c;
    c.x = 400;
    c.y = 100;
    c.angle = 1.5f;
    c.sweep = 1.0f;
    game.cameras = {c};
    const auto [lo, hi] = angularSpan(
        record(nj::drawCameras, game).withColor({0.22f, 0.74f, 0.97f, 0}), 400, 100, 140);
    EXPECT_NEAR(lo, 1.0f, 1e-4f);
    EXPECT_NEAR(hi, 2.0f, 1e-4f);
    game.cameras[0].meter = 0.25f;
    EXPECT_EQ(record(nj::drawCameras, game).count(kCameraFan), 16u * 4u);
    game.cameras[0].meter = 0.26f;
    EXPECT_EQ(record(nj::drawCameras, game).count({0.95f, 0.35f, 0.25f, 0.42f}), 16u * 4u);
    game.cameras[0].disabledTime = 0.1f;
    const Recording blind = record(nj::drawCameras, game);
    EXPECT_TRUE(blind.has({0.35f, 0.4f, 0.48f, 1}));  // the grey lamp
    EXPECT_FALSE(blind.has(kCameraFan));
    EXPECT_FALSE(blind.has({0.769f, 0.118f, 0.227f, 1}));
}

TEST_F(Actors, TheOperativeWearsTheThemesStaffSuitWhileTheDisguiseHolds) {
    const Color plain{0.09f, 0.11f, 0.15f, 1};
    const struct {
        nj::Theme theme;
        nj::Approach approach;
        float disguise;
        Color suit;
    } cases[] = {
        {nj::Theme::Embassy, nj::Approach::StaffDisguise, 0.16f, {0.1f, 0.18f, 0.36f, 1}},
        {nj::Theme::Embassy, nj::Approach::StaffDisguise, 0.15f, plain},
        {nj::Theme::Embassy, nj::Approach::ServiceCorridor, 1.0f, plain},
        {nj::Theme::Laboratory, nj::Approach::StaffDisguise, 1.0f, {0.75f, 0.85f, 0.92f, 1}},
        {nj::Theme::Archive, nj::Approach::StaffDisguise, 1.0f, {0.18f, 0.24f, 0.32f, 1}},
        // a theme the game does not know dresses as the archive
        {nj::Theme::Other, nj::Approach::StaffDisguise, 1.0f, {0.18f, 0.24f, 0.32f, 1}}};
    for (const auto& c : cases) {
        game.theme = c.theme;
        game.approach = c.approach;
        game.disguise = c.disguise;
        EXPECT_TRUE(record(nj::drawPlayer, game).has(c.suit))
            << static_cast<int>(c.theme) << " " << c.disguise;
    }
}

TEST_F(Actors, TheOperativeInCoverIsRingedGreenAndLabelled) {
    const Color ring{0.18f, 0.545f, 0.341f, 0.85f};
    game.playerPos = {400, 300};
    game.playerInCover = 1;
    const Recording r = record(nj::drawPlayer, game);
    EXPECT_TRUE(r.has(ring));
    const auto label = record([](nj::Batch& b) {
                           nj::drawText(b, "COVER", 400, 316, 0.7f, {0.18f, 0.545f, 0.341f, 1},
                                        nj::TextAlign::Center);
                       }).vertices;
    EXPECT_TRUE(sameVertices(r.tail(label.size()), label));
    game.playerInCover = 0;
    EXPECT_FALSE(record(nj::drawPlayer, game).has(ring));
}

TEST_F(Actors, TheTakedownRingWidensAndThinsAsTheLungeEnds) {
    game.takedownTo = {200, 200};
    EXPECT_TRUE(record(nj::drawTakedownRing, game).vertices.empty());
    game.takedownTimer = 0.21f;  // halfway: radius 8 + 13, thickness 1.1, alpha 0.5
    const Recording r = record(nj::drawTakedownRing, game);
    ASSERT_EQ(r.vertices.size(), 24u * 6u);
    float inner = 1e9f, outer = 0;
    for (const nj::Vertex& v : r.vertices) {
        inner = std::fmin(inner, std::hypot(v.x - 200, v.y - 200));
        outer = std::fmax(outer, std::hypot(v.x - 200, v.y - 200));
        EXPECT_NEAR(v.color.a, 0.5f, 1e-5f);
    }
    EXPECT_NEAR(outer, 21, 0.01f);
    EXPECT_NEAR(inner, 19.9f, 0.01f);
}

TEST_F(Actors, TheTakedownMarkerNeedsAGuardInReach) {
    addGuard(300, 300);
    EXPECT_TRUE(record(nj::drawTakedownTarget, game).vertices.empty());
    game.takedownTarget = 1;  // out of range
    EXPECT_TRUE(record(nj::drawTakedownTarget, game).vertices.empty());
    game.takedownTarget = 0;
    const Bounds b = boundsOf(record(nj::drawTakedownTarget, game).vertices);
    EXPECT_NEAR((b.minY + b.maxY) / 2, 278, 0.01f);
    EXPECT_NEAR(b.maxX - b.minX, 2 * 8, 0.01f);  // animClock 0: radius 8
}

TEST_F(Actors, PatrolRoutesShowForTaggedGuardsOrAfterTheUplinkHack) {
    nj::Guard& g = addGuard(300, 300);
    g.patrol = {{300, 300}, {400, 300}, {400, 400}};
    const Color route{0.024f, 0.714f, 0.831f, 0.24f}, tag{0.18f, 0.545f, 0.341f, 0.75f};
    EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).vertices.empty());
    game.approach = nj::Approach::UplinkHack;
    Recording r = record(nj::drawObjectiveMarkers, game);
    EXPECT_EQ(r.count(route), 3u * 6u);  // the route closes back on its start
    EXPECT_EQ(r.count(tag), 16u * 6u);
    game.approach = nj::Approach::ServiceCorridor;
    game.guards[0].marked = 1;
    game.guards[0].patrol = {{300, 300}};
    r = record(nj::drawObjectiveMarkers, game);
    EXPECT_EQ(r.count(route), 0u);
    EXPECT_EQ(r.count(tag), 16u * 6u);
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

TEST_F(Actors, TheDetectionBorderAppearsOnlyAboveAQuarter) {
    game.detection = 0.25f;
    EXPECT_TRUE(record(nj::drawDetectionBorder, game).vertices.empty());
    game.detection = 0.65f;
    const Recording r = record(nj::drawDetectionBorder, game);
    ASSERT_EQ(r.vertices.size(), 24u);
    EXPECT_NEAR(r.vertices[0].color.a, 0.18f, 1e-5f);
}

TEST_F(Actors, TheBannerFrameIsInvisibleAtBothEndsAndStrongestHalfway) {
    game.bannerActive = 1;
    game.bannerDuration = 2.0f;
    game.bannerColor = {0.2f, 0.4f, 0.6f, 1};
    for (const float timer : {2.0f, 1e-7f}) {
        game.bannerTimer = timer;
        for (const nj::Vertex& v : record(nj::drawBannerFrame, game).vertices)
            EXPECT_LT(v.color.a, 1e-3f) << timer;
    }
    game.bannerTimer = 1.0f;
    const Recording r = record(nj::drawBannerFrame, game);
    EXPECT_TRUE(r.has({0.2f, 0.4f, 0.6f, 0.95f}));
    // Bands 36 + 24 x 0.5 = 48 deep along every edge.
    EXPECT_NEAR(r.vertices[0].color.a, 0.45f, 1e-5f);
    EXPECT_NEAR(boundsOf({r.vertices.begin(), r.vertices.begin() + 6}).maxY, 48, kPosTol);
    game.bannerActive = 0;
    EXPECT_TRUE(record(nj::drawBannerFrame, game).vertices.empty());
}

}  // namespace
