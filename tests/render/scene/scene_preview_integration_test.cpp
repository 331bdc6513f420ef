// The scene through the real renderer: scene-preview under Xvfb on lavapipe with
// the validation layer, checked by the pixels of its last frame.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/png_reader.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

// A run that must be clean under validation; its last frame.
nj::test::DecodedPng preview(const std::string& name, const std::string& arguments) {
    const nj::test::ScreenshotRun run =
        nj::test::runForScreenshot("nj_scene_preview_" + name, SCENE_PREVIEW_PATH, arguments);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(nj::test::hasValidationMessage(run.output)) << run.output;
    EXPECT_EQ(run.picture.error, "");
    return run.picture;
}

// Whether the window pixel under a canvas point (for a viewport at (0, vy)
// scaled by s) is within a few units of an 8-bit colour.
bool near(const nj::test::DecodedPng& p, float vy, float s, float cx, float cy, const int rgb[3]) {
    const uint32_t pixel =
        p.pixel(static_cast<uint32_t>(cx * s), static_cast<uint32_t>(vy + cy * s));
    return std::abs(static_cast<int>(pixel >> 16) - rgb[0]) +
               std::abs(static_cast<int>((pixel >> 8) & 0xFF) - rgb[1]) +
               std::abs(static_cast<int>(pixel & 0xFF) - rgb[2]) <=
           4;
}

// The bare floor (0.055, 0.062, 0.078) and a wall top (0.07, 0.085, 0.11) in 8 bits.
constexpr int kFloor[3] = {14, 16, 20};
constexpr int kWallTop[3] = {18, 22, 28};
constexpr float kScale = 1280.0f / 960.0f;

TEST(ScenePreview, ThePlayingFrameOfTheDefaultMissionDrawsTheFieldInTheViewport) {
    const auto picture = preview("default", "--frames 20 --size 1280x960");
    ASSERT_EQ(picture.width, 1280u);
    // 1280 x 960 holds the 1280 x 720 picture 120 pixels down. The field's
    // corner, left of the first tile, is bare floor; the bar above is not.
    EXPECT_TRUE(near(picture, 120, kScale, 10, 20, kFloor));
    EXPECT_FALSE(near(picture, 0, 1, 640, 60, kFloor));
}

TEST(ScenePreview, WallsShowInTheFrozenWorldAndNotInTheBriefing) {
    // The showcase's low wall at (420, 370, 140, 18); its middle is plain top.
    const auto paused = preview("paused", "--mission showcase --state paused --frames 5");
    ASSERT_GT(paused.width, 0u);
    EXPECT_TRUE(near(paused, 0, kScale, 490, 379, kWallTop));
    const auto briefing = preview("briefing", "--mission showcase --state briefing --frames 5");
    ASSERT_GT(briefing.width, 0u);
    EXPECT_FALSE(near(briefing, 0, kScale, 490, 379, kWallTop));
    EXPECT_FALSE(near(briefing, 0, kScale, 10, 20, kFloor));
}

}  // namespace
