// Movement, collision and the command held keys give: the edges no playthrough
// route walks (speeds, sliding, cover, footsteps and the guards hearing them are theirs).
#include "game/player_command.hpp"
#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

// 0.125 s is exact in binary, so a step's length carries no rounding.
constexpr float kExactDt = 0.125f;

class MovementTest : public GameTest {};

TEST_F(MovementTest, LosingTheFocusOrLoadingAMissionReleasesEveryHeldKey) {
    playAt(300.0f, 300.0f);
    for (const bool reload : {false, true}) {  // R loads a mission with D still down
        game.onKeyDown(vk::kD);
        game.onKeyDown(vk::kShift);
        game.update(0.1f);
        ASSERT_TRUE(game.playerMoving);
        reload ? game.onKeyDown(vk::kR) : game.releaseAllKeys();
        EXPECT_TRUE(game.heldKeys.empty()) << reload;
        EXPECT_EQ(game.gameState, GameState::Playing);
        const Vec2 stopped = game.playerPos;
        steps(10);
        EXPECT_FALSE(game.playerMoving) << reload;
        EXPECT_EQ(game.playerPos.x, stopped.x) << reload;
    }
}

TEST_F(MovementTest, WallsDoorsTheGateAndFurnitureBlockAWholeStep) {
    const float step = stepRight(kExactDt);
    const float tangent = 100.0f + step + 12.0f;  // the circle's edge lands on the wall's
    game.walls = {{tangent, 0.0f, 20.0f, 540.0f}};
    EXPECT_FLOAT_EQ(stepRight(kExactDt), step);
    game.walls[0].x -= 0.25f;
    EXPECT_FLOAT_EQ(stepRight(kExactDt), 0.0f);
    game.walls.clear();

    game.doors = {{.x = 120.0f, .y = 250.0f, .w = 10.0f, .h = 100.0f, .openAmount = 0.99f}};
    EXPECT_FLOAT_EQ(stepRight(kExactDt), 0.0f);
    game.doors[0].openAmount = 1.0f;
    EXPECT_FLOAT_EQ(stepRight(kExactDt), step);
    game.doors.clear();

    game.gate = {130.0f, 250.0f, 10.0f, 100.0f};
    game.gateOpen = 0.99f;
    EXPECT_FLOAT_EQ(stepRight(kExactDt), 0.0f);
    game.gateOpen = 1.0f;
    EXPECT_FLOAT_EQ(stepRight(kExactDt), step);

    game.furniture.push_back({.x = 160.0f, .y = 300.0f, .cover = false});  // box from 130 to 190
    EXPECT_FLOAT_EQ(stepRight(kExactDt), 0.0f);
    EXPECT_FALSE(game.playerInCover);  // no cover flag, no hiding
}

TEST_F(MovementTest, ASoftStepSneakIsStillSlowerThanAWalk) {
    const float walk = stepRight(kExactDt);
    hold(vk::kShift);
    game.perkSoftStep = 1;
    EXPECT_LT(stepRight(kExactDt), walk);  // faster than a plain sneak is the assists test's
}

// A step closes 14 * dt of the gap, and all of it from 1/14 s on.
TEST_F(MovementTest, DrawnHeadingCatchesUpWithoutOvershooting) {
    playAt(300.0f, 300.0f);
    game.playerFacing = 0.0f;
    game.playerDrawFacing = 3.0f;
    game.update(0.05f);
    EXPECT_NEAR(game.playerDrawFacing, 0.9f, 1e-5f);
    game.update(0.1f);
    EXPECT_NEAR(game.playerDrawFacing, 0.0f, 1e-5f);
}

// The keys and pairs neither the playthroughs nor the rule tests hold.
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
        {"keys that act when pressed hold nothing",
         {vk::kEnter, vk::kP, vk::kTab, vk::kR, vk::kF1, vk::kEsc, vk::kQ},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(commandFromKeys(c.held), c.expected);
    }
}

// Keys still held in the game give nothing the command does not say.
TEST_F(MovementTest, TheRulesFollowTheCommandTheyAreGiven) {
    playAt(300.0f, 300.0f);
    hold(vk::kD);
    hold(vk::kShift);
    game.update(kDt, PlayerCommand{});
    EXPECT_FALSE(game.playerMoving);
    EXPECT_FALSE(game.playerSneaking);
    EXPECT_EQ(game.playerPos.x, 300.0f);

    game.heldKeys.clear();
    game.update(kDt, PlayerCommand{.moveX = -1, .moveY = 1, .sneak = true});
    EXPECT_TRUE(game.playerSneaking);
    EXPECT_LT(game.playerPos.x, 300.0f);
    EXPECT_GT(game.playerPos.y, 300.0f);

    Objective& intel = game.optionalIntel;
    intel.active = 1;
    intel.x = game.playerPos.x + 40.0f;
    intel.y = game.playerPos.y;
    game.update(kDt, PlayerCommand{});
    ASSERT_TRUE(game.nearIntel);
    ASSERT_FALSE(intel.done);
    game.update(kDt, PlayerCommand{.interact = true});
    EXPECT_TRUE(intel.done);
}

}  // namespace
}  // namespace nj::testing
