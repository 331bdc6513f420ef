// Sight rays: where walls, the gate and doors stop a cone.

#include <gtest/gtest.h>

#include <limits>

#include "tests/render/scene/scene_probe.hpp"
#include "tests/support/deadline.hpp"

namespace {

using nj::castVisionRay;
using namespace nj::test;

// A field with nothing but what a test adds; the gate is moved well away from the rays.
using EmptyField = ClearedWorld;

// Samples at 8, 15.5, 23, ... along the ray; the first inside an obstacle
// (its edge counts) ends the ray half a step back, never closer than 6, and
// only samples short of the maximum are looked at. A reach of 1e30 or infinity
// still stops at the wall (such reaches once hung the first frame), and NaN,
// which no mission can hold, ends too.
TEST_F(EmptyField, ARayStopsHalfAStepBeforeTheFirstSampleInsideAWall) {
    const Deadline deadline(5);
    const float pi = nj::kScenePi, inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* what;
        nj::Wall wall;
        float x, angle, reach, expected;
    } cases[] = {
        {"face at 50, first sample inside at 53", {150, 50, 40, 100}, 100, 0, 200, 49.25f},
        {"a sample on the face is inside", {153, 50, 10, 100}, 100, 0, 200, 49.25f},
        {"just past it, the next sample", {153.5f, 50, 10, 100}, 100, 0, 200, 56.75f},
        {"the first sample inside", {105, 90, 30, 20}, 100, 0, 200, 6.0f},
        {"no further than 8: not looked at", {90, 90, 30, 30}, 100, 0, 8.0f, 8.0f},
        {"just over 8", {90, 90, 30, 30}, 100, 0, 8.01f, 6.0f},
        {"53 is not below 53", {150, 50, 40, 100}, 100, 0, 53.0f, 53.0f},
        {"53 is below 53.01", {150, 50, 40, 100}, 100, 0, 53.01f, 49.25f},
        {"looking away", {150, 50, 40, 100}, 100, pi, 200, 200.0f},
        {"a reach of 1e30", {150, 50, 40, 100}, 100, 0, 1e30f, 49.25f},
        {"an endless reach", {150, 50, 40, 100}, 100, 0, inf, 49.25f},
        {"from far away", {150, 50, 40, 100}, -1e30f, 0, 1e30f, 1e30f},
    };
    for (const auto& c : cases) {
        game.walls = {c.wall};
        EXPECT_FLOAT_EQ(castVisionRay(game, c.x, 100, c.angle, c.reach), c.expected) << c.what;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    (void)castVisionRay(game, nan, nan, nan, nan);
    (void)castVisionRay(game, 100, 100, inf, 500);
}

TEST_F(EmptyField, DoorsAndTheGateStopSightUntilFourFifthsOpen) {
    for (const auto& [open, expected] : {std::pair{0.79f, 49.25f}, std::pair{0.8f, 200.0f}}) {
        game.doors = {{.x = 150, .y = 80, .w = 12, .h = 40, .openAmount = open}};
        EXPECT_FLOAT_EQ(castVisionRay(game, 100, 100, 0, 200), expected) << "door " << open;
        game.doors.clear();
        game.gate = {150, 80, 24, 140};
        game.gateOpen = open;
        EXPECT_FLOAT_EQ(castVisionRay(game, 100, 100, 0, 200), expected) << "gate " << open;
        clearWorld(game);
    }
}

}  // namespace
