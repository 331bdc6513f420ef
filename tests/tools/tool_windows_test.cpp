// The developer's window tools under Xvfb on lavapipe, with the validation layer listening.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/scratch_dir.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

using nj::test::DecodedPng;

// Runs one tool command in the working folder and reads the picture it saved.
DecodedPng shotOf(const std::string& command, const std::string& shot) {
    const std::filesystem::path dir = std::filesystem::current_path();
    const nj::test::ProgramRun run =
        nj::test::runUnderXvfb(dir, "1280x1024", command + " --screenshot " + shot);
    EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.output;
    EXPECT_FALSE(nj::test::hasValidationMessage(run.output)) << command << "\n" << run.output;
    const DecodedPng png = nj::test::readPng((dir / shot).string());
    EXPECT_EQ(png.error, "") << command << "\n" << run.output;
    return png;
}

// render-smoke draws through a storm of window sizes ending back at 1280 x 720; scene-preview
// the showcase mission mid-play with its effects (the drawing choices are the scene tests').
TEST(ToolWindows, EachToolDrawsItsPictureAndClosesDownQuietly) {
    const nj::test::ScratchDir scratch;
    const DecodedPng smoke =
        shotOf("'" RENDER_SMOKE_PATH "' --frames 60 --size 640x360 --resize-every 10", "smoke.png");
    ASSERT_EQ(smoke.width, 1280u);
    EXPECT_EQ(smoke.height, 720u);
    EXPECT_GT(nj::test::playFieldColours(smoke), 20u);
    EXPECT_EQ(smoke.pixel(100, 90), 0xFF0000u) << "the first filled rectangle, in pure red";
    const DecodedPng preview = shotOf("'" SCENE_PREVIEW_PATH
                                      "' --mission showcase --state playing --effects --frames 24 "
                                      "--size 960x540",
                                      "preview.png");
    ASSERT_EQ(preview.width, 960u);
    EXPECT_EQ(preview.height, 540u);
    EXPECT_GT(nj::test::playFieldColours(preview), 50u);
}

}  // namespace
