#include "render/font.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/render/cpu_batch.hpp"

using nj::TextAlign;
using nj::test::CpuBatch;

namespace {

// Text drawn into a fresh batch, as its vertices' positions in thousandths of a unit.
std::vector<long> drawnAt(std::string_view text, float x, float y, float scale) {
    CpuBatch batch;
    batch.begin();
    nj::drawText(batch, text, x, y, scale, {0, 1, 0, 1}, TextAlign::Left);
    std::vector<long> at;
    for (const nj::Vertex& v : batch.written()) {
        at.push_back(std::lround(v.x * 1000));
        at.push_back(std::lround(v.y * 1000));
    }
    return at;
}

// A byte the font has no glyph for draws as a question mark in a cell of its own, 8 units wide
// at scale 1 (centred words are the reference frame's).
TEST(FontText, BytesOutsideThePrintableRangeDrawQuestionMarksInTheirOwnCells) {
    EXPECT_EQ(drawnAt("\xC8", 0, 0, 1), drawnAt("?", 0, 0, 1));  // byte 200
    EXPECT_EQ(drawnAt("A\nA", 0, 0, 1), drawnAt("A?A", 0, 0, 1));
    EXPECT_EQ(drawnAt(" A", 10, 0, 2), drawnAt("A", 26, 0, 2)) << "a space still advances";
    EXPECT_FALSE(drawnAt("?", 0, 0, 1).empty());
    EXPECT_TRUE(drawnAt("A", 0, 0, -2).empty());
}

}  // namespace
