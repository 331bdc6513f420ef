// Guard sight, hearing, broadcasts, detection, smoke and takedowns. Patrols,
// the takedown's lunge and the disguised detection rate are the playthroughs'.
#include <cmath>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

constexpr float kPi = 3.14159265f;

class GuardTest : public GameTest {};

// Walls and the cone's width are the playthroughs' (their routes pass just outside).
TEST_F(GuardTest, SightRaisesSuspicionAndCoverShortensItsReach) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));  // facing +x, range 150
    playAt(300.0f, 300.0f);
    game.update(0.1f);
    const float seen = game.guards[0].suspicion, detection = game.detection;
    EXPECT_EQ(stateOf(game.guards[0]), "suspicious");

    playAt(200.0f, 500.0f);
    game.update(0.1f);
    EXPECT_LT(game.guards[0].suspicion, seen);  // so both had risen in sight
    EXPECT_LT(game.detection, detection);

    // Cover cuts the reach to 87 (mission 3's route hides on it), no more: 75 away is seen.
    game.furniture.push_back({.x = 275.0f, .y = 315.0f, .w = 10.0f, .h = 10.0f});
    playAt(275.0f, 300.0f);
    game.update(0.1f);
    game.guards[0].suspicion = 0.0f;
    game.update(0.1f);
    EXPECT_TRUE(game.playerInCover);
    EXPECT_GT(game.guards[0].suspicion, 0.0f);

    // 6.5 away is a single sample: a wall between can never hide the operative.
    game.walls.push_back({202.0f, 290.0f, 8.0f, 20.0f});
    EXPECT_FALSE(game.lineOfSightBlocked({200.0f, 300.0f}, {206.5f, 300.0f}));
    EXPECT_TRUE(game.lineOfSightBlocked({200.0f, 300.0f}, {220.0f, 300.0f}));
}

TEST_F(GuardTest, BroadcastSendsTheGuardsInReachToSearch) {
    for (int i = 0; i < 3; ++i) game.guards.push_back(guardAt(400.0f + i, 300.0f, 0.0f));
    game.guards[1].downed = 1;                             // never responds
    game.guards.push_back(guardAt(900.0f, 300.0f, 0.0f));  // out of reach
    game.alertNearby({40.0f, 300.0f}, 400.0f);
    EXPECT_TRUE(game.alarmActive);
    for (int i : {0, 2}) EXPECT_EQ(stateOf(game.guards[i]), "searching");
    // The downed guard is not counted: guard 2 is the second responder.
    EXPECT_NEAR(game.guards[2].investigateTarget.y, 328.0f, 0.01f);
    for (int i : {1, 3}) EXPECT_EQ(stateOf(game.guards[i]), "patrol") << i;
}

TEST_F(GuardTest, RespondersFanOutAroundThePointButStayInTheField) {
    // The k-th responder heads 28 from the point at k * 1.57 rad, kept within
    // 36..924 across and 64..504 down: one case per side.
    const struct {
        Vec2 point;
        int k;
        Vec2 target;
    } cases[] = {{{400.0f, 300.0f}, 0, {428.0f, 300.0f}},
                 {{40.0f, 300.0f}, 2, {36.0f, 300.0f + std::sin(3.14f) * 28.0f}},
                 {{910.0f, 300.0f}, 0, {924.0f, 300.0f}},
                 {{400.0f, 70.0f}, 3, {400.0f + std::cos(4.71f) * 28.0f, 64.0f}},
                 {{400.0f, 490.0f}, 1, {400.0f + std::cos(1.57f) * 28.0f, 504.0f}}};
    for (const auto& c : cases) {
        game.guards.assign(c.k + 1, guardAt(c.point.x, c.point.y, 0.0f));
        game.alertNearby(c.point, 100.0f);
        const Vec2 t = game.guards[c.k].investigateTarget;
        EXPECT_NEAR(t.x, c.target.x, 0.01f) << c.point.x << "," << c.point.y << " k " << c.k;
        EXPECT_NEAR(t.y, c.target.y, 0.01f) << c.point.x << "," << c.point.y << " k " << c.k;
    }
}

