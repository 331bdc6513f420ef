#include "render/primitives.hpp"

#include <gtest/gtest.h>

#include <cmath>
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

struct Drawn {
    CpuBatch batch;
    Drawn() { batch.begin(); }
    std::vector<Vertex> vertices() const { return batch.written(); }
    size_t triangles() const { return batch.written().size() / 3; }
};

void expectAt(const Vertex& v, float x, float y, const char* what) {
    EXPECT_NEAR(v.x, x, kTol) << what;
    EXPECT_NEAR(v.y, y, kTol) << what;
}

bool sameColor(const Color& a, const Color& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

float distance(const Vertex& v, float x, float y) {
    return std::hypot(v.x - x, v.y - y);
}

TEST(PrimitiveSegments, CurvesNeverUseFewerThanTheirMinimumSteps) {
    const auto count = [](auto draw) {
        Drawn d;
        draw(d.batch);
        return d.triangles();
    };
    EXPECT_EQ(count([](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 3); }), 8u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 12); }), 12u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::fillCircleGradient(b, 50, 50, 10, kRed, kBlue, -4); }),
              8u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::circleOutline(b, 50, 50, 10, 2, kRed, 0); }), 16u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::fillEllipse(b, 50, 50, 10, 5, 0, kRed, 7); }), 8u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::ellipseOutline(b, 50, 50, 10, 5, 0, 1, kRed, 9); }), 18u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 2); }), 4u);
    EXPECT_EQ(count([](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 6); }), 6u);
}

TEST(PrimitiveRects, CornersWindingColoursAndTextureCoordinates) {
    Drawn d;
    nj::fillRect(d.batch, 10, 20, 30, 40, kRed);
    nj::fillGradientRectH(d.batch, 0, 0, 10, 10, kRed, kBlue);
    nj::fillGradientRectV(d.batch, 0, 0, 10, 10, kRed, kBlue);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), 18u);
    // (TL, TR, BR), (TL, BR, BL)
    expectAt(v[0], 10, 20, "TL");
    expectAt(v[1], 40, 20, "TR");
    expectAt(v[2], 40, 60, "BR");
    expectAt(v[3], 10, 20, "TL");
    expectAt(v[4], 40, 60, "BR");
    expectAt(v[5], 10, 60, "BL");
    const float uv[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(v[i].u, uv[i][0]);
        EXPECT_EQ(v[i].v, uv[i][1]);
    }
    // Horizontal: left edge (TL, BL) left colour, right edge (TR, BR) right colour.
    const bool hLeft[6] = {true, false, false, true, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(sameColor(v[6 + i].color, hLeft[i] ? kRed : kBlue)) << i;
    // Vertical: top edge (TL, TR) top colour, bottom edge (BR, BL) bottom colour.
    const bool vTop[6] = {true, true, false, true, false, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(sameColor(v[12 + i].color, vTop[i] ? kRed : kBlue)) << i;
}

TEST(PrimitiveRects, OutlineIsFourBarsInsideTheRectangle) {
    Drawn d;
    nj::rectOutline(d.batch, 10, 20, 100, 50, 4, kRed);
    const auto v = d.vertices();
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
    Drawn d;
    nj::fillRoundedRect(d.batch, 0, 0, 100, 20, 50, kRed);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), (3u * 2 + 4 * 8) * 3);
    // Centre body spans the full height between the corner columns.
    expectAt(v[0], 10, 0, "body TL");
    expectAt(v[2], 90, 20, "body BR");
    // Side strips are r wide (and empty in height here, since h - 2r = 0).
    expectAt(v[6], 0, 10, "left TL");
    expectAt(v[8], 10, 10, "left BR");
    expectAt(v[12], 90, 10, "right TL");
    expectAt(v[14], 100, 10, "right BR");
    // Corner fans: centres and start angles clockwise from bottom-right; every rim
    // point lies 10 from its centre and inside the rectangle.
    const float centres[4][3] = {
        {90, 10, 0}, {10, 10, kPi / 2}, {10, 10, kPi}, {90, 10, 1.5f * kPi}};
    for (int c = 0; c < 4; ++c) {
        const size_t first = 18 + static_cast<size_t>(c) * 24;
        expectAt(v[first], centres[c][0], centres[c][1], "fan centre");
        const float a0 = centres[c][2];
        expectAt(v[first + 1], centres[c][0] + 10 * std::cos(a0), centres[c][1] + 10 * std::sin(a0),
                 "fan start");
        const float a1 = a0 + kPi / 2;
        expectAt(v[first + 23], centres[c][0] + 10 * std::cos(a1),
                 centres[c][1] + 10 * std::sin(a1), "fan end");
        for (int t = 0; t < 8; ++t) {
            EXPECT_NEAR(distance(v[first + t * 3 + 1], centres[c][0], centres[c][1]), 10, kTol);
            EXPECT_NEAR(distance(v[first + t * 3 + 2], centres[c][0], centres[c][1]), 10, kTol);
        }
    }
    for (const Vertex& p : v) {
        EXPECT_GE(p.x, -kTol);
        EXPECT_LE(p.x, 100 + kTol);
        EXPECT_GE(p.y, -kTol);
        EXPECT_LE(p.y, 20 + kTol);
    }
}

