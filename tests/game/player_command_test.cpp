// The key map to the player's command, and the rules taking the command they
// are given rather than the keys held.
#include "game/player_command.hpp"

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

// The playthroughs walk on W, A, S and D, sneak on Shift and use E and Space;
// the rule tests hold the arrows, E and Space. Here are the keys and pairs
// neither holds.
TEST(PlayerCommand, HeldKeysGiveTheCommandThroughTheKeyMap) {
    const struct {
        const char* name;
        std::set<std::uint32_t> held;
        PlayerCommand expected;
    } cases[] = {
        {"nothing", {}, {}},
        {"arrow up", {vk::kUp}, {0, -1, false, false, false}},
        {"S and arrow down: one down", {vk::kS, vk::kDown}, {0, 1, false, false, false}},
        {"diagonal from both clusters", {vk::kW, vk::kRight}, {1, -1, false, false, false}},
        {"W and S cancel", {vk::kW, vk::kS}, {0, 0, false, false, false}},
        {"arrow left and D cancel", {vk::kLeft, vk::kD}, {0, 0, false, false, false}},
        // Keys that act when pressed hold nothing.
        {"one-shot keys", {vk::kEnter, vk::kP, vk::kTab, vk::kR, vk::kF1, vk::kEsc, vk::kQ}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(commandFromKeys(c.held), c.expected);
    }
}

// With the toggle-sneak assist, the latch alone decides: holding Shift
// while it is off does not sneak, and a latched sneak needs no key.
TEST(PlayerCommand, TheSneakToggleReplacesTheHeldSneakKey) {
    const std::set<std::uint32_t> shift{vk::kShift};
    EXPECT_TRUE(commandFromKeys(shift, {false, false}).sneak);
    EXPECT_FALSE(commandFromKeys({}, {false, true}).sneak);
    EXPECT_FALSE(commandFromKeys(shift, {true, false}).sneak);
    EXPECT_TRUE(commandFromKeys({}, {true, true}).sneak);
}

// The rules read the command handed to them: keys still held in the game
// give nothing when the command says otherwise.
TEST_F(GameTest, TheRulesFollowTheCommandTheyAreGiven) {
    playAt(300.0f, 300.0f);
    hold(vk::kD);
    hold(vk::kShift);
    game.update(kDt, PlayerCommand{});
    EXPECT_FALSE(game.playerMoving);
    EXPECT_FALSE(game.playerSneaking);
    EXPECT_EQ(game.playerPos.x, 300.0f);

    game.heldKeys.clear();
    PlayerCommand downLeft;
    downLeft.moveX = -1;
    downLeft.moveY = 1;
    downLeft.sneak = true;
    game.update(kDt, downLeft);
    EXPECT_TRUE(game.playerSneaking);
    EXPECT_LT(game.playerPos.x, 300.0f);
    EXPECT_GT(game.playerPos.y, 300.0f);

    // Interact held within reach of the intel secures it, no key pressed.
    Objective& intel = game.optionalIntel;
    intel.active = 1;
    intel.x = game.playerPos.x + 40.0f;
    intel.y = game.playerPos.y;
    game.update(kDt, PlayerCommand{});
    ASSERT_TRUE(game.nearIntel);
    ASSERT_FALSE(intel.done);
    PlayerCommand interact;
    interact.interact = true;
    game.update(kDt, interact);
    EXPECT_TRUE(intel.done);
}

}  // namespace
}  // namespace nj::testing
