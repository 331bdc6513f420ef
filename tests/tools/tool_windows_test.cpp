// The developer's window tools run the way the game does in the integration
// tests: under Xvfb on lavapipe with the validation layer, each drawing its
// picture and closing down without a word from the layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/scratch_dir.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

namespace fs = std::filesystem;
using nj::test::DecodedPng;
using nj::test::ProgramRun;

// Runs one tool command under Xvfb in the working folder and reads the picture it saved.
DecodedPng shotOf(const std::string& command, const std::string& shot) {
    const fs::path dir = fs::current_path();
    const ProgramRun run =
        nj::test::runUnderXvfb(dir, "1280x1024", command + " --screenshot " + shot);
    EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.output;
    EXPECT_FALSE(nj::test::hasValidationMessage(run.output)) << command << "\n" << run.output;
    const DecodedPng png = nj::test::readPng((dir / shot).string());
    EXPECT_EQ(png.error, "") << command << "\n" << run.output;
    return png;
}

// Every primitive, text and a padded overlay, through a storm of window
// sizes that ends back at 1280 x 720: the swapchain follows each one.
TEST(ToolWindows, RenderSmokeDrawsThroughAResizeStorm) {
    const nj::test::ScratchDir scratch;
    const DecodedPng shot =
        shotOf("'" RENDER_SMOKE_PATH "' --frames 60 --size 640x360 --resize-every 10", "smoke.png");
    EXPECT_EQ(shot.width, 1280u);
    EXPECT_EQ(shot.height, 720u);
    EXPECT_GT(nj::test::playFieldColours(shot), 20u);
    EXPECT_EQ(shot.pixel(100, 90), 0xFF0000u) << "the first filled rectangle, in pure red";
    const ProgramRun refused =
        nj::test::runCommand(fs::current_path(), "'" RENDER_SMOKE_PATH "' --frames 0");
    EXPECT_EQ(refused.exitCode, 2) << refused.output;
}

// The showcase mission mid-play with its effects, and the high-contrast
// cones changing the picture: the drawing choices reach the scene.
TEST(ToolWindows, ScenePreviewDrawsTheShowcaseAndItsDrawingChoices) {
    const nj::test::ScratchDir scratch;
    const std::string preview = "'" SCENE_PREVIEW_PATH
                                "' --mission showcase --state playing --effects --frames 24 "
                                "--size 960x540";
    const DecodedPng plain = shotOf(preview, "plain.png");
    const DecodedPng contrast = shotOf(preview + " --high-contrast-cones", "cones.png");
    ASSERT_EQ(plain.width, 960u);
    ASSERT_EQ(plain.height, 540u);
    EXPECT_GT(nj::test::playFieldColours(plain), 50u);
    ASSERT_EQ(contrast.rgb.size(), plain.rgb.size());
    EXPECT_NE(contrast.rgb, plain.rgb) << "the cones were drawn as before";
    for (const char* bad : {"--mission nowhere", "--state dancing", "--size 0x0"}) {
        const ProgramRun refused = nj::test::runCommand(
            fs::current_path(), "'" SCENE_PREVIEW_PATH "' " + std::string(bad));
        EXPECT_NE(refused.exitCode, 0) << bad;
    }
}

}  // namespace
