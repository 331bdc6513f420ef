#include "render/primitives.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "tests/render/cpu_batch.hpp"

using nj::Color;
using nj::Vertex;
using nj::test::CpuBatch;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTol = 1e-3f;  // canvas units, after the round trip through device space
const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 0.5f};

std::vector<Vertex> drawn(const std::function<void(CpuBatch&)>& draw) {
    CpuBatch batch;
    batch.begin();
    draw(batch);
    return batch.written();
}

void expectAt(const Vertex& v, float x, float y, const char* what) {
    EXPECT_NEAR(v.x, x, kTol) << what;
    EXPECT_NEAR(v.y, y, kTol) << what;
}

bool isRed(const Vertex& v) {
    return v.color.r == 1 && v.color.b == 0 && v.color.a == 1;
}

float distance(const Vertex& v, float x, float y) {
    return std::hypot(v.x - x, v.y - y);
}

TEST(PrimitiveSegments, CurvesNeverUseFewerThanTheirMinimumSteps) {
    const struct {
        std::function<void(CpuBatch&)> draw;
        std::size_t triangles;
    } cases[] = {
        {[](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 3); }, 8},
        {[](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 12); }, 12},
        {[](CpuBatch& b) { nj::fillCircleGradient(b, 50, 50, 10, kRed, kBlue, -4); }, 8},
        {[](CpuBatch& b) { nj::circleOutline(b, 50, 50, 10, 2, kRed, 0); }, 16},
        {[](CpuBatch& b) { nj::fillEllipse(b, 50, 50, 10, 5, 0, kRed, 7); }, 8},
        {[](CpuBatch& b) { nj::ellipseOutline(b, 50, 50, 10, 5, 0, 1, kRed, 9); }, 18},
        {[](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 2); }, 4},
        {[](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 6); }, 6},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(drawn(cases[i].draw).size(), cases[i].triangles * 3) << "case " << i;
}

TEST(PrimitiveRects, CornersAndGradientEdges) {
    const auto v = drawn([](CpuBatch& b) {
        nj::fillRect(b, 10, 20, 30, 40, kRed);
        nj::fillGradientRectH(b, 0, 0, 10, 10, kRed, kBlue);
        nj::fillGradientRectV(b, 0, 0, 10, 10, kRed, kBlue);
    });
    ASSERT_EQ(v.size(), 18u);
    // (TL, TR, BR), (TL, BR, BL), with texture coordinates running with them.
    const float corners[6][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 20}, {40, 60}, {10, 60}};
    for (int i = 0; i < 6; ++i) {
        expectAt(v[i], corners[i][0], corners[i][1], "rect corner");
        EXPECT_EQ(v[i].u, (corners[i][0] - 10) / 30);
        EXPECT_EQ(v[i].v, (corners[i][1] - 20) / 40);
    }
    // The first colour on the left edge (horizontal) or the top edge (vertical).
    for (int i = 6; i < 12; ++i) EXPECT_EQ(isRed(v[i]), v[i].x < kTol) << i;
    for (int i = 12; i < 18; ++i) EXPECT_EQ(isRed(v[i]), v[i].y < kTol) << i;
}

TEST(PrimitiveRects, OutlineIsFourBarsInsideTheRectangle) {
    const auto v = drawn([](CpuBatch& b) { nj::rectOutline(b, 10, 20, 100, 50, 4, kRed); });
    ASSERT_EQ(v.size(), 24u);
    // Each bar's TL is vertex 0 of its six and its BR is vertex 2.
    const float bars[4][4] = {
        {10, 20, 110, 24}, {10, 66, 110, 70}, {10, 24, 14, 66}, {106, 24, 110, 66}};
    for (int b = 0; b < 4; ++b) {
        expectAt(v[b * 6], bars[b][0], bars[b][1], "bar TL");
        expectAt(v[b * 6 + 2], bars[b][2], bars[b][3], "bar BR");
    }
}

TEST(PrimitiveRoundedRects, RadiusIsClampedToHalfTheShorterSide) {
    const auto v = drawn([](CpuBatch& b) { nj::fillRoundedRect(b, 0, 0, 100, 20, 50, kRed); });
    ASSERT_EQ(v.size(), (3u * 2 + 4 * 8) * 3);
    // A radius of 10: everything inside the rectangle, nothing nearer a corner
    // than the arc's middle is (10 (sqrt 2 - 1) away), the corners' centres 10 in.
    float nearestCorner = 1e9f;
    for (const Vertex& p : v) {
        EXPECT_GE(p.x, -kTol);
        EXPECT_LE(p.x, 100 + kTol);
        EXPECT_GE(p.y, -kTol);
        EXPECT_LE(p.y, 20 + kTol);
        nearestCorner = std::fmin(nearestCorner, distance(p, 0, 0));
    }
    EXPECT_NEAR(nearestCorner, 10 * (std::sqrt(2.0f) - 1), 0.05f);
    expectAt(v[0], 10, 0, "body TL");
    expectAt(v[2], 90, 20, "body BR");
}

