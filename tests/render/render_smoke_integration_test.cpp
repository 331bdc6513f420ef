// render-smoke under Xvfb on lavapipe with validation: exit, messages and pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/png_reader.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

// Letterboxed, pillarboxed and after a storm of resizes (whatever size it
// ended on), the run is clean, the bars keep the clear colour and the test
// blocks sit where the viewport puts them.
TEST(RenderSmoke, FramesAreCleanUnderValidationWithTheBarsAndBlocksInPlace) {
    const struct {
        const char* name;
        const char* arguments;
        uint32_t width, height;  // 0: whatever the storm ended on
        std::vector<std::pair<uint32_t, uint32_t>> bars;
    } cases[] = {
        // 1280 x 960 holds a 1280 x 720 picture with 120-pixel bars above and below.
        {"letterbox", "--frames 20 --size 1280x960", 1280, 960, {{640, 5}, {640, 118}, {10, 955}}},
        // 540 high holds a 960-wide picture at x = 160.
        {"pillarbox",
         "--frames 10 --size 1280x540",
         1280,
         540,
         {{50, 270}, {158, 400}, {1270, 10}}},
        {"storm", "--frames 60 --size 1280x720 --resize-every 3", 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const nj::test::ScreenshotRun run = nj::test::runForScreenshot(
            std::string("nj_render_smoke_") + c.name, RENDER_SMOKE_PATH, c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_FALSE(nj::test::hasValidationMessage(run.output)) << run.output;
        ASSERT_EQ(run.picture.error, "");
        if (c.width) {
            ASSERT_EQ(run.picture.width, c.width);
            ASSERT_EQ(run.picture.height, c.height);
        }
        // The clear colour (0.02, 0.035, 0.065) in 8 bits, allowing for rounding.
        for (const auto& [x, y] : c.bars) {
            const uint32_t p = run.picture.pixel(x, y);
            EXPECT_NEAR(static_cast<int>(p >> 16), 5, 1) << x << "," << y;
            EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 9, 1) << x << "," << y;
            EXPECT_NEAR(static_cast<int>(p & 0xFF), 17, 1) << x << "," << y;
        }
        // Centres of the flat blocks the smoke scene draws (see smoke_scene.hpp).
        const float w = static_cast<float>(run.picture.width);
        const float h = static_cast<float>(run.picture.height);
        const float s = std::min(w / 960.0f, h / 540.0f);
        const auto at = [&](float cx, float cy) {
            return run.picture.pixel(static_cast<uint32_t>((w - 960 * s) / 2 + cx * s),
                                     static_cast<uint32_t>((h - 540 * s) / 2 + cy * s));
        };
        EXPECT_EQ(at(80, 70), 0xFF0000u) << "opaque red block";
        EXPECT_EQ(at(180, 70), 0xFF00FFu) << "blue plus red added";
        EXPECT_EQ(at(880, 470), 0x00FF00u) << "overlay bitmap block";
    }
}

}  // namespace
