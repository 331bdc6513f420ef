// Game states, keys, page commands, mission selection, approaches and the bonuses a win carries.
#include <cmath>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

// Something for each approach and bonus to act on.
const char* const kDeviceMission = R"({"name": "TEST SITE", "theme": "casino",
  "player": {"x": 100, "y": 300}, "serviceSpawn": {"x": 70, "y": 80},
  "backstageSpawn": {"x": 250, "y": 480}, "keycards": [{"x": 120, "y": 300, "color": "cyan"}],
  "doors": [{"x": 400, "y": 100, "w": 10, "h": 60, "color": "cyan"},
            {"x": 500, "y": 100, "w": 10, "h": 60, "color": "ruby"},
            {"x": 600, "y": 100, "w": 10, "h": 60}],
  "cameras": [{"x": 10, "y": 10}, {"x": 20, "y": 20}],
  "lasers": [{"x": 700, "y": 50, "w": 4, "h": 80, "speed": 40, "min": 40, "max": 90}],
  "guards": [{"x": 800, "y": 400, "speed": 50}, {"x": 820, "y": 400, "speed": 50},
             {"x": 840, "y": 400, "speed": 50}]})";

class FlowTest : public GameTest {};

// That pause freezes the operative is the sim_default_walk run's; effects still expire.
TEST_F(FlowTest, AZeroStepAndTheDossierFreezeTheRulesButEffectsExpire) {
    playAt(300.0f, 300.0f);
    hold(vk::kD);
    game.update(0.0f);
    EXPECT_FLOAT_EQ(game.playerPos.x, 300.0f);
    game.onKeyDown(vk::kTab);
    ASSERT_EQ(game.gameState, GameState::Briefing);
    game.update(0.05f);
    EXPECT_FLOAT_EQ(game.missionClock, 0.0f);

    game.spawnBurst(123.0f, 45.0f, kRuby, 10);
    game.emitNoise(50.0f, 50.0f, 100.0f, false);
    steps(120);
    EXPECT_TRUE(game.noiseRings.empty());
    EXPECT_TRUE(game.particles.empty());
}

// A failed mission ignores Esc; Enter retries, and in play Enter is only held.
TEST_F(FlowTest, EachWayOfFailingIsNamedAndARetryForgetsIt) {
    for (const FailReason reason : {FailReason::Laser, FailReason::Detected}) {
        game.loadMission(true);
        EXPECT_EQ(game.failReason, FailReason::None);
        game.lasers.clear();  // the built-in mission is not rebuilt after a failure
        game.dynamicObjective = Objective{};
        playAt(300.0f, 300.0f);
        if (reason == FailReason::Laser) game.lasers.push_back({290.0f, 280.0f, 20.0f, 40.0f});
        if (reason == FailReason::Detected) game.detection = 0.99f;
        game.update(kDt);
        ASSERT_EQ(game.gameState, GameState::MissionFailed) << static_cast<int>(reason);
        EXPECT_EQ(game.failReason, reason);
        game.update(kDt);  // a failed mission stays failed for the same reason
        EXPECT_EQ(game.failReason, reason);
        if (reason == FailReason::Laser) {  // DOSSIER (Tab) leaves no run waiting
            game.onKeyDown(vk::kTab);
            EXPECT_EQ(game.gameState, GameState::Briefing);
            EXPECT_FALSE(game.missionWaiting());
            EXPECT_EQ(game.failReason, FailReason::None);
        }
    }
    game.onKeyDown(vk::kEsc);
    EXPECT_EQ(game.gameState, GameState::MissionFailed);
    EXPECT_EQ(quits, 0);
    game.onKeyDown(vk::kEnter);
    EXPECT_EQ(game.gameState, GameState::Playing);
    EXPECT_EQ(game.failReason, FailReason::None);
    game.onKeyDown(vk::kEnter);
    EXPECT_EQ(game.heldKeys.count(vk::kEnter), 1u);
    game.onKeyUp(vk::kEnter);
    EXPECT_TRUE(game.heldKeys.empty());
    game.onKeyDown(vk::kEsc);
    EXPECT_EQ(game.gameState, GameState::Paused);
}

