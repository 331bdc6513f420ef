// Operative movement, collision, footsteps and cover.
#include <cmath>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

// 0.125 s is exact in binary, so a step's length carries no rounding.
constexpr float kExactDt = 0.125f;

class MovementTest : public GameTest {
  protected:
    // How far one step to the right goes from (100, 300) with the held keys.
    float stepRight() {
        playAt(100.0f, 300.0f);
        hold(vk::kD);
        game.update(kExactDt);
        return game.playerPos.x - 100.0f;
    }
};

TEST_F(MovementTest, DiagonalsAreNotFasterAndOppositeKeysCancel) {
    const float straight = stepRight();
    game.heldKeys = {vk::kW, vk::kD};
    playAt(300.0f, 300.0f);
    game.update(kExactDt);
    EXPECT_NEAR(distance(300.0f, 300.0f, game.playerPos.x, game.playerPos.y), straight, 1e-3f);
    EXPECT_NEAR(game.playerFacing, -0.785398f, 1e-5f);  // up-right

    game.heldKeys = {vk::kW, vk::kS, vk::kRight};
    const float y = game.playerPos.y;
    game.update(0.1f);
    EXPECT_FLOAT_EQ(game.playerPos.y, y);
    EXPECT_TRUE(game.playerMoving);

    game.heldKeys = {vk::kUp, vk::kDown};  // arrows cancel the same way
    game.update(0.1f);
    EXPECT_FALSE(game.playerMoving);
}

TEST_F(MovementTest, LosingTheFocusOrLoadingAMissionReleasesEveryHeldKey) {
    playAt(300.0f, 300.0f);
    game.onKeyDown(vk::kD);
    game.onKeyDown(vk::kShift);
    game.update(0.1f);
    ASSERT_TRUE(game.playerMoving);
    game.releaseAllKeys();
    EXPECT_TRUE(game.heldKeys.empty());
    const Vec2 stopped = game.playerPos;
    game.update(0.1f);
    EXPECT_FALSE(game.playerMoving);
    EXPECT_EQ(game.playerPos.x, stopped.x);

    // So does loading a mission: R while D is still down.
    game.onKeyDown(vk::kD);
    game.onKeyDown(vk::kR);
    EXPECT_EQ(game.gameState, GameState::Playing);
    const Vec2 start = game.playerPos;
    steps(10);
    EXPECT_FLOAT_EQ(game.playerPos.x, start.x);
    EXPECT_FALSE(game.playerMoving);
}

TEST_F(MovementTest, BlockedAxisSlidesAlongTheWall) {
    playAt(100.0f, 100.0f);
    game.walls.push_back({113.0f, 0.0f, 50.0f, 500.0f});  // just right of the circle
    hold(vk::kD);
    hold(vk::kS);
    game.update(0.1f);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);
    EXPECT_GT(game.playerPos.y, 100.0f);
}

TEST_F(MovementTest, WallsDoorsTheGateAndFurnitureBlockAWholeStep) {
    const float step = stepRight();
    const float tangent = 100.0f + step + 12.0f;  // the circle's edge lands on the wall's
    game.walls = {{tangent, 0.0f, 20.0f, 540.0f}};
    EXPECT_FLOAT_EQ(stepRight(), step);
    game.walls[0].x -= 0.25f;
    EXPECT_FLOAT_EQ(stepRight(), 0.0f);
    game.walls.clear();

    game.doors = {{.x = 120.0f, .y = 250.0f, .w = 10.0f, .h = 100.0f, .openAmount = 0.99f}};
    EXPECT_FLOAT_EQ(stepRight(), 0.0f);
    game.doors[0].openAmount = 1.0f;
    EXPECT_FLOAT_EQ(stepRight(), step);
    game.doors.clear();

    game.gate = {130.0f, 250.0f, 10.0f, 100.0f};
    game.gateOpen = 0.99f;
    EXPECT_FLOAT_EQ(stepRight(), 0.0f);
    game.gateOpen = 1.0f;
    EXPECT_FLOAT_EQ(stepRight(), step);

    game.furniture.push_back({.x = 160.0f, .y = 300.0f, .cover = false});  // box from 130 to 190
    EXPECT_FLOAT_EQ(stepRight(), 0.0f);
    EXPECT_FALSE(game.playerInCover);  // no cover flag, no hiding
}

