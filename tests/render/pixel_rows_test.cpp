#include "render/bitmap_rows.hpp"
#include "render/overlay_coverage.hpp"
#include "render/png_writer.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 3 x 2 pixels in 16-byte rows come out in rows of 12; 0 or 12 means packed; no width, nothing.
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

using nj::PixelRect;

struct Page {
    std::uint32_t width, height;
    std::size_t rowBytes;
    std::vector<std::uint8_t> pixels;
    Page(std::uint32_t w, std::uint32_t h, std::size_t padding = 0)
        : width(w), height(h), rowBytes(w * 4 + padding), pixels(rowBytes * h, 0) {}
    void paint(std::uint32_t x, std::uint32_t y, std::uint8_t alpha = 255) {
        pixels[rowBytes * y + 4 * x + 3] = alpha;
    }
    std::vector<PixelRect> coverage() const {
        return nj::overlayCoverage(pixels.data(), width, height, rowBytes);
    }
};

// Whole panels, apart or side by side, are the reference frame's HUD.
TEST(OverlayCoverage, APixelMarksItsTileAndNeighboursWithinTheMargin) {
    EXPECT_TRUE(Page(100, 70).coverage().empty());
    EXPECT_TRUE(nj::overlayCoverage(nullptr, 10, 10, 0).empty());
    struct Case {
        std::uint32_t x, y;
        std::vector<PixelRect> runs;
    };
    const Case cases[] = {
        {40, 40, {{32, 32, 32, 32}}},                         // well inside one tile
        {33, 40, {{0, 32, 64, 32}}},                          // 1 px from the left tile
        {62, 62, {{32, 32, 64, 32}, {32, 64, 64, 32}}},       // a corner: four tiles
        {34, 48, {{32, 32, 32, 32}}},                         // exactly 2 px in: its own tile only
        {127, 95, {{96, 64, 32, 32}, {96, 64 + 32, 32, 4}}},  // the page's last pixel
    };
    for (const Case& c : cases) {
        Page page(128, 100, 12);  // rows padded past the pixels
        page.paint(c.x, c.y, 1);  // the faintest visible pixel counts
        EXPECT_EQ(page.coverage(), c.runs) << c.x << ", " << c.y;
    }
}

}  // namespace
