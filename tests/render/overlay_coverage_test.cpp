#include "render/overlay_coverage.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
