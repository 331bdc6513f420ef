// The mission chain (card, gate, safe, intel, directive, exits), grades, what a win or loss saves.
#include <cmath>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

constexpr float kTwoPi = 6.28318530718f;

class ObjectiveTest : public GameTest {
  protected:
    // Safe open with the operative beside the terminal (780, 205).
    void openSafeAtTerminal() {
        playAt(760.0f, 205.0f);
        game.cipherAcquired = 1;
        game.onKeyDown(vk::kE);
        ASSERT_TRUE(game.safeActive);
    }
    // Puts the current tumbler `share` of its window's width off centre.
    void alignCurrentTumbler(float share) {
        Tumbler& t = game.tumblers[game.currentTumbler];
        t.angle = t.target + share * t.width;
    }
};

// The page opens the safe from afar (E at the terminal is the playthroughs'), given the card and
// play. The deal follows the mission clock (the playthroughs crack it on exact steps), stays inside
// the dial, and the assist perk slows and widens it.
TEST_F(ObjectiveTest, ThePageOpensTheSafeFromAfarAndTheDealStaysInTheDialAndFollowsThePerk) {
    playAt(100.0f, 100.0f);
    game.triggerSafe();
    EXPECT_FALSE(game.safeActive);
    game.cipherAcquired = 1;
    game.gameState = GameState::Paused;
    game.triggerSafe();
    EXPECT_FALSE(game.safeActive);
    game.gameState = GameState::Playing;
    game.triggerSafe();
    EXPECT_TRUE(game.safeActive);
    const auto deal = [&](float clock, bool assist) {
        game.missionClock = clock;
        game.perkSafeAssist = assist;
        game.openSafe();
        return game.tumblers;
    };
    const auto first = deal(12.3456f, false), assisted = deal(12.3456f, true);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(first[i].angle, 0.0f);
        EXPECT_LT(first[i].angle, kTwoPi);
        EXPECT_EQ(assisted[i].target, first[i].target);
        EXPECT_LT(std::abs(assisted[i].speed), std::abs(first[i].speed));
        EXPECT_GT(assisted[i].width, first[i].width);
    }
}

TEST_F(ObjectiveTest, SafeTurnsOnlyTheCurrentTumblerAndTakesTheKeyboard) {
    openSafeAtTerminal();
    const float a0 = game.tumblers[0].angle, a1 = game.tumblers[1].angle;
    game.update(0.1f);
    EXPECT_NE(game.tumblers[0].angle, a0);
    EXPECT_FLOAT_EQ(game.tumblers[1].angle, a1);

    // Held keys still move the operative; new presses do not register.
    game.onKeyUp(vk::kE);
    hold(vk::kLeft);
    game.onKeyDown(vk::kW);
    EXPECT_EQ(game.heldKeys.count(vk::kW), 0u);
    const float x = game.playerPos.x;
    game.update(0.1f);
    EXPECT_LT(game.playerPos.x, x);
    game.onKeyDown(vk::kEsc);  // closes the safe, no pause
    EXPECT_FALSE(game.safeActive);
    EXPECT_EQ(game.gameState, GameState::Playing);
}

TEST_F(ObjectiveTest, HitsLockTumblersAMissResetsWithNoiseAndThreeHitsDecrypt) {
    game.guards.push_back(guardAt(780.0f, 360.0f, 0.0f));  // 155 from the terminal
    game.guards.push_back(guardAt(780.0f, 390.0f, 0.0f));  // 185: out of earshot
    openSafeAtTerminal();
    alignCurrentTumbler(0.45f);
    game.onKeyDown(vk::kSpace);
    EXPECT_TRUE(game.tumblers[0].locked);
    EXPECT_EQ(game.currentTumbler, 1u);
    EXPECT_EQ(audio.count(CueTick), 1);

    alignCurrentTumbler(-0.55f);
    game.tapTumbler();
    EXPECT_EQ(audio.count(CueBuzz), 1);
    EXPECT_EQ(game.currentTumbler, 0u);
    EXPECT_FALSE(game.tumblers[0].locked);
    EXPECT_TRUE(game.safeActive);
    ASSERT_EQ(game.noiseRings.size(), 1u);
    EXPECT_FLOAT_EQ(game.noiseRings[0].x, 780.0f);
    EXPECT_EQ(game.guards[0].state, nj::GuardState::Suspicious);
    EXPECT_EQ(game.guards[1].state, nj::GuardState::Patrol);

    for (int i = 0; i < 3; ++i) {
        alignCurrentTumbler(-0.1f);
        game.onKeyDown(vk::kE);
    }
    EXPECT_FALSE(game.safeActive);  // what decrypting starts is the playthroughs'
    game.onKeyDown(vk::kE);         // once decrypted, E by the terminal does not reopen it
    EXPECT_FALSE(game.safeActive);
}

