#include "render/font.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/render/cpu_batch.hpp"

using nj::TextAlign;
using nj::test::CpuBatch;

namespace {

struct Rect {
    float x, y, w, h;
    bool operator==(const Rect& o) const {
        const auto near = [](float a, float b) { return std::abs(a - b) < 1e-3f; };
        return near(x, o.x) && near(y, o.y) && near(w, o.w) && near(h, o.h);
    }
};

// Text drawn into a fresh batch, read back as rectangles (TL is vertex 0 of each
// six, BR vertex 2).
std::vector<Rect> drawnRects(std::string_view text, float x, float y, float scale,
                             TextAlign align = TextAlign::Left) {
    CpuBatch batch;
    batch.begin();
    nj::drawText(batch, text, x, y, scale, {0, 1, 0, 1}, align);
    const auto v = batch.written();
    std::vector<Rect> rects;
    for (size_t i = 0; i + 5 < v.size(); i += 6) {
        rects.push_back({v[i].x, v[i].y, v[i + 2].x - v[i].x, v[i + 2].y - v[i].y});
    }
    return rects;
}

// Each cell is 8 units wide at scale 1; alignment moves the whole line.
TEST(FontText, AlignmentShiftsTheLineByItsWidth) {
    EXPECT_EQ(drawnRects("AB", 100, 40, 2, TextAlign::Center), drawnRects("AB", 84, 40, 2));
    EXPECT_EQ(drawnRects("A", 100, 40, 1, TextAlign::Right), drawnRects("A", 92, 40, 1));
    EXPECT_EQ(drawnRects("A", 100, 40, 1, static_cast<TextAlign>(7)), drawnRects("A", 100, 40, 1));
    EXPECT_EQ(drawnRects(" A", 10, 0, 2), drawnRects("A", 26, 0, 2)) << "a space still advances";
}

TEST(FontText, BytesOutsideThePrintableRangeDrawQuestionMarksInTheirOwnCells) {
    EXPECT_EQ(drawnRects("\xC8", 0, 0, 1), drawnRects("?", 0, 0, 1));  // byte 200
    EXPECT_EQ(drawnRects("A\nA", 0, 0, 1), drawnRects("A?A", 0, 0, 1));
    EXPECT_FALSE(drawnRects("?", 0, 0, 1).empty());
}

TEST(FontText, NothingForEmptyTextBlanksOrNonPositiveScale) {
    EXPECT_TRUE(drawnRects("", 0, 0, 1).empty());
    EXPECT_TRUE(drawnRects("   ", 0, 0, 1).empty());
    EXPECT_TRUE(drawnRects("A", 0, 0, 0).empty());
    EXPECT_TRUE(drawnRects("A", 0, 0, -2).empty());
}

}  // namespace
