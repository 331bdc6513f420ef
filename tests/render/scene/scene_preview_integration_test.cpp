// The scene through the real renderer: scene-preview under Xvfb on lavapipe with
// the validation layer, checked by the pixels of its last frame.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/png_reader.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

using PreviewRun = nj::test::ScreenshotRun;

PreviewRun runPreview(const std::string& name, const std::string& arguments) {
    return nj::test::runForScreenshot("nj_scene_preview_" + name, SCENE_PREVIEW_PATH, arguments);
}

using nj::test::hasValidationMessage;

// The window pixel under a canvas point, for a viewport at (vx, vy) scaled by s.
uint32_t pixelAt(const nj::test::DecodedPng& p, float vx, float vy, float s, float cx, float cy) {
    return p.pixel(static_cast<uint32_t>(vx + cx * s), static_cast<uint32_t>(vy + cy * s));
}

int distanceTo(uint32_t pixel, int r, int g, int b) {
    return std::abs(static_cast<int>(pixel >> 16) - r) +
           std::abs(static_cast<int>((pixel >> 8) & 0xFF) - g) +
           std::abs(static_cast<int>(pixel & 0xFF) - b);
}

// The bare floor (0.055, 0.062, 0.078) and a wall top (0.07, 0.085, 0.11) in 8 bits.
constexpr int kFloor[3] = {14, 16, 20};
constexpr int kWallTop[3] = {18, 22, 28};

TEST(ScenePreview, ThePlayingFrameOfTheDefaultMissionDrawsTheFieldInTheViewport) {
    const PreviewRun run = runPreview("default", "--frames 20 --size 1280x960");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(hasValidationMessage(run.output)) << run.output;
    ASSERT_EQ(run.picture.error, "");
    ASSERT_EQ(run.picture.width, 1280u);
    // 1280 x 960 holds the 1280 x 720 picture 120 pixels down. The field's
    // corner, left of the first tile, is bare floor; the bar above is not.
    const uint32_t corner = pixelAt(run.picture, 0, 120, 4.0f / 3.0f, 10, 20);
    EXPECT_LE(distanceTo(corner, kFloor[0], kFloor[1], kFloor[2]), 4) << std::hex << corner;
    EXPECT_GT(distanceTo(run.picture.pixel(640, 60), kFloor[0], kFloor[1], kFloor[2]), 4);
}

TEST(ScenePreview, WallsShowInTheFrozenWorldAndNotInTheBriefing) {
    // The showcase's low wall at (420, 370, 140, 18); its middle is plain top.
    const PreviewRun paused = runPreview("paused", "--mission showcase --state paused --frames 5");
    EXPECT_EQ(paused.exitCode, 0) << paused.output;
    EXPECT_FALSE(hasValidationMessage(paused.output)) << paused.output;
    ASSERT_EQ(paused.picture.error, "");
    const float s = 1280.0f / 960.0f;
    const uint32_t wall = pixelAt(paused.picture, 0, 0, s, 490, 379);
    EXPECT_LE(distanceTo(wall, kWallTop[0], kWallTop[1], kWallTop[2]), 4) << std::hex << wall;

    const PreviewRun briefing =
        runPreview("briefing", "--mission showcase --state briefing --frames 5");
    EXPECT_EQ(briefing.exitCode, 0) << briefing.output;
    ASSERT_EQ(briefing.picture.error, "");
    EXPECT_GT(distanceTo(pixelAt(briefing.picture, 0, 0, s, 490, 379), kWallTop[0], kWallTop[1],
                         kWallTop[2]),
              4);
    EXPECT_GT(
        distanceTo(pixelAt(briefing.picture, 0, 0, s, 10, 20), kFloor[0], kFloor[1], kFloor[2]), 4);
}

}  // namespace
