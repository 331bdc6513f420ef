#include "render/viewport.hpp"

#include <gtest/gtest.h>

using nj::fitViewport;
using nj::Viewport;

namespace {

// The bars' placement at 16:9, wider and taller is held by the game's runs
// on 1920 x 1200, 1280 x 1024 and 1000 x 562 screens.
TEST(Viewport, WindowPixelsMapToClampedFractionsOfThePicture) {
    const Viewport portrait = fitViewport(720, 1280);
    EXPECT_FLOAT_EQ(portrait.y, 437.5f);
    EXPECT_FLOAT_EQ(portrait.height, 405);
    const Viewport pillarbox = fitViewport(2560, 1080);
    auto f = nj::windowToCanvas(pillarbox, 100, 540);  // in the left bar
    EXPECT_FLOAT_EQ(f.fx, 0);
    EXPECT_FLOAT_EQ(f.fy, 0.5f);
    f = nj::windowToCanvas(pillarbox, 320 + 960, 270);
    EXPECT_FLOAT_EQ(f.fx, 0.5f);
    EXPECT_FLOAT_EQ(f.fy, 0.25f);
    f = nj::windowToCanvas(pillarbox, 2500, 5000);  // right bar, far below
    EXPECT_FLOAT_EQ(f.fx, 1);
    EXPECT_FLOAT_EQ(f.fy, 1);

    const Viewport letterbox = fitViewport(1280, 1024);
    f = nj::windowToCanvas(letterbox, 640, 1000);  // below the picture
    EXPECT_FLOAT_EQ(f.fx, 0.5f);
    EXPECT_FLOAT_EQ(f.fy, 1);
    f = nj::windowToCanvas(letterbox, 0, 152 + 180);
    EXPECT_FLOAT_EQ(f.fx, 0);
    EXPECT_FLOAT_EQ(f.fy, 0.25f);

    for (const Viewport empty :
         {Viewport{0, 0, 0, 720}, Viewport{10, 10, 1280, 0}, Viewport{0, 0, -5, 100}}) {
        f = nj::windowToCanvas(empty, 50, 50);
        EXPECT_EQ(f.fx, 0);
        EXPECT_EQ(f.fy, 0);
    }
}

}  // namespace
