// Operative movement, collision, footsteps and cover.
#include <cmath>

#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

// 0.125 s is exact in binary, so one step at full speed is exactly 23.75.
constexpr float kExactDt = 0.125f;
constexpr float kStep = 190.0f * kExactDt;

class MovementTest : public GameTest {};

TEST_F(MovementTest, DiagonalsAreNotFasterAndOppositeKeysCancel) {
    playAt(300.0f, 300.0f);
    hold(vk::kW);
    hold(vk::kD);
    game.update(0.1f);
    const float moved = distance(300.0f, 300.0f, game.playerPos.x, game.playerPos.y);
    EXPECT_NEAR(moved, 19.0f, 1e-3f);
    EXPECT_NEAR(game.playerPos.x - 300.0f, 19.0f / std::sqrt(2.0f), 1e-3f);
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
    EXPECT_NEAR(game.playerPos.y, 100.0f + 19.0f / std::sqrt(2.0f), 1e-3f);
}

TEST_F(MovementTest, TangentContactIsNotABlock) {
    playAt(100.0f, 300.0f);
    // After the step the circle's edge lands exactly on the wall's edge.
    game.walls.push_back({100.0f + kStep + 12.0f, 0.0f, 20.0f, 540.0f});
    hold(vk::kD);
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f + kStep);

    // A hair closer and the same step is refused.
    playAt(100.0f, 300.0f);
    game.walls[0].x -= 0.25f;
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);
}

TEST_F(MovementTest, DoorsAndGateBlockUntilFullyOpen) {
    hold(vk::kD);
    // Locked: it stays at 0.99.
    game.doors.push_back({.x = 120.0f, .y = 250.0f, .w = 10.0f, .h = 100.0f, .openAmount = 0.99f});
    game.gate = {-500.0f, -500.0f, 1.0f, 1.0f};
    playAt(100.0f, 300.0f);
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);
    game.doors[0].openAmount = 1.0f;
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f + kStep);

    // The vault gate behaves the same way.
    game.doors.clear();
    game.gate = {130.0f, 250.0f, 10.0f, 100.0f};
    game.gateOpen = 0.99f;
    playAt(100.0f, 300.0f);
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);
    game.gateOpen = 1.0f;
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f + kStep);
}

TEST_F(MovementTest, FurnitureBlocksWhetherOrNotItIsCover) {
    game.furniture.push_back({.x = 160.0f, .y = 300.0f, .cover = false});  // box from 130 to 190
    playAt(100.0f, 300.0f);
    hold(vk::kD);
    game.update(kExactDt);
    EXPECT_FLOAT_EQ(game.playerPos.x, 100.0f);
    EXPECT_FALSE(game.playerInCover);  // no cover flag, no hiding
}

TEST_F(MovementTest, CoverMakesTheOperativeSneakFromTheNextStep) {
    // Hiding reach: 20 + 18 = 38 from the centre.
    game.furniture.push_back({.x = 300.0f, .y = 300.0f, .w = 40.0f, .h = 40.0f});
    playAt(300.0f, 337.0f);
    hold(vk::kLeft);
    game.update(kExactDt);  // still at full speed: cover was clear before this step
    EXPECT_FLOAT_EQ(game.playerPos.x, 300.0f - kStep);
    EXPECT_FALSE(game.playerSneaking);
    EXPECT_FALSE(game.playerInCover);  // 337 down and 23.75 across is beyond 38

    playAt(300.0f, 337.0f);
    game.heldKeys.clear();
    game.update(kExactDt);
    EXPECT_TRUE(game.playerInCover);
    hold(vk::kLeft);
    game.update(kExactDt);
    EXPECT_TRUE(game.playerSneaking);
    EXPECT_NEAR(game.playerPos.x, 300.0f - kStep * 0.58f, 1e-3f);
}

TEST_F(MovementTest, ShiftSneaksAndTheSoftStepPerkIsFaster) {
    playAt(300.0f, 300.0f);
    game.heldKeys = {vk::kShift, vk::kD};
    game.update(kExactDt);
    EXPECT_NEAR(game.playerPos.x, 300.0f + kStep * 0.58f, 1e-3f);
    game.perkSoftStep = 1;
    playAt(300.0f, 300.0f);
    game.update(kExactDt);
    EXPECT_NEAR(game.playerPos.x, 300.0f + kStep * 0.68f, 1e-3f);
}

TEST_F(MovementTest, FootstepsLeavePrintsAndLoudNoiseOnlyWhenWalking) {
    Guard listener = guardAt(400.0f, 300.0f, 3.14159f);
    listener.range = 1.0f;  // it must hear, not see
    game.guards.push_back(listener);
    playAt(320.0f, 300.0f);

    steps(30);  // standing still never advances the cadence
    EXPECT_FLOAT_EQ(game.footstepPhase, 0.0f);
    EXPECT_TRUE(game.footprints.empty());

    hold(vk::kDown);
    // 6.5 per second: the first step lands on the 10th update of 1/60 s.
    steps(9);
    EXPECT_TRUE(game.footprints.empty());
    steps(1);
    ASSERT_EQ(game.footprints.size(), 1u);
    EXPECT_NEAR(game.footprints[0].alpha, 0.65f, 0.02f);
    EXPECT_EQ(audio.count(CueFootstep), 1);
    ASSERT_EQ(game.noiseRings.size(), 1u);
    EXPECT_FLOAT_EQ(game.noiseRings[0].maxRadius, 105.0f);
    EXPECT_EQ(stateOf(game.guards[0]), "suspicious");
    EXPECT_NEAR(game.guards[0].investigateTimer, 5.5f, 0.02f);

    // Sneaking: a fainter print and no noise.
    game.footprints.clear();
    game.noiseRings.clear();
    game.guards[0] = listener;
    hold(vk::kShift);
    steps(23);  // 2.5 per second from a fresh phase: about 24 steps of 1/60 s
    EXPECT_TRUE(game.footprints.empty());
    steps(2);
    ASSERT_EQ(game.footprints.size(), 1u);
    EXPECT_NEAR(game.footprints[0].alpha, 0.35f, 0.02f);  // less one or two steps' fading
    EXPECT_TRUE(game.noiseRings.empty());
    EXPECT_EQ(stateOf(game.guards[0]), "patrol");
}

TEST_F(MovementTest, DrawnHeadingEasesTowardsTheFacing) {
    playAt(300.0f, 300.0f);
    game.playerFacing = 0.0f;
    game.playerDrawFacing = 3.0f;
    game.update(0.05f);  // 0.7 of the wrapped difference
    EXPECT_NEAR(game.playerDrawFacing, 3.0f + 0.7f * -3.0f, 1e-5f);
    game.update(0.1f);  // more than a whole catch-up: lands on the facing
    EXPECT_NEAR(game.playerDrawFacing, 0.0f, 1e-5f);
}

}  // namespace
}  // namespace nj::testing