// The playthroughs chase the courier, and the informant while it stands.
TEST_F(ObjectiveTest, TheInformantWalksOnlyDuringAnAlarm) {
    Objective& o = directive("informant", 100.0f, 100.0f);
    o.speed = 40.0f;
    o.waypoints = {{200.0f, 100.0f}};
    playAt(800.0f, 500.0f);
    game.detection = 0.3f;
    game.update(0.5f);
    EXPECT_FLOAT_EQ(o.x, 100.0f);
    game.detection = 0.5f;
    game.update(0.5f);
    EXPECT_FLOAT_EQ(o.x, 120.0f);
}

TEST_F(ObjectiveTest, TimedDirectiveFailsTheMissionEvenBesideIt) {
    Objective& o = directive("evidence_burn", 300.0f, 300.0f);
    o.timeLeft = 0.15f;
    playAt(340.0f, 300.0f);  // within 48: E would complete it
    game.update(0.1f);
    EXPECT_TRUE(game.nearObjective);
    game.update(0.1f);
    EXPECT_EQ(game.gameState, GameState::MissionFailed);
    EXPECT_EQ(game.failReason, FailReason::Expired);
    EXPECT_EQ(game.bannerText, "CRITICAL OBJECTIVE EXPIRED // EVIDENCE LOST");
    EXPECT_FALSE(o.done);
    EXPECT_FALSE(std::ifstream("save.dat").good());  // a failure saves nothing
}

// Completion on contact is the playthroughs'; within reach it takes E or Space.
TEST_F(ObjectiveTest, WithinReachADirectiveNeedsAKey) {
    Objective& o = directive("sabotage_node", 300.0f, 300.0f);
    o.timeLeft = 40.0f;
    game.altExitLabel = "ROOF HELIPAD";  // the banner names both ways out
    playAt(340.0f, 300.0f);
    game.update(kDt);
    EXPECT_FALSE(o.done);
    game.heldKeys = {vk::kSpace};
    game.update(kDt);
    EXPECT_TRUE(o.done);
    EXPECT_NE(game.bannerText.find("OR ROOF HELIPAD"), std::string::npos) << game.bannerText;
}

// The campaign playthrough wins the four in order; here, an earlier one won again.
TEST_F(ObjectiveTest, ExitsOpenOnlyAfterTheSafeAndTheDirectiveAndAWinNeverLowersTheUnlock) {
    useCampaign({"{}", "{}", "{}"});
    game.highestUnlocked = 2;
    game.loadMission(true);
    playAt(940.0f, 460.0f);
    game.update(kDt);
    EXPECT_EQ(game.gameState, GameState::Playing);  // safe not cracked
    game.cipherDecrypted = 1;
    Objective& pending = directive("", 100.0f, 0.0f);
    game.update(kDt);
    EXPECT_EQ(game.gameState, GameState::Playing);
    pending.done = 1;
    game.update(kDt);
    ASSERT_EQ(game.gameState, GameState::MissionComplete);
    EXPECT_FALSE(game.usedAltExit);
    EXPECT_EQ(audio.count(CueSuccess), 1);
    EXPECT_EQ(game.highestUnlocked, 2u);
    EXPECT_EQ(test::fileText("save.dat"), "2 470 0 0 0\n1 0 0 0 \n");
    game.gameState = GameState::Paused;  // finishing outside play is ignored
    game.finishMission(true);
    EXPECT_EQ(game.gameState, GameState::Paused);
    EXPECT_EQ(audio.count(CueSuccess), 1);
}

TEST_F(ObjectiveTest, GradeBandsAndAwardThresholds) {
    const struct {
        std::uint32_t spotted;
        float peak, clock;
        bool intel, altExit;
        const char* grade;
        std::int32_t award;
    } cases[] = {
        {0, 0.25f, 10.0f, false, false, "S SHADOW", 150},  // 0.25 is not below 0.25
        {0, 0.26f, 95.0f, false, false, "S SHADOW", 150},  // 95 s is not over 95
        {0, 0.7f, 10.0f, false, true, "S SHADOW", 225},
        {0, 0.3f, 96.0f, false, false, "A OPERATIVE", 150},
        {1, 0.3f, 10.0f, false, false, "B AGENT", 150},
        {2, 0.3f, 10.0f, false, false, "C COMPROMISED", 150},
        {0, 0.0f, 10.0f, true, false, "S+ PHANTOM", 420},
        {9, 1.0f, 500.0f, false, false, "C COMPROMISED", 150},  // far below zero
    };
    for (const auto& c : cases) {
        game.timesSpotted = c.spotted;
        game.peakDetection = c.peak;
        game.missionClock = c.clock;
        game.optionalIntel.done = c.intel;
        game.usedAltExit = c.altExit;
        const Game::Grade g = game.gradeMission();
        SCOPED_TRACE(::testing::Message() << c.spotted << " " << c.peak << " " << c.clock);
        EXPECT_EQ(g.label, c.grade);
        EXPECT_EQ(g.award, c.award);
        // The win screen lists these lines: they must add up to the score.
        EXPECT_EQ(
            100 + g.spottedPoints + g.peakPoints + g.timePoints + g.intelPoints + g.altExitPoints,
            g.score);
    }
}

}  // namespace
}  // namespace nj::testing
