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

TEST(OverlayCoverage, EmptyAndFullPages) {
    Page empty(100, 70);
    EXPECT_TRUE(empty.coverage().empty());
    Page full(70, 40);
    for (std::uint32_t y = 0; y < 40; ++y)
        for (std::uint32_t x = 0; x < 70; ++x) full.paint(x, y);
    // Two tile rows, each one run clipped to the page's edge.
    const std::vector<PixelRect> runs = {{0, 0, 70, 32}, {0, 32, 70, 8}};
    EXPECT_EQ(full.coverage(), runs);
    EXPECT_TRUE(nj::overlayCoverage(nullptr, 10, 10, 0).empty());
}

TEST(OverlayCoverage, APixelMarksItsTileAndNeighboursWithinTheMargin) {
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

TEST(OverlayCoverage, SeparatePanelsStaySeparateRuns) {
    Page page(256, 64);
    for (std::uint32_t x = 0; x < 40; ++x) page.paint(x, 5);     // a left panel
    for (std::uint32_t x = 200; x < 256; ++x) page.paint(x, 5);  // a right panel
    const std::vector<PixelRect> runs = {{0, 0, 64, 32}, {192, 0, 64, 32}};
    EXPECT_EQ(page.coverage(), runs);
}

}  // namespace