// The suspicious pace and keeping clear of walls are mission 3's route's.
TEST_F(GuardTest, SearchingGuardsWalkFasterThanSuspiciousOnes) {
    game.guards.push_back(guardAt(100.0f, 100.0f, 0.0f));
    game.guards.push_back(guardAt(100.0f, 400.0f, 0.0f));
    playAt(900.0f, 500.0f);
    game.investigate(game.guards[0], 300.0f, 100.0f, 7.5f);  // long: searching
    game.investigate(game.guards[1], 300.0f, 400.0f, 5.5f);  // short: suspicious
    EXPECT_EQ(stateOf(game.guards[0]), "searching");
    EXPECT_EQ(stateOf(game.guards[1]), "suspicious");
    game.update(0.5f);
    EXPECT_GT(game.guards[0].x, game.guards[1].x);
}

TEST_F(GuardTest, SmokeEscapeResetsDetectionWhileTheWindowIsOpen) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    game.guards[0].speed = 0.0f;  // keeps staring instead of walking past the operative
    playAt(280.0f, 300.0f);
    hold(vk::kE);  // held: the smoke goes on the step the window opens
    float before = 0.0f;
    for (int i = 0; i < 200 && audio.count(CueHiss) == 0; ++i) {
        before = game.detection;
        game.update(kDt);
    }
    EXPECT_GT(before, 0.6f);  // not before the meter is high
    EXPECT_FLOAT_EQ(game.detection, 0.0f);
    EXPECT_FALSE(game.alarmActive);
    EXPECT_FALSE(game.smokeWindow);
    EXPECT_FALSE(game.puffs.empty());
}

// With the meter already high, a first sighting makes the guard alert and
// shoot at once; shots only raise the meter through sight.
TEST_F(GuardTest, AlertGuardsFireWithACooldownAndDetectionFailsTheMissionPast095) {
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    game.detection = 0.6f;
    playAt(300.0f, 300.0f);
    game.update(kDt);
    EXPECT_EQ(stateOf(game.guards[0]), "alert");
    ASSERT_EQ(game.tracers.size(), 1u);
    ASSERT_EQ(game.impacts.size(), 1u);
    steps(10);
    EXPECT_EQ(game.impacts.size(), 1u);
    ASSERT_EQ(game.gameState, GameState::Playing);

    float before = 0.0f;  // detection fails the mission on the step it passes 0.95
    for (int i = 0; i < 200 && game.gameState == GameState::Playing; ++i) {
        before = game.detection;
        game.update(kDt);
    }
    ASSERT_EQ(game.gameState, GameState::MissionFailed);
    EXPECT_LE(before, 0.95f);
    EXPECT_EQ(audio.count(CueFailure), 1);
    EXPECT_GT(game.peakDetection, 0.95f);
    EXPECT_GE(game.timesSpotted, 1u);
}

TEST_F(GuardTest, TakedownNeedsTheOperativeCloseAndInsideTheConeBehind) {
    // Guard at (300, 300) facing +x; the operative at `distance` from it, `off`
    // radians round from straight behind. The cone behind is 1.2 rad each side.
    const struct {
        float distance, off;
        bool offered;
    } cases[] = {
        {30.0f, 1.15f, true},   {30.0f, -1.15f, true}, {30.0f, 1.25f, false},
        {30.0f, -1.25f, false}, {41.0f, 0.0f, true},   {43.0f, 0.0f, false},
    };
    for (const auto& c : cases) {
        for (bool alert : {false, true}) {  // alert guards can be taken down as well
            game.guards = {guardAt(300.0f, 300.0f, 0.0f)};
            game.guards[0].range = 1.0f;  // blind, so only the takedown rule acts
            if (alert) {                  // still searching where it stands, so it stays alert
                game.guards[0].state = GuardState::Alert;
                game.guards[0].investigateTimer = 5.0f;
                game.guards[0].investigateTarget = {300.0f, 300.0f};
            }
            playAt(300.0f + c.distance * std::cos(kPi + c.off),
                   300.0f + c.distance * std::sin(kPi + c.off));
            game.update(kDt);
            EXPECT_EQ(game.takedownTarget, c.offered ? 0 : kNoGuard)
                << c.distance << " at " << c.off << (alert ? " alert" : "");
        }
    }
}

