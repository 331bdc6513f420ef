// Guard sight, hearing, alert broadcasts, detection, the smoke escape and
// takedowns.
#include <cmath>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

constexpr float kPi = 3.14159265f;

class GuardTest : public GameTest {};

TEST_F(GuardTest, SightNeedsRangeConeAndAClearLine) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));  // facing +x, range 150
    playAt(300.0f, 300.0f);
    game.update(0.1f);
    EXPECT_NEAR(game.guards[0].suspicion, 0.13f, 1e-5f);
    EXPECT_EQ(game.guards[0].state, nj::GuardState::Suspicious);
    EXPECT_NEAR(game.detection, 0.082f, 1e-5f);

    // Same spot behind a wall: unseen, suspicion fades at 0.4 per second.
    game.walls.push_back({250.0f, 250.0f, 10.0f, 100.0f});
    game.update(0.1f);
    EXPECT_NEAR(game.guards[0].suspicion, 0.09f, 1e-5f);
    EXPECT_NEAR(game.detection, 0.082f - 0.032f, 1e-5f);

    // Out of the cone (half-width 0.575) at an angle of 0.6.
    game.walls.clear();
    playAt(200.0f + 100.0f * std::cos(0.6f), 300.0f + 100.0f * std::sin(0.6f));
    const float before = game.guards[0].suspicion;
    game.update(0.1f);
    EXPECT_LT(game.guards[0].suspicion, before);

    // Cover shortens the reach to 0.58 of the range (87): 95 away is safe.
    Furniture crate;
    crate.x = 295.0f;
    crate.y = 315.0f;  // hiding reach 5 + 18, and clear of the sight line
    crate.w = 10.0f;
    crate.h = 10.0f;
    game.furniture.push_back(crate);
    game.guards[0].suspicion = 0.0f;
    playAt(295.0f, 300.0f);
    game.update(0.1f);  // this step finds the cover
    game.update(0.1f);
    EXPECT_TRUE(game.playerInCover);
    EXPECT_FLOAT_EQ(game.guards[0].suspicion, 0.0f);
}

TEST_F(GuardTest, AnOperativeRightNextToAGuardIsNeverHiddenByWalls) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    game.walls.push_back({202.0f, 290.0f, 8.0f, 20.0f});
    playAt(206.5f, 300.0f);  // 6.5 away: one sample, no sight-line test
    EXPECT_FALSE(game.lineOfSightBlocked({200.0f, 300.0f}, game.playerPos));
    EXPECT_TRUE(game.lineOfSightBlocked({200.0f, 300.0f}, {220.0f, 300.0f}));
}

TEST_F(GuardTest, AbsurdCoordinatesNeitherHangNorCrash) {
    game.walls.push_back({0.0f, 0.0f, 10.0f, 10.0f});
    EXPECT_FALSE(game.lineOfSightBlocked({1e30f, 1e30f}, {-1e30f, 5.0f}));
    EXPECT_FALSE(game.lineOfSightBlocked({NAN, 0.0f}, {0.0f, 0.0f}));
    game.guards.push_back(guardAt(1e30f, -1e30f, 0.0f));
    playAt(1e30f, 1e30f);
    steps(3);
    game.spawnBurst(1e30f, NAN, kGold, 2);
    EXPECT_EQ(game.particles.size(), 2u);
}

TEST_F(GuardTest, BroadcastSpreadsRespondersAroundThePoint) {
    for (int i = 0; i < 10; ++i) game.guards.push_back(guardAt(400.0f + i, 300.0f, 0.0f));
    game.guards[3].downed = 1;                             // never responds
    game.guards.push_back(guardAt(900.0f, 300.0f, 0.0f));  // out of reach
    game.alertNearby({40.0f, 300.0f}, 400.0f);
    EXPECT_TRUE(game.alarmActive);
    EXPECT_FLOAT_EQ(game.alarmTimer, 9.0f);
    // Responders are numbered among themselves: guard 4 is the fourth (k = 3).
    const float expected[][2] = {{68.0f, 300.0f},
                                 {40.0f + std::cos(1.57f) * 28.0f, 328.0f},
                                 {36.0f, 300.0f + std::sin(3.14f) * 28.0f},
                                 {40.0f + std::cos(4.71f) * 28.0f, 272.0f}};
    const int responders[] = {0, 1, 2, 4};
    for (int k = 0; k < 4; ++k) {
        const Guard& g = game.guards[responders[k]];
        EXPECT_NEAR(g.investigateTarget.x, expected[k][0], 0.01f) << k;
        EXPECT_NEAR(g.investigateTarget.y, expected[k][1], 0.01f) << k;
        EXPECT_EQ(g.state, nj::GuardState::Searching);
        EXPECT_FLOAT_EQ(g.investigateTimer, 7.5f);
    }
    EXPECT_EQ(game.guards[3].state, nj::GuardState::Patrol);
    EXPECT_EQ(game.guards[10].state, nj::GuardState::Patrol);
    EXPECT_FLOAT_EQ(game.guards[10].investigateTimer, 0.0f);
}

