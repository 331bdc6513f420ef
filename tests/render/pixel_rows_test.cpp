#include "render/bitmap_rows.hpp"
#include "render/png_writer.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 3 x 2 pixels in 16-byte rows (4 of padding) come out in rows of 12; a row
// length of 0 or 12 means already packed; no width writes nothing.
TEST(BitmapRows, RowsAreCopiedWithoutTheirPadding) {
    std::vector<uint8_t> src(32, 0xEE), packed;
    for (int i = 0; i < 32; ++i) {
        if (i % 16 >= 12) continue;
        src[i] = static_cast<uint8_t>(i * 3);
        packed.push_back(src[i]);
    }
    std::vector<uint8_t> dst(24, 0);
    nj::packBitmapRows(dst.data(), src.data(), 3, 2, 16);
    EXPECT_EQ(dst, packed);
    for (size_t rowBytes : {size_t{0}, size_t{12}}) {
        std::vector<uint8_t> again(24, 0xFF);
        nj::packBitmapRows(again.data(), packed.data(), 3, 2, rowBytes);
        EXPECT_EQ(again, packed) << rowBytes;
    }
    std::vector<uint8_t> untouched(8, 0x11);
    nj::packBitmapRows(untouched.data(), src.data(), 0, 2, 0);
    EXPECT_EQ(untouched, std::vector<uint8_t>(8, 0x11));
}

// Every run that checks a frame decodes a screenshot; the refusals are here.
TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSizeAndUnwritablePaths) {
    const std::vector<uint8_t> rgb(4 * 4 * 3, 0x80);
    EXPECT_TRUE(nj::encodePngRgb(rgb, 4, 5).empty());
    EXPECT_TRUE(nj::encodePngRgb(rgb, 0, 0).empty());
    EXPECT_FALSE(nj::encodePngRgb(rgb, 4, 4).empty());
    EXPECT_FALSE(nj::writePngRgb("/nonexistent-dir/shot.png", rgb, 4, 4));
}

}  // namespace
