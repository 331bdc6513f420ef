// Actors and effects: cones cut by walls, cameras, characters and their badges,
// takedowns, markers, tracers, particles, the detection border and the banner.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render/font.hpp"
#include "tests/render/scene/scene_probe.hpp"

namespace {

using nj::Color;
using nj::Game;
using nj::test::boundsOf;
using nj::test::kPosTol;
using nj::test::record;
using nj::test::Recording;

constexpr Color kBadgeInner{0.14f, 0.11f, 0.05f, 1};
constexpr Color kPatrolCone{0.98f, 0.82f, 0.44f, 0.36f};
constexpr Color kGold{0.83f, 0.686f, 0.216f, 1};

struct Actors : ::testing::Test {
    Game game{nullptr, nullptr};
    void SetUp() override {
        nj::test::clearWorld(game);
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

float farthest(const std::vector<nj::Vertex>& vs, float x, float y) {
    float d = 0;
    for (const nj::Vertex& v : vs) d = std::fmax(d, std::hypot(v.x - x, v.y - y));
    return d;
}

TEST_F(Actors, AGuardConeStopsAtTheWallInFrontOfIt) {
    nj::Guard& g = addGuard(100, 100);
    g.fov = 0.2f;     // every edge ray meets the wall's face 50 units ahead
    g.walkPhase = 0;  // no stride bob
    game.walls = {{150, 40, 20, 120}};
    const Recording r = record(nj::drawGuardVisionCones, game);
    const auto rim = r.withColor({0.98f, 0.76f, 0.32f, 0});
    ASSERT_EQ(rim.size(), 24u * 4u * 2u);  // 24 wedges of 4 triangles, two rim corners each
    for (const nj::Vertex& v : rim) EXPECT_NEAR(std::hypot(v.x - 100, v.y - 100), 49.25f, 0.01f);

    game.walls.clear();  // the open floor: the full view range
    EXPECT_NEAR(farthest(record(nj::drawGuardVisionCones, game).withColor({0.98f, 0.76f, 0.32f, 0}),
                         100, 100),
                150, 0.01f);
}

TEST_F(Actors, ConeColoursFollowTheGuardsState) {
    nj::Guard& g = addGuard(100, 100);
    using nj::GuardState;
    for (const auto& [state, centre] :
         {std::pair{GuardState::Alert, Color{0.94f, 0.27f, 0.27f, 0.62f}},
          std::pair{GuardState::Searching, Color{0.98f, 0.74f, 0.25f, 0.46f}},
          std::pair{GuardState::Suspicious, Color{0.98f, 0.74f, 0.25f, 0.46f}},
          std::pair{GuardState::Patrol, kPatrolCone}}) {
        g.state = state;
        EXPECT_EQ(record(nj::drawGuardVisionCones, game).count(centre), 24u * 4u)
            << static_cast<int>(state);
    }
}

TEST_F(Actors, TheOperativesTorchSpansPointNineTwoRadiansAroundItsFacing) {
    game.playerPos = {400, 300};
    game.playerDrawFacing = 1.0f;
    const Recording r = record(nj::drawPlayerLightCone, game);
    const auto rim = r.withColor({0.52f, 0.75f, 0.98f, 0});
    ASSERT_EQ(rim.size(), 18u * 4u * 2u);
    float lo = 10, hi = -10;
    for (const nj::Vertex& v : rim) {
        EXPECT_NEAR(std::hypot(v.x - 400, v.y - 300), 118, 0.01f);
        const float a = std::atan2(v.y - 300, v.x - 400);
        lo = std::fmin(lo, a);
        hi = std::fmax(hi, a);
    }
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
    EXPECT_TRUE(nj::test::sameVertices(r.tail(zzz.size()), zzz));
}

TEST_F(Actors, CalmGuardsShowQuestionBadgesOnlyWithinRangeOfTheOperative) {
    addGuard(300, 300);
    const auto badges = [&](float playerX) {
        game.playerPos = {playerX, 300};
        return record(nj::drawGuards, game).count(kBadgeInner) / 6;
    };
    EXPECT_EQ(badges(500), 2u);  // 200 away
    EXPECT_EQ(badges(509.9f), 2u);
    EXPECT_EQ(badges(510), 0u);  // 210 is no longer closer than 210
    EXPECT_EQ(badges(520), 0u);
}

TEST_F(Actors, UneasyGuardsShowQuestionsAndAlertGuardsExclamationsAtAnyDistance) {
    nj::Guard& g = addGuard(300, 300);
    const Color ask{0.95f, 0.78f, 0.28f, 1}, warn{0.769f, 0.118f, 0.227f, 1};
    for (const nj::GuardState state : {nj::GuardState::Suspicious, nj::GuardState::Searching}) {
        g.state = state;
        const Recording r = record(nj::drawGuards, game);
        EXPECT_EQ(r.count(kBadgeInner), 12u) << static_cast<int>(state);
        EXPECT_TRUE(r.has(ask)) << static_cast<int>(state);
    }
    g.state = nj::GuardState::Alert;
    const Recording r = record(nj::drawGuards, game);
    EXPECT_EQ(r.count(kBadgeInner), 12u);
    EXPECT_FALSE(r.has(ask));
    // Diamonds of half-diagonal 6 sqrt 2, centred 22 and 38 above the guard.
    const auto first = r.withColor(warn);
    ASSERT_GE(first.size(), 6u);
    const nj::test::Bounds firstBadge = boundsOf({first.begin(), first.begin() + 6});
    EXPECT_NEAR((firstBadge.minY + firstBadge.maxY) / 2, 278, kPosTol);
    const nj::test::Bounds all = boundsOf(first);
    EXPECT_NEAR(all.minY, 262 - 6 * std::sqrt(2.0f), 0.01f);
    EXPECT_NEAR(all.maxY, 278 + 6 * std::sqrt(2.0f), 0.01f);
}

TEST_F(Actors, ABlindCameraShowsAGreyLampAndNoFan) {
    nj::Camera c;
    c.x = 400;
    c.y = 100;
    c.disabledTime = 0.1f;
    game.cameras = {c};
    Recording r = record(nj::drawCameras, game);
    EXPECT_TRUE(r.has({0.35f, 0.4f, 0.48f, 1}));
    EXPECT_FALSE(r.has({0.22f, 0.74f, 0.97f, 0.28f}));
    EXPECT_FALSE(r.has({0.769f, 0.118f, 0.227f, 1}));

    game.cameras[0].disabledTime = 0;
    r = record(nj::drawCameras, game);
    EXPECT_EQ(r.count({0.22f, 0.74f, 0.97f, 0.28f}), 16u * 4u);
    EXPECT_TRUE(r.has({0.769f, 0.118f, 0.227f, 1}));
    // Only past a quarter of its meter does the fan turn red.
    game.cameras[0].meter = 0.25f;
    EXPECT_EQ(record(nj::drawCameras, game).count({0.22f, 0.74f, 0.97f, 0.28f}), 64u);
    game.cameras[0].meter = 0.26f;
    EXPECT_EQ(record(nj::drawCameras, game).count({0.95f, 0.35f, 0.25f, 0.42f}), 64u);
}

TEST_F(Actors, ACameraFanSpansItsSweepAroundItsHeading) {
    nj::Camera c;
    c.x = 400;
    c.y = 100;
    c.angle = 1.5f;
    c.sweep = 1.0f;
    c.range = 140;
    game.cameras = {c};
    const auto rim = record(nj::drawCameras, game).withColor({0.22f, 0.74f, 0.97f, 0});
    ASSERT_FALSE(rim.empty());
    float lo = 10, hi = -10;
    for (const nj::Vertex& v : rim) {
        const float a = std::atan2(v.y - 100, v.x - 400);
        lo = std::fmin(lo, a);
        hi = std::fmax(hi, a);
        EXPECT_NEAR(std::hypot(v.x - 400, v.y - 100), 140, 0.01f);
    }
    EXPECT_NEAR(lo, 1.0f, 1e-4f);
    EXPECT_NEAR(hi, 2.0f, 1e-4f);
}

TEST_F(Actors, TheOperativeWearsTheThemesStaffSuitWhileTheDisguiseHolds) {
    game.theme = nj::Theme::Embassy;
    const Color staff{0.1f, 0.18f, 0.36f, 1}, plain{0.09f, 0.11f, 0.15f, 1};
    game.approach = nj::Approach::StaffDisguise;
    game.disguise = 0.16f;
    EXPECT_TRUE(record(nj::drawPlayer, game).has(staff));
    game.disguise = 0.15f;
    EXPECT_TRUE(record(nj::drawPlayer, game).has(plain));
    game.disguise = 1.0f;
    game.approach = nj::Approach::ServiceCorridor;
    EXPECT_TRUE(record(nj::drawPlayer, game).has(plain));
    game.approach = nj::Approach::StaffDisguise;
    game.theme = nj::Theme::Laboratory;
    EXPECT_TRUE(record(nj::drawPlayer, game).has({0.75f, 0.85f, 0.92f, 1}));
    game.theme = nj::Theme::Archive;
    EXPECT_TRUE(record(nj::drawPlayer, game).has({0.18f, 0.24f, 0.32f, 1}));
    game.theme = nj::Theme::Other;  // a theme the game does not know dresses as the archive
    EXPECT_TRUE(record(nj::drawPlayer, game).has({0.18f, 0.24f, 0.32f, 1}));
}

TEST_F(Actors, TheOperativesHeadLeadsAlongItsFacing) {
    game.playerPos = {400, 300};
    for (const float facing : {0.0f, 1.2f, -2.5f}) {
        game.playerDrawFacing = facing;
        const auto skin = record(nj::drawPlayer, game).withColor({0.84f, 0.65f, 0.48f, 1});
        const nj::test::Bounds b = boundsOf(skin);
        EXPECT_NEAR((b.minX + b.maxX) / 2, 400 + 6.5f * std::cos(facing), 0.05f) << facing;
        EXPECT_NEAR((b.minY + b.maxY) / 2, 300 + 6.5f * std::sin(facing), 0.05f) << facing;
    }
}

TEST_F(Actors, TheOperativeInCoverIsRingedGreenAndLabelled) {
    game.playerPos = {400, 300};
    game.playerInCover = 1;
    const Recording r = record(nj::drawPlayer, game);
    EXPECT_TRUE(r.has({0.18f, 0.545f, 0.341f, 0.85f}));
    const auto label = record([](nj::Batch& b) {
                           nj::drawText(b, "COVER", 400, 316, 0.7f, {0.18f, 0.545f, 0.341f, 1},
                                        nj::TextAlign::Center);
                       }).vertices;
    EXPECT_TRUE(nj::test::sameVertices(r.tail(label.size()), label));
    game.playerInCover = 0;
    EXPECT_FALSE(record(nj::drawPlayer, game).has({0.18f, 0.545f, 0.341f, 0.85f}));
}

TEST_F(Actors, TheTakedownRingWidensAndThinsAsTheLungeEnds) {
    game.takedownTo = {200, 200};
    EXPECT_TRUE(record(nj::drawTakedownRing, game).vertices.empty());
    game.takedownTimer = 0.21f;  // halfway: radius 8 + 13, thickness 1.1, alpha 0.5
    const Recording r = record(nj::drawTakedownRing, game);
    ASSERT_EQ(r.vertices.size(), 24u * 6u);
    float inner = 1e9f, outer = 0;
    for (const nj::Vertex& v : r.vertices) {
        const float d = std::hypot(v.x - 200, v.y - 200);
        inner = std::fmin(inner, d);
        outer = std::fmax(outer, d);
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
    const nj::test::Bounds b = boundsOf(record(nj::drawTakedownTarget, game).vertices);
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

TEST_F(Actors, NoiseRingsFadeWithTheirLife) {
    game.noiseRings.push_back({200, 200, 30, 60, 0.5f, 1.0f, 1});
    game.noiseRings.push_back({400, 200, 30, 60, 0.25f, 1.0f, 0});
    const Recording r = record(nj::drawObjectiveMarkers, game);
    EXPECT_EQ(r.count({0.83f, 0.686f, 0.216f, 0.325f}), 28u * 6u);
    EXPECT_EQ(r.count({0.18f, 0.545f, 0.341f, 0.1625f}), 28u * 6u);
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

TEST_F(Actors, TheSecondDirectiveIsColouredByItsType) {
    nj::Objective& o = game.dynamicObjective;
    o.active = 1;
    o.x = 300;
    o.y = 300;
    using nj::ObjectiveType;
    for (const auto& [type, colour] :
         {std::pair{ObjectiveType::Informant, Color{0.18f, 0.545f, 0.341f, 1}},
          std::pair{ObjectiveType::Courier, kGold},
          std::pair{ObjectiveType::SabotageNode, Color{0.769f, 0.118f, 0.227f, 1}},
          std::pair{ObjectiveType::EvidenceBurn, Color{0.769f, 0.118f, 0.227f, 1}},
          std::pair{ObjectiveType::Other, Color{0.769f, 0.118f, 0.227f, 1}}}) {
        o.type = type;
        EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).has(colour)) << static_cast<int>(type);
    }
    o.done = 1;
    EXPECT_TRUE(record(nj::drawObjectiveMarkers, game).vertices.empty());
}

TEST_F(Actors, TracersAndParticlesGlowAdditivelyThenHandBackToAlpha) {
    game.tracers.push_back({100, 100, 200, 100, 0.5f, 1.0f, 1});
    game.particles.push_back({300, 300, 40, 0, 0.25f, 0.5f, 2.0f, 0.2f, 0.4f, 0.6f});
    for (const auto step : {&nj::drawTracers, &nj::drawParticles}) {
        const Recording r = record(step, game);
        ASSERT_FALSE(r.vertices.empty());
        for (std::size_t i = 0; i < r.vertices.size(); ++i) EXPECT_TRUE(r.additive[i]);
        EXPECT_FALSE(r.additiveAtEnd);
    }
    EXPECT_TRUE(record(nj::drawTracers, game).has({0.55f, 0.88f, 1.0f, 0.425f}));
    const Recording sparks = record(nj::drawParticles, game);
    EXPECT_TRUE(sparks.has({0.2f, 0.4f, 0.6f, 0.425f}));  // the streak
    const auto streak = sparks.withColor({0.2f, 0.4f, 0.6f, 0.425f});
    EXPECT_NEAR(boundsOf(streak).minX, 299, kPosTol);  // 0.025 s of travel behind
}

TEST_F(Actors, SmokeFromATakedownHasADarkCore) {
    game.puffs.push_back({200, 200, 0, 0, 10, 0.5f, 1.0f, 1});
    const Recording r = record(nj::drawSmoke, game);
    EXPECT_TRUE(r.has({0.18f, 0.22f, 0.28f, 0.85f * 0.21f}));
    EXPECT_TRUE(r.has({0.76f, 0.82f, 0.9f, 0.21f}));
    game.puffs[0].flag = 0;
    EXPECT_FALSE(record(nj::drawSmoke, game).has({0.18f, 0.22f, 0.28f, 0.85f * 0.21f}));
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
    const nj::test::Bounds firstBand = boundsOf({r.vertices.begin(), r.vertices.begin() + 6});
    EXPECT_NEAR(firstBand.maxY, 48, kPosTol);
    game.bannerActive = 0;
    EXPECT_TRUE(record(nj::drawBannerFrame, game).vertices.empty());
}

}  // namespace