TEST_F(GuardTest, SearchingGuardsWalkFasterThanSuspiciousOnes) {
    game.guards.push_back(guardAt(100.0f, 100.0f, 0.0f));
    game.guards.push_back(guardAt(100.0f, 400.0f, 0.0f));
    playAt(900.0f, 500.0f);
    game.investigate(game.guards[0], 300.0f, 100.0f, 7.5f);  // long: searching
    game.investigate(game.guards[1], 300.0f, 400.0f, 5.5f);  // short: suspicious
    EXPECT_EQ(game.guards[0].state, nj::GuardState::Searching);
    EXPECT_EQ(game.guards[1].state, nj::GuardState::Suspicious);
    game.update(0.5f);
    EXPECT_NEAR(game.guards[0].x, 100.0f + 50.0f * 1.22f * 0.5f, 1e-3f);
    EXPECT_NEAR(game.guards[1].x, 100.0f + 50.0f * 1.08f * 0.5f, 1e-3f);
}

TEST_F(GuardTest, InvestigatingGuardsKeepClearOfWalls) {
    game.guards.push_back(guardAt(100.0f, 100.0f, 0.0f));
    game.walls.push_back({130.0f, 0.0f, 10.0f, 300.0f});
    playAt(900.0f, 500.0f);
    game.investigate(game.guards[0], 300.0f, 100.0f, 4.0f);
    steps(60);
    EXPECT_LT(game.guards[0].x, 120.0f);
    EXPECT_GE(game.guards[0].x, 119.0f);  // stopped on the step that would come within 10
}

TEST_F(GuardTest, DetectionFailsTheMissionOnTheStepItPasses095) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    playAt(280.0f, 300.0f);
    // 0.82 per second: 70 steps of 1/60 s pass 0.95 (69 reach only 0.943).
    steps(69);
    EXPECT_EQ(game.gameState, GameState::Playing);
    EXPECT_NEAR(game.detection, 69.0f * 0.82f / 60.0f, 1e-4f);
    game.update(kDt);
    EXPECT_EQ(game.gameState, GameState::MissionFailed);
    EXPECT_EQ(audio.count(CueFailure), 1);
    EXPECT_GT(game.peakDetection, 0.95f);
    EXPECT_GE(game.timesSpotted, 1u);
}

TEST_F(GuardTest, SlowDetectionPerkAndDisguiseLowerTheRate) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    playAt(240.0f, 300.0f);
    game.perkSlowDetection = 1;
    game.update(0.1f);
    EXPECT_NEAR(game.detection, 0.82f * 0.75f * 0.1f, 1e-5f);

    game.detection = 0.0f;
    game.perkSlowDetection = 0;
    game.approach = nj::Approach::StaffDisguise;
    game.disguise = 1.0f;
    game.guards[0].suspicion = 0.0f;
    game.update(0.1f);  // standing still: disguised reach 150 * 0.52 = 78, 40 away
    EXPECT_NEAR(game.detection, 0.042f, 1e-5f);
    EXPECT_NEAR(game.guards[0].suspicion, 1.3f * 0.1f * 0.42f, 1e-5f);
    EXPECT_NEAR(game.disguise, 1.0f - 0.045f, 1e-5f);  // drains while seen
}

