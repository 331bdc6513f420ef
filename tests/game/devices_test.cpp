// Cameras, lasers, pressure plates, keycards and doors. The laser grids' blink (slower after the
// uplink hack) is the playthroughs', whose routes cross the grids while they are off.
#include "tests/game/game_test_support.hpp"

namespace nj::testing {
namespace {

class DeviceTest : public GameTest {};

// The cameras face +x and hold still (no sweep), so the cone is easy to reason about.
TEST_F(DeviceTest, CameraRaisesDetectionBeforeItsOwnMeterBroadcasts) {
    game.cameras.push_back({.x = 100.0f, .y = 300.0f, .sweep = 0.0f});
    playAt(200.0f, 300.0f);
    game.update(0.1f);
    EXPECT_GT(game.cameras[0].meter, 0.0f);
    EXPECT_GT(game.detection, 0.0f);  // caught, though no broadcast yet
    EXPECT_FALSE(game.alarmActive);
    steps(3, 0.1f);
    EXPECT_TRUE(game.alarmActive);
    EXPECT_FLOAT_EQ(game.alarmPos.x, game.playerPos.x);

    // Out of reach the meter falls; within reach but outside the cone it holds.
    playAt(300.0f, 300.0f);
    const float meter = game.cameras[0].meter;
    game.update(0.1f);
    EXPECT_LT(game.cameras[0].meter, meter);
    const float fallen = game.cameras[0].meter;
    playAt(100.0f, 400.0f);
    game.update(0.1f);
    EXPECT_FLOAT_EQ(game.cameras[0].meter, fallen);
}

TEST_F(DeviceTest, ACameraSpotsADownedGuardUnlessItIsDisabled) {
    game.cameras.push_back(
        {.x = 100.0f, .y = 300.0f, .sweep = 0.0f, .disabledTime = 0.5f, .meter = 0.3f});
    game.guards.push_back(guardAt(160.0f, 300.0f, 3.14159f));
    game.guards[0].downed = 1;
    playAt(200.0f, 300.0f);
    game.update(0.1f);
    EXPECT_FLOAT_EQ(game.cameras[0].meter, 0.0f);
    EXPECT_FALSE(game.guards[0].discovered);
    EXPECT_FLOAT_EQ(game.detection, 0.0f);

    game.cameras[0].disabledTime = 0.0f;
    playAt(100.0f, 500.0f);
    game.update(kDt);
    EXPECT_TRUE(game.guards[0].discovered);
    EXPECT_TRUE(game.alarmActive);
    EXPECT_EQ(game.bannerText, "CCTV SPOTTED DOWNED GUARD // SEARCH DISPATCHED");
}

// Turning at the limits is the playthroughs', whose routes slip past moving grids.
TEST_F(DeviceTest, MovingLasersStopAtTheirLimitsAndOnlyOnTheirAxis) {
    const Laser beam{.y = 100.0f, .axis = 'y', .min = 80.0f, .max = 130.0f, .speed = 40.0f};
    game.lasers = {beam, beam};
    game.lasers[1].axis = 'q';
    playAt(100.0f, 500.0f);
    steps(2, 0.5f);  // 140 is past the limit
    EXPECT_FLOAT_EQ(game.lasers[0].y, 130.0f);
    EXPECT_FLOAT_EQ(game.lasers[1].y, 100.0f);  // no axis: stands
}

TEST_F(DeviceTest, PressurePlateTripsOncePerSteppingOn) {
    game.pressurePlates.push_back({.x = 290.0f, .y = 290.0f, .w = 20.0f, .h = 20.0f});
    game.guards.push_back(guardAt(500.0f, 300.0f, 0.0f));  // 200 from the plate, facing away
    playAt(300.0f, 300.0f);
    game.update(kDt);
    EXPECT_TRUE(game.pressurePlates[0].pressed);
    EXPECT_EQ(audio.count(CueBuzz), 1);
    EXPECT_EQ(stateOf(game.guards[0]), "searching");
    EXPECT_TRUE(game.alarmActive);
    steps(10);  // standing still on it does nothing more
    EXPECT_EQ(audio.count(CueBuzz), 1);

    playAt(300.0f, 100.0f);  // off the plate...
    game.update(kDt);
    EXPECT_FALSE(game.pressurePlates[0].pressed);
    playAt(300.0f, 300.0f);  // ...and on again
    game.update(kDt);
    EXPECT_EQ(audio.count(CueBuzz), 2);
}

// Picking up and opening are the playthroughs'; the colour must match exactly.
TEST_F(DeviceTest, KeycardsUnlockDoorsOfExactlyTheirColour) {
    game.keycards.push_back({.x = 310.0f, .y = 300.0f, .color = "ruby"});
    const Door ruby{.x = 600.0f, .y = 100.0f, .w = 10.0f, .h = 50.0f, .color = "ruby"};
    game.doors = {ruby, ruby};
    game.doors[1].color = "Ruby";
    playAt(300.0f, 300.0f);
    game.update(0.1f);
    EXPECT_TRUE(game.doors[0].unlocked);
    EXPECT_FALSE(game.doors[1].unlocked);
}

}  // namespace
}  // namespace nj::testing