TEST_F(FlowTest, WithNoCampaignAWinIsReplayedFromScratchAndNothingIsSaved) {
    game.recordsPath = "records.json";
    game.onKeyDown(vk::kEnter);
    ASSERT_EQ(game.gameState, GameState::Playing);
    const Vec2 start = game.playerPos;
    game.cipherAcquired = game.cipherDecrypted = game.cardTaken = 1;
    game.gateOpen = 1.0f;
    playAt(game.exit.x + 20.0f, game.exit.y + 20.0f);
    game.update(kDt);
    ASSERT_EQ(game.gameState, GameState::MissionComplete);
    EXPECT_FALSE(game.campaignComplete());

    game.onKeyDown(vk::kEnter);  // next operation: the built-in one again, no campaign's end
    EXPECT_FALSE(game.campaignEndShown);
    EXPECT_EQ(game.missionIndex, 0u);
    game.onKeyDown(vk::kEnter);
    ASSERT_EQ(game.gameState, GameState::Playing);
    EXPECT_FALSE(game.cipherDecrypted);
    EXPECT_FLOAT_EQ(game.playerPos.x, start.x);
    steps(30);
    EXPECT_EQ(game.gameState, GameState::Playing) << "no instant re-win";
    EXPECT_FALSE(std::filesystem::exists("save.dat")) << "the built-in mission saves no progress";
    EXPECT_FALSE(std::filesystem::exists("records.json"));
}

// With a mission waiting on the dossier, P or Esc asks first; the same key
// again quits, Enter or Tab resumes, and no other dossier key acts meanwhile.
TEST_F(FlowTest, QuittingWithAMissionWaitingAsksFirst) {
    for (const std::uint32_t askKey : {vk::kP, vk::kEsc}) {
        for (const std::uint32_t answer : {vk::kEnter, vk::kTab, vk::kP, vk::kEsc}) {
            SCOPED_TRACE(std::to_string(askKey) + " answered with " + std::to_string(answer));
            quits = 0;
            game.loadMission(true);
            steps(10);
            game.onKeyDown(vk::kTab);
            ASSERT_TRUE(game.missionWaiting());
            const float clock = game.missionClock;
            game.onKeyDown(askKey);
            EXPECT_EQ(quits, 0);
            EXPECT_TRUE(game.confirmQuit);
            game.onKeyDown(vk::kR);  // no other dossier key acts under the question
            game.onKeyDown(vk::kF3);
            EXPECT_EQ(game.gameState, GameState::Briefing);
            game.onKeyDown(answer);
            const bool quit = answer == vk::kP || answer == vk::kEsc;
            EXPECT_EQ(quits, quit ? 1 : 0);
            if (!quit) {
                EXPECT_EQ(game.gameState, GameState::Playing) << "resumed where it was left";
                EXPECT_EQ(game.missionClock, clock);
                EXPECT_FALSE(game.confirmQuit);
            }
        }
    }
}

// The campaign playthrough is refused a locked mission by the page's button.
TEST_F(FlowTest, LockedMissionsStartOnlyWithRSelectionWrapsAndPageNumbersHoldNoSurprise) {
    useCampaign({kDeviceMission, kDeviceMission, "{}"});
    game.prevMission();
    EXPECT_EQ(game.missionIndex, 2u);
    game.onKeyDown(vk::kEnter);
    EXPECT_EQ(game.gameState, GameState::Briefing);
    EXPECT_EQ(audio.count(CueBuzz), 2);  // on the view and on the refusal
    game.onKeyDown(vk::kR);              // R skips the unlock test
    EXPECT_EQ(game.gameState, GameState::Playing);
    game.selectMission(7);  // beyond the campaign: ignored
    EXPECT_EQ(game.missionIndex, 2u);
    EXPECT_EQ(game.gameState, GameState::Playing);
    game.nextMission();
    EXPECT_EQ(game.missionIndex, 0u);

    game.selectMissionFromPage(1.9);  // page numbers are truncated
    EXPECT_EQ(game.missionIndex, 1u);
    game.selectMissionFromPage(-1.0);  // the largest index: ignored
    game.selectMissionFromPage(1e300);
    game.selectMissionFromPage(std::nan(""));  // NaN reads as 0
    EXPECT_EQ(game.missionIndex, 0u);

    game.setApproachFromPage(2.9);
    EXPECT_EQ(approach(), 2);
    game.setApproachFromPage(-1.0);
    EXPECT_EQ(static_cast<std::uint32_t>(approach()), 0xFFFFFFFFu);
    EXPECT_EQ(game.bannerText, "INFILTRATION APPROACH: SERVICE CORRIDOR");
    game.setApproachFromPage(-1e300);
    EXPECT_EQ(static_cast<std::uint32_t>(approach()), 0x80000000u);
}