TEST_F(GuardTest, SmokeEscapeResetsDetectionWhileTheWindowIsOpen) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    game.guards[0].speed = 0.0f;  // keeps staring instead of walking past the operative
    playAt(280.0f, 300.0f);
    hold(vk::kE);
    // Detection rises past 0.68 on step 50 (0.6833); the smoke goes at once.
    steps(49);
    EXPECT_NEAR(game.detection, 49.0f * 0.82f / 60.0f, 1e-4f);
    EXPECT_FALSE(game.smokeWindow);
    game.update(kDt);
    EXPECT_FLOAT_EQ(game.detection, 0.0f);
    EXPECT_FALSE(game.alarmActive);
    EXPECT_FALSE(game.smokeWindow);
    EXPECT_EQ(audio.count(CueHiss), 1);
    EXPECT_EQ(game.puffs.size(), 20u);

    // Without E the window opens, closes after 0.8 s and the mission fails.
    game.heldKeys.clear();
    steps(49);
    game.update(kDt);
    EXPECT_TRUE(game.smokeWindow);
    steps(19);
    EXPECT_EQ(game.gameState, GameState::Playing);
    steps(1);
    EXPECT_EQ(game.gameState, GameState::MissionFailed);
}

TEST_F(GuardTest, AlertGuardsFireWithACooldown) {
    // With the meter already high, a first sighting makes the guard alert
    // without its own broadcast, so it shoots at once.
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    game.detection = 0.6f;
    playAt(300.0f, 300.0f);
    game.update(kDt);
    EXPECT_EQ(game.guards[0].state, nj::GuardState::Alert);
    ASSERT_EQ(game.tracers.size(), 1u);
    EXPECT_FLOAT_EQ(game.guards[0].shotCooldown, 0.65f);
    const Tracer& t = game.tracers[0];
    EXPECT_NEAR(t.x0, 212.0f, 1e-4f);  // muzzle 12 ahead of the guard
    EXPECT_NEAR(std::hypot(t.x1 - 200.0f, t.y1 - 300.0f), 108.0f, 1e-3f);  // 8 past the target
    EXPECT_LE(std::fabs(std::atan2(t.y1 - 300.0f, t.x1 - 200.0f)), 0.14f + 1e-5f);
    ASSERT_EQ(game.impacts.size(), 1u);
    EXPECT_FLOAT_EQ(game.impacts[0].dirX, -1.0f);
    EXPECT_EQ(game.particles.size(), 18u);
    EXPECT_EQ(game.puffs.size(), 4u);
    steps(10);  // cooling down: no second shot yet
    EXPECT_EQ(game.impacts.size(), 1u);
    EXPECT_EQ(game.gameState, GameState::Playing);  // shots only raise the meter through sight
}

TEST_F(GuardTest, TakedownFromBehindAndTheLunge) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));  // facing +x
    playAt(270.0f, 300.0f);                                // 30 behind it
    game.update(kDt);
    EXPECT_EQ(game.takedownTarget, 0);
    game.onKeyDown(vk::kSpace);
    EXPECT_TRUE(game.guards[0].downed);
    EXPECT_EQ(game.takedownTarget, kNoGuard);
    EXPECT_EQ(audio.count(CueThud), 1);
    EXPECT_EQ(game.heldKeys.count(vk::kSpace), 0u);  // consumed
    EXPECT_EQ(game.puffs.size(), 6u);
    steps(30);  // the 0.42 s lunge ends 72 % of the way to the victim
    EXPECT_NEAR(game.playerPos.x, 270.0f + 30.0f * 0.72f, 1e-3f);
    EXPECT_NEAR(game.playerPos.y, 300.0f, 1e-3f);

    // In front of a guard there is no takedown, even very close.
    game.guards.push_back(guardAt(500.0f, 300.0f, kPi));  // faces the operative
    playAt(470.0f, 300.0f);
    game.guards[1].range = 1.0f;
    game.update(kDt);
    EXPECT_EQ(game.takedownTarget, kNoGuard);
    game.onKeyDown(vk::kSpace);
    EXPECT_FALSE(game.guards[1].downed);
    EXPECT_EQ(game.heldKeys.count(vk::kSpace), 1u);
}

TEST_F(GuardTest, AnAlertGuardStillOffersATakedownFromBehind) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));
    game.guards[0].state = nj::GuardState::Alert;
    game.guards[0].suspicion = 1.0f;
    playAt(265.0f, 305.0f);
    game.update(kDt);
    EXPECT_EQ(game.takedownTarget, 0);
}