TEST(PrimitiveRoundedRects, OutlineBandsRunBetweenRadiusMinusThicknessAndRadius) {
    Drawn d;
    nj::roundedRectOutline(d.batch, 0, 0, 200, 100, 20, 3, kRed);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), (4u * 2 + 4 * 16) * 3);
    expectAt(v[0], 20, 0, "top bar TL");
    expectAt(v[2], 180, 3, "top bar BR");
    expectAt(v[6], 20, 97, "bottom bar TL");
    expectAt(v[12], 0, 20, "left bar TL");
    expectAt(v[14], 3, 80, "left bar BR");
    expectAt(v[18], 197, 20, "right bar TL");
    // First band (bottom-right corner, centre (180, 80)): triangles are
    // (inner i, outer i, outer i+1), (inner i, outer i+1, inner i+1).
    const size_t band = 24;
    EXPECT_NEAR(distance(v[band], 180, 80), 17, kTol);
    EXPECT_NEAR(distance(v[band + 1], 180, 80), 20, kTol);
    EXPECT_NEAR(distance(v[band + 2], 180, 80), 20, kTol);
    EXPECT_NEAR(distance(v[band + 5], 180, 80), 17, kTol);
    expectAt(v[band], 197, 80, "band starts at angle 0");
}

TEST(PrimitiveCircles, FanAroundTheCentreClosesOnItsFirstPoint) {
    Drawn d;
    nj::fillCircleGradient(d.batch, 200, 100, 30, kRed, kBlue, 12);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), 36u);
    for (int i = 0; i < 12; ++i) {
        const Vertex& centre = v[i * 3];
        expectAt(centre, 200, 100, "centre");
        EXPECT_TRUE(sameColor(centre.color, kRed));
        const float a = 2 * kPi * i / 12;
        expectAt(v[i * 3 + 1], 200 + 30 * std::cos(a), 100 + 30 * std::sin(a), "rim i");
        EXPECT_TRUE(sameColor(v[i * 3 + 1].color, kBlue));
        EXPECT_TRUE(sameColor(v[i * 3 + 2].color, kBlue));
        EXPECT_EQ(v[i * 3 + 1].u, 0.0f);
    }
    // The last rim point is where the first one was; positive angles turn towards +y.
    expectAt(v[35], v[1].x, v[1].y, "closed");
    expectAt(v[4], 200 + 30 * std::cos(kPi / 6), 100 + 30 * std::sin(kPi / 6), "turns down");
    EXPECT_GT(v[4].y, 100.0f);
}

