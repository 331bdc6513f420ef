// render-smoke under Xvfb on lavapipe with validation: exit, messages and pixels.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/png_reader.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

using SmokeRun = nj::test::ScreenshotRun;

SmokeRun runSmoke(const std::string& name, const std::string& arguments) {
    return nj::test::runForScreenshot("nj_render_smoke_" + name, RENDER_SMOKE_PATH, arguments);
}

using nj::test::hasValidationMessage;

// The clear colour (0.02, 0.035, 0.065) in 8 bits, allowing for rounding.
void expectClearColour(const nj::test::DecodedPng& p, uint32_t x, uint32_t y) {
    const uint32_t c = p.pixel(x, y);
    EXPECT_NEAR(static_cast<int>(c >> 16), 5, 1) << x << "," << y;
    EXPECT_NEAR(static_cast<int>((c >> 8) & 0xFF), 9, 1) << x << "," << y;
    EXPECT_NEAR(static_cast<int>(c & 0xFF), 17, 1) << x << "," << y;
}

// Canvas point to window pixel for a viewport at (vx, vy), 960 x 540 scaled by s.
struct Mapping {
    float vx, vy, s;
    uint32_t x(float cx) const { return static_cast<uint32_t>(vx + cx * s); }
    uint32_t y(float cy) const { return static_cast<uint32_t>(vy + cy * s); }
};

void expectTestBlocks(const nj::test::DecodedPng& p, const Mapping& m) {
    // Centres of the flat blocks the smoke scene draws (see smoke_scene.hpp).
    EXPECT_EQ(p.pixel(m.x(80), m.y(70)), 0xFF0000u) << "opaque red block";
    EXPECT_EQ(p.pixel(m.x(180), m.y(70)), 0xFF00FFu) << "blue plus red added";
    EXPECT_EQ(p.pixel(m.x(880), m.y(470)), 0x00FF00u) << "overlay bitmap block";
}

TEST(RenderSmoke, LetterboxedFrameIsCleanUnderValidationAndReadsBack) {
    const SmokeRun run = runSmoke("letterbox", "--frames 20 --size 1280x960");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(hasValidationMessage(run.output)) << run.output;
    ASSERT_EQ(run.picture.error, "");
    ASSERT_EQ(run.picture.width, 1280u);
    ASSERT_EQ(run.picture.height, 960u);
    // 1280 x 960 holds a 1280 x 720 picture with 120-pixel bars above and below.
    expectClearColour(run.picture, 640, 5);
    expectClearColour(run.picture, 640, 118);
    expectClearColour(run.picture, 10, 955);
    expectTestBlocks(run.picture, {0, 120, 4.0f / 3.0f});
}

TEST(RenderSmoke, PillarboxedFrameKeepsBarsBesideThePicture) {
    const SmokeRun run = runSmoke("pillarbox", "--frames 10 --size 1280x540");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(hasValidationMessage(run.output)) << run.output;
    ASSERT_EQ(run.picture.error, "");
    ASSERT_EQ(run.picture.width, 1280u);
    // 540 high holds a 960-wide picture at x = 160.
    expectClearColour(run.picture, 50, 270);
    expectClearColour(run.picture, 158, 400);
    expectClearColour(run.picture, 1270, 10);
    expectTestBlocks(run.picture, {160, 0, 1.0f});
}

TEST(RenderSmoke, ResizeStormRebuildsTheSwapchainWithoutComplaint) {
    const SmokeRun run = runSmoke("storm", "--frames 60 --size 1280x720 --resize-every 3");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(hasValidationMessage(run.output)) << run.output;
    ASSERT_EQ(run.picture.error, "");
    // Whatever size the storm ended on, the picture is still drawn where the viewport is.
    const float w = static_cast<float>(run.picture.width);
    const float h = static_cast<float>(run.picture.height);
    const float s = std::min(w / 960.0f, h / 540.0f);
    expectTestBlocks(run.picture, {(w - 960 * s) / 2, (h - 540 * s) / 2, s});
}

}  // namespace
