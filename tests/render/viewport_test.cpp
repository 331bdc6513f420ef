#include "render/viewport.hpp"

#include <gtest/gtest.h>

using nj::fitViewport;
using nj::Viewport;

namespace {

// In the bars a click clamps to the picture's nearest edge; an empty viewport maps everything to
// the corner. (The bars' placement and clicks inside are the game runs' on three screens.)
TEST(Viewport, WindowPixelsInTheBarsClampToThePicturesEdge) {
    const Viewport pillarbox = fitViewport(2560, 1080), letterbox = fitViewport(1280, 1024);
    const struct {
        Viewport viewport;
        float x, y, fx, fy;
    } cases[] = {
        {pillarbox, 100, 540, 0, 0.5f},   // the left bar
        {pillarbox, 2500, 5000, 1, 1},    // the right bar, far below
        {letterbox, 640, 1000, 0.5f, 1},  // below the picture
        {{10, 10, 1280, 0}, 50, 50, 0, 0}, {{0, 0, -5, 100}, 50, 50, 0, 0},
    };
    for (const auto& c : cases) {
        const auto f = nj::windowToCanvas(c.viewport, c.x, c.y);
        EXPECT_FLOAT_EQ(f.fx, c.fx) << c.x << ", " << c.y;
        EXPECT_FLOAT_EQ(f.fy, c.fy) << c.x << ", " << c.y;
    }
}

}  // namespace