TEST(PrimitiveCircles, RingAndEllipses) {
    Drawn ring;
    nj::circleOutline(ring.batch, 0, 0, 10, 4, kRed, 8);
    const auto r = ring.vertices();
    ASSERT_EQ(r.size(), 48u);
    expectAt(r[0], 6, 0, "inner 0");
    expectAt(r[1], 10, 0, "outer 0");
    EXPECT_NEAR(distance(r[2], 0, 0), 10, kTol);
    EXPECT_NEAR(distance(r[5], 0, 0), 6, kTol);

    // A quarter turn maps the ellipse's +x radius onto +y.
    Drawn e;
    nj::fillEllipse(e.batch, 100, 100, 20, 10, kPi / 2, kRed, 8);
    const auto ev = e.vertices();
    expectAt(ev[1], 100, 120, "P(0) rotated");
    expectAt(ev[2 * 3 + 1], 90, 100, "P(pi/2) rotated");

    Drawn eo;
    nj::ellipseOutline(eo.batch, 100, 100, 20, 10, 0, 2, kRed, 8);
    const auto ov = eo.vertices();
    expectAt(ov[0], 118, 100, "inner radii shrink by the thickness");
    expectAt(ov[1], 120, 100, "outer");
    expectAt(ov[2], 100 + 20 * std::cos(kPi / 4), 100 + 10 * std::sin(kPi / 4), "outer 1");
}

TEST(PrimitiveSectors, SpanFromStartToEndAngleInclusive) {
    Drawn d;
    nj::fillSector(d.batch, 50, 60, 100, -0.5f, 0.5f, kRed, kBlue, 4);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), 12u);
    expectAt(v[0], 50, 60, "apex");
    EXPECT_TRUE(sameColor(v[0].color, kRed));
    expectAt(v[1], 50 + 100 * std::cos(-0.5f), 60 + 100 * std::sin(-0.5f), "first edge");
    expectAt(v[11], 50 + 100 * std::cos(0.5f), 60 + 100 * std::sin(0.5f), "last edge");
    expectAt(v[4], 50 + 100 * std::cos(-0.25f), 60 + 100 * std::sin(-0.25f), "step 1");
    EXPECT_TRUE(sameColor(v[11].color, kBlue));
}

TEST(PrimitiveLines, ThicknessIsSplitAcrossTheSegmentAndShortSegmentsDrawNothing) {
    Drawn d;
    nj::drawLine(d.batch, 0, 0, 10, 0, 4, kRed);
    nj::drawLine(d.batch, 5, 5, 5, 25, 2, kRed);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), 12u);
    // Left normal of +x is +y: A (0,2), B (10,2), C (10,-2), D (0,-2).
    expectAt(v[0], 0, 2, "A");
    expectAt(v[1], 10, 2, "B");
    expectAt(v[2], 10, -2, "C");
    expectAt(v[5], 0, -2, "D");
    EXPECT_EQ(v[1].u, 1.0f);
    EXPECT_EQ(v[5].v, 1.0f);
    expectAt(v[6], 4, 5, "vertical A");
    expectAt(v[8], 6, 25, "vertical C");

    Drawn none;
    nj::drawLine(none.batch, 3, 3, 3, 3, 5, kRed);
    nj::drawLine(none.batch, 3, 3, 3.00005f, 3, 5, kRed);
    EXPECT_EQ(none.triangles(), 0u);
}

TEST(PrimitiveRotatedRects, CornersTurnAboutTheCentre) {
    Drawn d;
    nj::fillRotatedRect(d.batch, 100, 100, 20, 10, kPi / 2, kRed);
    const auto v = d.vertices();
    ASSERT_EQ(v.size(), 6u);
    // (-10,-5) (10,-5) (10,5) (-10,5) turned a quarter: (5,-10) (5,10) (-5,10) (-5,-10).
    expectAt(v[0], 105, 90, "0");
    expectAt(v[1], 105, 110, "1");
    expectAt(v[2], 95, 110, "2");
    expectAt(v[5], 95, 90, "3");
}

}  // namespace
