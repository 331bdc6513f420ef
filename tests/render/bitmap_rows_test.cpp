#include "render/bitmap_rows.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BitmapRows, PaddedRowsAreCopiedRowByRowWithoutTheirPadding) {
    // 3 x 2 pixels in rows of 16 bytes: 12 of pixels, then 4 of padding (0xEE).
    std::vector<uint8_t> src(32, 0xEE);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 12; ++i) src[row * 16 + i] = static_cast<uint8_t>(row * 100 + i);
    }
    std::vector<uint8_t> dst(24, 0);
    nj::packBitmapRows(dst.data(), src.data(), 3, 2, 16);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 12; ++i) EXPECT_EQ(dst[row * 12 + i], row * 100 + i) << row << "," << i;
    }
}

TEST(BitmapRows, ZeroOrExactRowBytesMeanTightlyPacked) {
    std::vector<uint8_t> src(2 * 3 * 4);
    for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 3);
    for (size_t rowBytes : {size_t{0}, size_t{8}}) {
        std::vector<uint8_t> dst(src.size(), 0xFF);
        nj::packBitmapRows(dst.data(), src.data(), 2, 3, rowBytes);
        EXPECT_EQ(dst, src) << rowBytes;
    }
    std::vector<uint8_t> untouched(8, 0x11);
    nj::packBitmapRows(untouched.data(), src.data(), 0, 2, 0);
    EXPECT_EQ(untouched, std::vector<uint8_t>(8, 0x11));
}

}  // namespace