TEST_F(GuardTest, WitnessedTakedownCostsTheDisguiseButNotDetection) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));
    Guard witness = guardAt(200.0f, 300.0f, 0.0f);
    witness.range = 60.0f;  // too short to see the operative before the takedown
    game.guards.push_back(witness);
    game.approach = nj::Approach::StaffDisguise;
    game.disguise = 1.0f;
    playAt(270.0f, 300.0f);
    game.update(kDt);
    ASSERT_EQ(game.takedownTarget, 0);
    const float detection = game.detection;
    game.guards[1].range = 100.0f;  // now the operative is in its cone and reach
    game.takedown();
    EXPECT_FLOAT_EQ(game.disguise, 0.0f);
    EXPECT_FLOAT_EQ(game.detection, detection);

    // An unseen takedown keeps the disguise.
    game.guards[0].downed = 0;
    game.disguise = 1.0f;
    game.guards[1].facing = kPi;
    game.takedownTarget = 0;
    game.takedown();
    EXPECT_FLOAT_EQ(game.disguise, 1.0f);
}

TEST_F(GuardTest, ADownedColleagueInSightIsDiscoveredOnce) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));
    game.guards.push_back(guardAt(400.0f, 300.0f, 0.0f));
    game.guards[1].downed = 1;
    playAt(100.0f, 500.0f);
    game.update(kDt);
    EXPECT_TRUE(game.guards[1].discovered);
    EXPECT_NEAR(game.detection, 0.25f - 0.32f * kDt, 1e-5f);
    EXPECT_TRUE(game.alarmActive);
    EXPECT_EQ(game.bannerText, "GUARD DISCOVERED UNCONSCIOUS OPERATIVE // SEARCHING");
    EXPECT_EQ(audio.count(CueBuzz), 1);
    game.update(kDt);
    EXPECT_EQ(audio.count(CueBuzz), 1);
}

TEST_F(GuardTest, GuardsInvestigateADoorSeenStandingOpen) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));
    Door door;
    door.x = 380.0f;
    door.y = 290.0f;
    door.w = 10.0f;
    door.h = 20.0f;
    door.openAmount = 0.7f;
    game.doors.push_back(door);
    playAt(100.0f, 500.0f);
    game.update(kDt);
    EXPECT_TRUE(game.doors[0].noticed);
    EXPECT_EQ(game.guards[0].state, nj::GuardState::Suspicious);
    EXPECT_FLOAT_EQ(game.guards[0].investigateTarget.x, 385.0f);
}

TEST_F(GuardTest, BackAndForthPatrolTurnsAtItsLimits) {
    Guard g = guardAt(100.0f, 200.0f, 0.0f);
    g.axis = 'y';
    g.min = 150.0f;
    g.max = 210.0f;
    game.guards.push_back(g);
    playAt(900.0f, 500.0f);
    game.update(0.1f);
    EXPECT_FLOAT_EQ(game.guards[0].y, 205.0f);
    EXPECT_NEAR(game.guards[0].facing, kPi / 2.0f, 1e-6f);
    game.update(0.2f);  // 215 leaves the range: clamp and turn
    EXPECT_FLOAT_EQ(game.guards[0].y, 210.0f);
    EXPECT_FLOAT_EQ(game.guards[0].dir, -1.0f);
    EXPECT_NEAR(game.guards[0].facing, -kPi / 2.0f, 1e-6f);
}

TEST_F(GuardTest, WaypointRoutePausesAndLooksAround) {
    Guard g = guardAt(100.0f, 100.0f, 0.0f);
    g.patrol = {{110.0f, 100.0f}, {110.0f, 200.0f}};
    game.guards.push_back(g);
    playAt(900.0f, 500.0f);
    game.update(0.1f);  // 5 units of the 10
    EXPECT_FLOAT_EQ(game.guards[0].x, 105.0f);
    game.update(0.1f);  // within 6 of the waypoint: next one, and a pause
    EXPECT_EQ(game.guards[0].patrolIndex, 1u);
    EXPECT_FLOAT_EQ(game.guards[0].pauseTimer, 0.85f);
    game.update(0.25f);
    EXPECT_FLOAT_EQ(game.guards[0].pauseTimer, 0.6f);
    EXPECT_NEAR(game.guards[0].lookOffset, std::sin(0.5f * 5.2f) * 0.42f, 1e-5f);
    EXPECT_FLOAT_EQ(game.guards[0].x, 105.0f);
}

}  // namespace
}  // namespace nj::testing
