// Assists: perks from the options, a slower game, a sneak toggle, a win that says it was helped.
#include <functional>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

class AssistTest : public GameTest {};

// An assist acts as its perk and the rule reads either: slower detection, faster sneak, wider safe.
TEST_F(AssistTest, EachAssistActsAsItsPerk) {
    const struct {
        const char* name;
        std::uint8_t Game::*perk;
        bool Assists::*assist;
        std::function<float()> measure;  // what the flag raises, on a fresh world
    } cases[] = {
        {"slow detection", &Game::perkSlowDetection, &Assists::slowDetection,
         [&] {
             game.guards = {guardAt(200.0f, 300.0f, 0.0f)};
             game.detection = 0.0f;
             playAt(240.0f, 300.0f);
             game.update(0.1f);
             return -game.detection;
         }},
        {"soft step", &Game::perkSoftStep, &Assists::softStep,
         [&] {
             hold(vk::kShift);
             return stepRight(kDt);
         }},
        {"safe", &Game::perkSafeAssist, &Assists::safe,
         [&] {
             playAt(760.0f, 205.0f);
             game.cipherAcquired = 1;
             game.missionClock = 3.0f;
             game.openSafe();
             return game.tumblers[0].width;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        game.perkSlowDetection = game.perkSoftStep = game.perkSafeAssist = 0;
        game.assists = {};
        const float plain = c.measure();
        game.*c.perk = 1;
        const float withPerk = c.measure();
        game.*c.perk = 0;
        game.assists.*c.assist = true;
        const float withAssist = c.measure();
        EXPECT_GT(withPerk, plain);
        EXPECT_EQ(withAssist, withPerk);
        game.heldKeys.clear();
    }
}

// save.dat keeps only what was bought.
TEST_F(AssistTest, AssistsAreNeverSavedAsPerks) {
    game.assists = {true, true, true, false, 70};
    game.perkSoftStep = 1;
    game.writeSave();
    EXPECT_EQ(test::fileText("save.dat"), "0 200 0 1 0\n0 0 0 0 \n");
}

// The rules get a shorter step: walking and the clock slow by the same share.
TEST_F(AssistTest, GameSpeedScalesTheStepTheRulesGet) {
    const float full = stepRight(0.05f);
    EXPECT_EQ(game.missionClock, 0.05f);
    for (const std::uint32_t percent : {85u, 70u}) {
        SCOPED_TRACE(percent);
        game.assists.speedPercent = percent;
        game.missionClock = 0.0f;
        const float slow = stepRight(0.05f);
        EXPECT_NEAR(slow, full * static_cast<float>(percent) / 100.0f, 1e-3f);
        EXPECT_FLOAT_EQ(game.missionClock, 0.05f * static_cast<float>(percent) / 100.0f);
    }
}

TEST_F(AssistTest, SneakHoldsByDefaultAndTogglesWhenAsked) {
    playAt(300.0f, 300.0f);
    for (const bool toggle : {false, true}) {
        game.assists.toggleSneak = toggle;
        game.onKeyDown(vk::kShift);
        game.onKeyDown(vk::kShift);  // auto-repeat while held: still one press
        game.onKeyUp(vk::kShift);
        game.update(kDt);
        EXPECT_EQ(game.playerSneaking, toggle);
    }
    game.onKeyDown(vk::kShift);  // held, but the latch is off again: the latch decides
    game.update(kDt);
    EXPECT_FALSE(game.playerSneaking);
    game.onKeyUp(vk::kShift);
    game.onKeyDown(vk::kShift);
    game.loadMission(true);  // a new attempt starts upright
    game.update(kDt);
    EXPECT_FALSE(game.playerSneaking);
}

// An assist on at any step marks the win; bought perks do not.
TEST_F(AssistTest, AWinWithAnAssistIsMarkedAssisted) {
    const auto win = [&](const Assists& from, const Assists& switchedTo) {
        game.loadMission(true);
        game.assists = from;
        game.update(kDt);
        game.assists = switchedTo;
        playAt(940.0f, 460.0f);  // in the main exit with the safe cracked
        game.cipherDecrypted = 1;
        game.update(kDt);
        EXPECT_EQ(game.gameState, GameState::MissionComplete);
        return game.runAssisted;
    };
    const Assists slower{.speedPercent = 85}, toggleOnly{.toggleSneak = true};
    game.perkSlowDetection = game.perkSoftStep = game.perkSafeAssist = 1;
    EXPECT_FALSE(win(toggleOnly, toggleOnly));
    EXPECT_TRUE(win(slower, {}));  // switched off before the end: still helped
    EXPECT_TRUE(win({}, slower));
    EXPECT_FALSE(win({}, {}));
}

}  // namespace
}  // namespace nj::testing