TEST(PrimitiveRoundedRects, OutlineBandsRunBetweenRadiusMinusThicknessAndRadius) {
    const auto v =
        drawn([](CpuBatch& b) { nj::roundedRectOutline(b, 0, 0, 200, 100, 20, 3, kRed); });
    ASSERT_EQ(v.size(), (4u * 2 + 4 * 16) * 3);
    expectAt(v[0], 20, 0, "top bar TL");
    expectAt(v[2], 180, 3, "top bar BR");
    expectAt(v[14], 3, 80, "left bar BR");
    // The first band, round the bottom-right corner's centre (180, 80).
    for (const auto& [i, r] : {std::pair{24, 17}, {25, 20}, {26, 20}, {29, 17}})
        EXPECT_NEAR(distance(v[i], 180, 80), r, kTol) << i;
    expectAt(v[24], 197, 80, "band starts at angle 0");
}

TEST(PrimitiveCircles, FanAroundTheCentreClosesOnItsFirstPointTurningTowardsPlusY) {
    const auto v =
        drawn([](CpuBatch& b) { nj::fillCircleGradient(b, 200, 100, 30, kRed, kBlue, 12); });
    ASSERT_EQ(v.size(), 36u);
    for (int i = 0; i < 12; ++i) {
        expectAt(v[i * 3], 200, 100, "centre");
        EXPECT_TRUE(isRed(v[i * 3]));
        const float a = 2 * kPi * i / 12;
        expectAt(v[i * 3 + 1], 200 + 30 * std::cos(a), 100 + 30 * std::sin(a), "rim");
        EXPECT_FALSE(isRed(v[i * 3 + 1]) || isRed(v[i * 3 + 2]));
    }
    expectAt(v[35], v[1].x, v[1].y, "closed");
}

TEST(PrimitiveCircles, RingAndEllipses) {
    const auto ring = drawn([](CpuBatch& b) { nj::circleOutline(b, 0, 0, 10, 4, kRed, 8); });
    ASSERT_EQ(ring.size(), 48u);
    expectAt(ring[0], 6, 0, "inner 0");
    expectAt(ring[1], 10, 0, "outer 0");
    // A quarter turn maps the ellipse's +x radius onto +y.
    const auto e =
        drawn([](CpuBatch& b) { nj::fillEllipse(b, 100, 100, 20, 10, kPi / 2, kRed, 8); });
    expectAt(e[1], 100, 120, "P(0) rotated");
    expectAt(e[7], 90, 100, "P(pi/2) rotated");
    const auto o =
        drawn([](CpuBatch& b) { nj::ellipseOutline(b, 100, 100, 20, 10, 0, 2, kRed, 8); });
    expectAt(o[0], 118, 100, "inner radii shrink by the thickness");
    expectAt(o[2], 100 + 20 * std::cos(kPi / 4), 100 + 10 * std::sin(kPi / 4), "outer 1");
}

TEST(PrimitiveSectors, SpanFromStartToEndAngleInclusive) {
    const auto v =
        drawn([](CpuBatch& b) { nj::fillSector(b, 50, 60, 100, -0.5f, 0.5f, kRed, kBlue, 4); });
    ASSERT_EQ(v.size(), 12u);
    expectAt(v[0], 50, 60, "apex");
    EXPECT_TRUE(isRed(v[0]));
    expectAt(v[1], 50 + 100 * std::cos(-0.5f), 60 + 100 * std::sin(-0.5f), "first edge");
    expectAt(v[4], 50 + 100 * std::cos(-0.25f), 60 + 100 * std::sin(-0.25f), "step 1");
    expectAt(v[11], 50 + 100 * std::cos(0.5f), 60 + 100 * std::sin(0.5f), "last edge");
    EXPECT_FALSE(isRed(v[11]));
}

TEST(PrimitiveLines, ThicknessIsSplitAcrossTheSegmentAndShortSegmentsDrawNothing) {
    const auto v = drawn([](CpuBatch& b) {
        nj::drawLine(b, 0, 0, 10, 0, 4, kRed);
        nj::drawLine(b, 5, 5, 5, 25, 2, kRed);
    });
    ASSERT_EQ(v.size(), 12u);
    // Left normal of +x is +y: A (0,2), B (10,2), C (10,-2), D (0,-2).
    expectAt(v[0], 0, 2, "A");
    expectAt(v[1], 10, 2, "B");
    expectAt(v[2], 10, -2, "C");
    expectAt(v[5], 0, -2, "D");
    expectAt(v[6], 4, 5, "vertical A");
    expectAt(v[8], 6, 25, "vertical C");
    EXPECT_TRUE(drawn([](CpuBatch& b) {
                    nj::drawLine(b, 3, 3, 3, 3, 5, kRed);
                    nj::drawLine(b, 3, 3, 3.00005f, 3, 5, kRed);
                }).empty());
}

TEST(PrimitiveRotatedRects, CornersTurnAboutTheCentre) {
    const auto v =
        drawn([](CpuBatch& b) { nj::fillRotatedRect(b, 100, 100, 20, 10, kPi / 2, kRed); });
    ASSERT_EQ(v.size(), 6u);
    // (-10,-5) (10,-5) (10,5) (-10,5) turned a quarter: (5,-10) (5,10) (-5,10) (-5,-10).
    expectAt(v[0], 105, 90, "0");
    expectAt(v[1], 105, 110, "1");
    expectAt(v[2], 95, 110, "2");
    expectAt(v[5], 95, 90, "3");
}

}  // namespace
