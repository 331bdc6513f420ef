#include "render/png_writer.hpp"

#include <gtest/gtest.h>

#include "tests/support/png_reader.hpp"

namespace {

std::vector<uint8_t> gradient(uint32_t w, uint32_t h) {
    std::vector<uint8_t> rgb;
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            rgb.push_back(static_cast<uint8_t>(x * 7));
            rgb.push_back(static_cast<uint8_t>(y * 13));
            rgb.push_back(static_cast<uint8_t>(x ^ y));
        }
    }
    return rgb;
}

TEST(PngWriter, FilesDecodeBackToTheSamePixels) {
    for (auto [w, h] : {std::pair{1u, 1u}, std::pair{37u, 5u}}) {
        const auto rgb = gradient(w, h);
        const auto file = nj::encodePngRgb(rgb, w, h);
        const auto decoded = nj::test::decodePng(file);
        ASSERT_EQ(decoded.error, "") << w << "x" << h;
        EXPECT_EQ(decoded.width, w);
        EXPECT_EQ(decoded.height, h);
        EXPECT_EQ(decoded.rgb, rgb);
    }
}

TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSizeAndUnwritablePaths) {
    const auto rgb = gradient(4, 4);
    EXPECT_TRUE(nj::encodePngRgb(rgb, 4, 5).empty());
    EXPECT_TRUE(nj::encodePngRgb(rgb, 0, 0).empty());
    EXPECT_FALSE(nj::writePngRgb("/nonexistent-dir/shot.png", rgb, 4, 4));
}

}  // namespace
