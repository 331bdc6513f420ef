#include "render/primitives.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
using Draw = std::function<void(CpuBatch&)>;

std::vector<Vertex> drawn(const Draw& draw) {
    CpuBatch batch;
    batch.begin();
    draw(batch);
    return batch.written();
}

// Whether any drawn triangle covers the point: shapes are judged by what they
// paint, whatever order their vertices come in.
bool covers(const std::vector<Vertex>& v, float x, float y) {
    const auto side = [&](const Vertex& a, const Vertex& b) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    };
    for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
        const float d1 = side(v[i], v[i + 1]), d2 = side(v[i + 1], v[i + 2]),
                    d3 = side(v[i + 2], v[i]);
        if ((d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0)) return true;
    }
    return false;
}

using Points = std::vector<std::pair<float, float>>;

// A shape spans its box (minX, minY, maxX, maxY) and paints the inside points
// but not the outside ones.
void expectShape(const char* what, const Draw& draw, const std::array<float, 4>& box,
                 const Points& inside, const Points& outside) {
    const auto v = drawn(draw);
    ASSERT_FALSE(v.empty()) << what;
    const auto byX = [](const Vertex& a, const Vertex& b) { return a.x < b.x; };
    const auto byY = [](const Vertex& a, const Vertex& b) { return a.y < b.y; };
    EXPECT_NEAR(std::min_element(v.begin(), v.end(), byX)->x, box[0], kTol) << what;
    EXPECT_NEAR(std::min_element(v.begin(), v.end(), byY)->y, box[1], kTol) << what;
    EXPECT_NEAR(std::max_element(v.begin(), v.end(), byX)->x, box[2], kTol) << what;
    EXPECT_NEAR(std::max_element(v.begin(), v.end(), byY)->y, box[3], kTol) << what;
    for (const auto& [x, y] : inside) EXPECT_TRUE(covers(v, x, y)) << what << " " << x << "," << y;
    for (const auto& [x, y] : outside)
        EXPECT_FALSE(covers(v, x, y)) << what << " " << x << "," << y;
}

// Position, size, turn direction, thickness, hollowness and closure.
TEST(Primitives, EachShapeFillsItsBoxAndOnlyWhatItShould) {
    expectShape("rect", [](CpuBatch& b) { nj::fillRect(b, 10, 20, 30, 40, kRed); },
                {10, 20, 40, 60}, {{11, 59}}, {{41, 30}});
    expectShape("rect outline", [](CpuBatch& b) { nj::rectOutline(b, 10, 20, 100, 50, 4, kRed); },
                {10, 20, 110, 70}, {{12, 40}, {108, 40}, {60, 68}}, {{60, 45}, {15, 25}});
    // A radius of 50 is clamped to 10: the corner is cut off, the edges' middles are not.
    expectShape("rounded rect",
                [](CpuBatch& b) { nj::fillRoundedRect(b, 0, 0, 100, 20, 50, kRed); },
                {0, 0, 100, 20}, {{50, 10}, {1, 10}, {50, 0.5f}}, {{1, 1}, {99, 19}});
    expectShape("rounded outline",
                [](CpuBatch& b) { nj::roundedRectOutline(b, 0, 0, 200, 100, 20, 3, kRed); },
                {0, 0, 200, 100}, {{100, 1}, {1, 50}, {198.5f, 80}}, {{100, 50}, {1, 1}});
    expectShape("circle",
                [](CpuBatch& b) { nj::fillCircleGradient(b, 200, 100, 30, kRed, kBlue, 12); },
                {170, 70, 230, 130}, {{200, 100}, {225, 100}, {225, 99}}, {{222, 122}});
    expectShape("ring", [](CpuBatch& b) { nj::circleOutline(b, 0, 0, 10, 4, kRed, 8); },
                {-10, -10, 10, 10}, {{8, 0}, {0, -8}, {8, -1}}, {{0, 0}, {4, 0}});
    // An eighth of a turn towards +y lays the long radius along the x = y diagonal.
    expectShape("turned ellipse",
                [](CpuBatch& b) { nj::fillEllipse(b, 100, 100, 20, 10, kPi / 4, kRed, 8); },
                {85, 85, 115, 115}, {{112, 112}}, {{112, 88}});
    expectShape("ellipse outline",
                [](CpuBatch& b) { nj::ellipseOutline(b, 100, 100, 20, 10, 0, 2, kRed, 8); },
                {80, 90, 120, 110}, {{119, 100}, {100, 109}}, {{100, 100}, {117, 100}});
    const float s = 100 * std::sin(0.5f);
    expectShape("sector",
                [](CpuBatch& b) { nj::fillSector(b, 50, 60, 100, -0.5f, 0.5f, kRed, kBlue, 4); },
                {50, 60 - s, 150, 60 + s}, {{50 + 50 * std::cos(0.4f), 60 + 50 * std::sin(0.4f)}},
                {{50 + 50 * std::cos(0.6f), 60 + 50 * std::sin(0.6f)}, {40, 60}});
    expectShape("thick line", [](CpuBatch& b) { nj::drawLine(b, 0, 0, 10, 0, 4, kRed); },
                {0, -2, 10, 2}, {{5, 1.9f}, {5, -1.9f}}, {{5, 2.1f}});
    // Likewise the rectangle's long side.
    const float e = 15 * std::sqrt(0.5f);
    expectShape("turned rect",
                [](CpuBatch& b) { nj::fillRotatedRect(b, 100, 100, 20, 10, kPi / 4, kRed); },
                {100 - e, 100 - e, 100 + e, 100 + e}, {{106, 106}}, {{106, 94}});
}

TEST(Primitives, TextureCoordinatesAndGradientsRunFromTheFirstCorner) {
    for (const Vertex& p : drawn([](CpuBatch& b) { nj::fillRect(b, 10, 20, 30, 40, kRed); })) {
        EXPECT_NEAR(p.u, (p.x - 10) / 30, kTol);
        EXPECT_NEAR(p.v, (p.y - 20) / 40, kTol);
    }
    const auto isRed = [](const Vertex& p) { return p.color.b == 0; };
    for (const Vertex& p :
         drawn([](CpuBatch& b) { nj::fillGradientRectH(b, 0, 0, 10, 10, kRed, kBlue); }))
        EXPECT_EQ(isRed(p), p.x < kTol);
    for (const Vertex& p :
         drawn([](CpuBatch& b) { nj::fillGradientRectV(b, 0, 0, 10, 10, kRed, kBlue); }))
        EXPECT_EQ(isRed(p), p.y < kTol);
    for (const Vertex& p :
         drawn([](CpuBatch& b) { nj::fillSector(b, 0, 0, 10, 0, 1, kRed, kBlue, 4); }))
        EXPECT_EQ(isRed(p), std::hypot(p.x, p.y) < kTol);
}

TEST(Primitives, CurvesKeepTheirMinimumStepsAndDegenerateLinesDrawNothing) {
    const struct {
        Draw draw;
        std::size_t triangles;
    } cases[] = {
        {[](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 3); }, 8},
        {[](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 12); }, 12},
        {[](CpuBatch& b) { nj::ellipseOutline(b, 50, 50, 10, 5, 0, 1, kRed, -1); }, 16},
        {[](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 2); }, 4},
        {[](CpuBatch& b) { nj::drawLine(b, 3, 3, 3.00005f, 3, 5, kRed); }, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(drawn(cases[i].draw).size(), cases[i].triangles * 3) << "case " << i;
}

}  // namespace
