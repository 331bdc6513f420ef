#include "render/png_writer.hpp"

#include <gtest/gtest.h>

namespace {

// Files that decode back to their pixels are the game's screenshots, read by
// every run that checks a frame; the refusals are here.
TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSizeAndUnwritablePaths) {
    const std::vector<uint8_t> rgb(4 * 4 * 3, 0x80);
    EXPECT_TRUE(nj::encodePngRgb(rgb, 4, 5).empty());
    EXPECT_TRUE(nj::encodePngRgb(rgb, 0, 0).empty());
    EXPECT_FALSE(nj::encodePngRgb(rgb, 4, 4).empty());
    EXPECT_FALSE(nj::writePngRgb("/nonexistent-dir/shot.png", rgb, 4, 4));
}

}  // namespace