TEST_F(MovementTest, CoverMakesTheOperativeSneakFromTheNextStep) {
    const float step = stepRight();
    // Hiding reach: 20 + 18 = 38 from the centre.
    game.furniture.push_back({.x = 300.0f, .y = 300.0f, .w = 40.0f, .h = 40.0f});
    playAt(300.0f, 337.0f);
    game.heldKeys = {vk::kLeft};
    game.update(kExactDt);  // still at full speed: cover was clear before this step
    EXPECT_FLOAT_EQ(game.playerPos.x, 300.0f - step);
    EXPECT_FALSE(game.playerSneaking);
    EXPECT_FALSE(game.playerInCover);  // 337 down and a step across is beyond 38

    playAt(300.0f, 337.0f);
    game.heldKeys.clear();
    game.update(kExactDt);
    EXPECT_TRUE(game.playerInCover);
    hold(vk::kLeft);
    game.update(kExactDt);
    EXPECT_TRUE(game.playerSneaking);
    EXPECT_GT(game.playerPos.x, 300.0f - step);
}

TEST_F(MovementTest, ShiftSneaksAndTheSoftStepPerkIsFaster) {
    const float walk = stepRight();
    hold(vk::kShift);
    const float sneak = stepRight();
    game.perkSoftStep = 1;
    const float softStep = stepRight();
    EXPECT_LT(sneak, softStep);
    EXPECT_LT(softStep, walk);
}

TEST_F(MovementTest, FootstepsLeavePrintsAndLoudNoiseOnlyWhenWalking) {
    Guard listener = guardAt(400.0f, 300.0f, 3.14159f);
    listener.range = 1.0f;  // it must hear, not see
    game.guards.push_back(listener);
    playAt(320.0f, 300.0f);

    steps(30);  // standing still never advances the cadence
    EXPECT_TRUE(game.footprints.empty());

    // Walks (then sneaks) until the first print and reports how many updates it took.
    const auto untilAPrint = [&] {
        int n = 0;
        for (; game.footprints.empty() && n < 100; ++n) game.update(kDt);
        return n;
    };
    hold(vk::kDown);
    const int walkedSteps = untilAPrint();
    ASSERT_EQ(game.footprints.size(), 1u);
    const float walkedPrint = game.footprints[0].alpha;
    EXPECT_EQ(audio.count(CueFootstep), 1);
    EXPECT_EQ(game.noiseRings.size(), 1u);
    EXPECT_EQ(stateOf(game.guards[0]), "suspicious");

    // Sneaking: a slower cadence, a fainter print and no noise.
    game.footprints.clear();
    game.noiseRings.clear();
    game.guards[0] = listener;
    hold(vk::kShift);
    EXPECT_GT(untilAPrint(), walkedSteps);
    ASSERT_EQ(game.footprints.size(), 1u);
    EXPECT_LT(game.footprints[0].alpha, walkedPrint);
    EXPECT_TRUE(game.noiseRings.empty());
    EXPECT_EQ(stateOf(game.guards[0]), "patrol");
}

TEST_F(MovementTest, DrawnHeadingCatchesUpWithoutOvershooting) {
    playAt(300.0f, 300.0f);
    game.playerFacing = 0.0f;
    game.playerDrawFacing = 3.0f;
    game.update(0.05f);
    EXPECT_GT(game.playerDrawFacing, 0.0f);
    EXPECT_LT(game.playerDrawFacing, 3.0f);
    game.update(0.1f);  // more than a whole catch-up: lands on the facing
    EXPECT_NEAR(game.playerDrawFacing, 0.0f, 1e-5f);
}

}  // namespace
}  // namespace nj::testing