// Space takes the offered guard down and is consumed; a witness costs the
// disguise but not detection, and an unseen takedown keeps it.
TEST_F(GuardTest, TakedownKnocksOutAndAWitnessCostsTheDisguise) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));
    game.guards.push_back(guardAt(200.0f, 300.0f, 0.0f));
    game.guards[1].range = 60.0f;  // the witness: too short to see the operative before
    useApproach(1);
    game.disguise = 1.0f;
    playAt(270.0f, 300.0f);
    game.update(kDt);
    ASSERT_EQ(game.takedownTarget, 0);
    game.onKeyDown(vk::kSpace);
    EXPECT_TRUE(game.guards[0].downed);
    EXPECT_EQ(audio.count(CueThud), 1);
    EXPECT_EQ(game.heldKeys.count(vk::kSpace), 0u);
    EXPECT_FLOAT_EQ(game.disguise, 1.0f);
    game.onKeyDown(vk::kSpace);  // nobody to take down: just held
    EXPECT_EQ(game.heldKeys.count(vk::kSpace), 1u);

    game.guards[0].downed = 0;
    game.takedownTarget = 0;
    const float detection = game.detection;
    game.guards[1].range = 100.0f;  // now the operative is in its cone and reach
    game.takedown();
    EXPECT_FLOAT_EQ(game.disguise, 0.0f);
    EXPECT_FLOAT_EQ(game.detection, detection);
}

TEST_F(GuardTest, ADownedColleagueInSightIsDiscoveredOnceAndAnOpenDoorInvestigated) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));
    game.guards.push_back(guardAt(400.0f, 300.0f, 0.0f));
    game.guards[1].downed = 1;
    playAt(100.0f, 500.0f);
    game.update(kDt);
    EXPECT_TRUE(game.guards[1].discovered);
    EXPECT_GT(game.detection, 0.0f);
    EXPECT_TRUE(game.alarmActive);
    EXPECT_EQ(game.bannerText, "GUARD DISCOVERED UNCONSCIOUS OPERATIVE // SEARCHING");
    game.update(kDt);
    EXPECT_EQ(audio.count(CueBuzz), 1);

    game.guards = {guardAt(300.0f, 300.0f, 0.0f)};
    game.doors.push_back({.x = 380.0f, .y = 290.0f, .w = 10.0f, .h = 20.0f, .openAmount = 0.7f});
    game.update(kDt);
    EXPECT_TRUE(game.doors[0].noticed);
    EXPECT_EQ(stateOf(game.guards[0]), "suspicious");
    EXPECT_FLOAT_EQ(game.guards[0].investigateTarget.x, 385.0f);
}

TEST_F(GuardTest, TheDrawnFacingTurnsAtTenTimesTheGapPerSecondAndNeverOvershoots) {
    game.guards.push_back(guardAt(300.0f, 300.0f, 0.0f));  // stands, facing +x
    playAt(900.0f, 500.0f);
    // From 1 rad off: a step closes 10 * dt of the gap, and all of it from 0.1 s on.
    const struct {
        float dt, drawnAfter;
    } turns[] = {{0.05f, 0.5f}, {0.0999f, 0.001f}, {0.2f, 0.0f}};
    for (const auto& s : turns) {
        game.guards[0].drawFacing = 1.0f;
        game.update(s.dt);
        EXPECT_NEAR(game.guards[0].drawFacing, s.drawnAfter, 1e-5f) << s.dt;
    }
}

}  // namespace
}  // namespace nj::testing