TEST_F(FlowTest, ApproachKeysReloadInPlayOrRebriefAndEachApproachShapesTheBuild) {
    useCampaign({kDeviceMission});
    game.onKeyDown(vk::kF3);
    EXPECT_EQ(game.gameState, GameState::Briefing);
    EXPECT_EQ(approach(), 2);

    game.startOrAdvance();
    game.playerPos = {300.0f, 300.0f};
    game.onKeyDown(vk::kF2);
    EXPECT_EQ(game.gameState, GameState::Playing);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);  // rebuilt at the start point
    EXPECT_FLOAT_EQ(game.disguise, 1.0f);

    game.onKeyDown(vk::kP);
    game.onKeyDown(vk::kF4);  // paused: back to the briefing
    EXPECT_EQ(game.gameState, GameState::Briefing);

    // The playthroughs win with every approach; here are the edges they miss.
    game.setApproach(0);
    EXPECT_FALSE(game.doors[1].unlocked);
    EXPECT_TRUE(game.doors[2].unlocked);  // no colour means cyan

    game.setApproach(1);
    EXPECT_TRUE(game.keycardsHeld.empty());
    EXPECT_FALSE(game.doors[0].unlocked);

    game.setApproach(2);
    EXPECT_FLOAT_EQ(game.cameras[1].disabledTime, 0.0f);  // the slower lasers are mission 3's
    EXPECT_FALSE(game.guards[2].marked);

    game.setApproach(3);
    EXPECT_FLOAT_EQ(game.lasers[0].speed, 40.0f);  // rebuilt, not compounded

    game.setApproach(9);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);
    EXPECT_TRUE(game.keycardsHeld.empty());

    // The service corridor holds cyan already; its card is still announced.
    game.setApproach(0);
    game.startOrAdvance();
    game.playerPos = {120.0f, 290.0f};
    game.update(kDt);
    EXPECT_EQ(game.bannerText, "cyan CLEARANCE PASS SECURED");
    EXPECT_FALSE(game.doors[1].unlocked);
}

TEST_F(FlowTest, AWinSetsTheBonusesAndTheyShapeLaterBuilds) {
    useCampaign({kDeviceMission, R"({"guards": [{"x": 5}]})"});
    useApproach(1);
    game.loadMission(true);
    game.cipherDecrypted = 1;
    game.timesSpotted = 1;
    game.optionalIntel.done = 1;
    game.playerPos = {940.0f, 460.0f};
    game.update(kDt);
    ASSERT_EQ(game.gameState, GameState::MissionComplete);
    EXPECT_FALSE(game.ghostBonus);  // spotted once
    EXPECT_TRUE(game.intelBonus);

    game.ghostBonus = 1;
    game.loadMission(false);
    for (const Guard& g : game.guards) {
        EXPECT_LT(g.speed, 50.0f);
        EXPECT_TRUE(g.marked);
    }
    EXPECT_FLOAT_EQ(game.cameras[0].disabledTime, 0.0f);
    EXPECT_GT(game.cameras[1].disabledTime, 0.0f);
    game.selectMission(1);  // no cameras: the intel bonus marks nobody
    ASSERT_EQ(game.guards.size(), 1u);
    EXPECT_FALSE(game.guards[0].marked);
}

}  // namespace
}  // namespace nj::testing
