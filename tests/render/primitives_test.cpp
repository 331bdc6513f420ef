#include "render/primitives.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string_view>

#include "render/batch.hpp"
#include "render/font.hpp"
#include "tests/render/cpu_batch.hpp"

using nj::Color;
using nj::Vertex;
using namespace nj::test;

namespace {

const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 0.5f};
using Draw = std::function<void(CpuBatch&)>;

// Shapes as they stand are the reference frame's; a corner radius too large is clamped.
TEST(Primitives, AnOversizedCornerRadiusKeepsTheRoundedRectInsideItsBox) {
    const auto v = drawnBy([](CpuBatch& b) { nj::fillRoundedRect(b, 0, 0, 100, 20, 50, kRed); });
    ASSERT_FALSE(v.empty());
    expectBox(boundsOf(v), 0, 0, 100, 20, 1e-3f);
}

// Too few segments draw as the fewest a curve allows; a line shorter than its rounding, nothing.
TEST(Primitives, CurvesKeepTheirMinimumStepsAndDegenerateLinesDrawNothing) {
    const auto same = [](const Draw& a, const Draw& b) {
        return sameVertices(drawnBy(a), drawnBy(b));
    };
    EXPECT_TRUE(same([](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 3); },
                     [](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 8); }));
    EXPECT_FALSE(same([](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 9); },
                      [](CpuBatch& b) { nj::fillCircle(b, 50, 50, 10, kRed, 8); }));
    EXPECT_TRUE(same([](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 2); },
                     [](CpuBatch& b) { nj::fillSector(b, 50, 50, 10, 0, 1, kRed, kBlue, 4); }));
    EXPECT_TRUE(drawnBy([](CpuBatch& b) { nj::drawLine(b, 3, 3, 3.00005f, 3, 5, kRed); }).empty());
}

// Text drawn into a fresh batch, as its vertices' positions in thousandths of a unit.
std::vector<long> textAt(std::string_view text, float x, float y, float scale) {
    std::vector<long> at;
    for (const Vertex& v : drawnBy(
             [&](CpuBatch& b) { nj::drawText(b, text, x, y, scale, kRed, nj::TextAlign::Left); })) {
        at.push_back(std::lround(v.x * 1000));
        at.push_back(std::lround(v.y * 1000));
    }
    return at;
}

// A byte the font has no glyph for draws as a question mark in a cell of its own, 8 units wide
// at scale 1 (centred words are the reference frame's).
TEST(FontText, BytesOutsideThePrintableRangeDrawQuestionMarksInTheirOwnCells) {
    EXPECT_EQ(textAt("\xC8", 0, 0, 1), textAt("?", 0, 0, 1));  // byte 200
    EXPECT_EQ(textAt("A\nA", 0, 0, 1), textAt("A?A", 0, 0, 1));
    EXPECT_EQ(textAt(" A", 10, 0, 2), textAt("A", 26, 0, 2)) << "a space still advances";
    EXPECT_FALSE(textAt("?", 0, 0, 1).empty());
    EXPECT_TRUE(textAt("A", 0, 0, -2).empty());
}

const Color kWhite{1, 1, 1, 1};

TEST(BatchCapacity, APrimitiveThatDoesNotFitIsDroppedWholeAndSmallerOnesStillFit) {
    CpuBatch batch(31);
    batch.begin();
    nj::fillCircle(batch, 100, 100, 10, kWhite, 8);       // 24 vertices
    nj::fillRoundedRect(batch, 0, 0, 50, 50, 5, kWhite);  // far too many for the rest
    EXPECT_EQ(batch.batchVertexCount(), 24u);
    nj::fillRect(batch, 0, 0, 1, 1, kWhite);  // 6 of the 7 left
    EXPECT_EQ(batch.batchVertexCount(), 30u);
    nj::fillTriangle(batch, 5, 5, 6, 5, 5, 6, {1, 0, 0, 1});
    EXPECT_EQ(batch.batchVertexCount(), 30u);
    EXPECT_EQ(batch.storage[30].color.r, 0.0f) << "the dropped triangle wrote into the last vertex";
    batch.flushBatch();
    EXPECT_EQ(batch.log, (std::vector<std::string>{"draw 0 30"}));
    // A segment count that would overflow 32-bit vertex arithmetic is simply too big.
    CpuBatch big;
    big.begin();
    nj::fillCircle(big, 0, 0, 1, kWhite, 1 << 30);
    nj::circleOutline(big, 0, 0, 1, 1, kWhite, 2147483647);
    EXPECT_EQ(big.batchVertexCount(), 0u);
}

// A draw outside any frame has nowhere to go; a frame's fresh start is the reference frame's.
TEST(BatchFrames, DrawsOutsideAFrameAreDiscarded) {
    CpuBatch batch;
    nj::fillRect(batch, 0, 0, 10, 10, kWhite);
    batch.flushBatch();
    batch.setAdditiveBlend(true);
    EXPECT_TRUE(batch.log.empty());
    EXPECT_EQ(batch.batchVertexCount(), 0u);
}

}  // namespace
