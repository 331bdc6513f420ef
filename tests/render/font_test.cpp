#include "render/font.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "tests/render/cpu_batch.hpp"

using nj::TextAlign;
using nj::Vertex;
using nj::test::CpuBatch;

namespace {

const nj::Color kGreen{0, 1, 0, 1};

struct Rect {
    float x, y, w, h;
};

// Text drawn into a fresh batch, read back as rectangles (TL is vertex 0 of each
// six, BR vertex 2).
std::vector<Rect> drawnRects(std::string_view text, float x, float y, float scale,
                             TextAlign align) {
    CpuBatch batch;
    batch.begin();
    nj::drawText(batch, text, x, y, scale, kGreen, align);
    const auto v = batch.written();
    std::vector<Rect> rects;
    for (size_t i = 0; i + 5 < v.size(); i += 6) {
        rects.push_back({v[i].x, v[i].y, v[i + 2].x - v[i].x, v[i + 2].y - v[i].y});
    }
    return rects;
}

float leftmost(const std::vector<Rect>& rects) {
    float x = 1e9f;
    for (const Rect& r : rects) x = std::min(x, r.x);
    return x;
}

// The glyph rows from the table the font text describes, rows 0-9.
struct TellingGlyph {
    char ch;
    uint16_t rows[10];
};
constexpr TellingGlyph kTelling[] = {
    {'A', {0x18, 0x3C, 0x66, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00, 0x00}},
    {'0', {0x3C, 0x66, 0x6E, 0x76, 0x66, 0x66, 0x3C, 0x00, 0x00, 0x00}},
    {'?', {0x3C, 0x66, 0x06, 0x0C, 0x18, 0x00, 0x18, 0x00, 0x00, 0x00}},
    {'g', {0x00, 0x00, 0x3E, 0x66, 0x66, 0x3E, 0x06, 0x3C, 0x00, 0x00}},
    {'!', {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x00, 0x18, 0x18}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x18}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x18, 0x08, 0x10}},
    {';', {0x00, 0x18, 0x18, 0x00, 0x00, 0x18, 0x18, 0x08, 0x10, 0x00}},
    {'_', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7E}},
    {'#', {0x24, 0x24, 0x7E, 0x24, 0x24, 0x7E, 0x24, 0x24, 0x00, 0x00}},
};

TEST(FontTable, TellingGlyphsHaveTheirFixedRows) {
    for (const TellingGlyph& g : kTelling) {
        const auto& rows = nj::kFontGlyphs[static_cast<unsigned char>(g.ch) - 32];
        for (int r = 0; r < 10; ++r) EXPECT_EQ(rows[r], g.rows[r]) << g.ch << " row " << r;
    }
}

TEST(FontTable, EveryGlyphKeepsTheCellLayout) {
    const std::string usesRows8And9 = "!,.;_";
    const std::string descenders = "gjpqy";
    for (int byte = 32; byte <= 127; ++byte) {
        const auto& rows = nj::kFontGlyphs[byte - 32];
        const char ch = static_cast<char>(byte);
        bool lit = false;
        for (int r = 0; r < 12; ++r) {
            EXPECT_EQ(rows[r] & 0xFF80, 0) << "column 0 or high byte set in " << byte;
            lit = lit || rows[r] != 0;
        }
        EXPECT_EQ(rows[10] | rows[11], 0) << byte;
        if (usesRows8And9.find(ch) == std::string::npos) {
            EXPECT_EQ(rows[8] | rows[9], 0) << ch;
        }
        const bool letterOrDigit = std::isalnum(byte) != 0;
        if (letterOrDigit && ch != 'A' && descenders.find(ch) == std::string::npos) {
            EXPECT_EQ(rows[7], 0) << ch << " reaches below its baseline";
        }
        if (descenders.find(ch) != std::string::npos) {
            EXPECT_NE(rows[7], 0) << ch;
        }
        // Space and 127 are blank; every other printable character shows something.
        EXPECT_EQ(lit, byte != 32 && byte != 127) << byte;
    }
}

TEST(FontText, EveryRunOfLitPixelsIsOneRectangle) {
    // 'A': one run in rows 0, 1 and 4, two in rows 2, 3, 5, 6 and 7.
    const auto expectRect = [](const Rect& r, float x, float y, float w, float h) {
        EXPECT_NEAR(r.x, x, 1e-3);
        EXPECT_NEAR(r.y, y, 1e-3);
        EXPECT_NEAR(r.w, w, 1e-3);
        EXPECT_NEAR(r.h, h, 1e-3);
    };
    const auto a = drawnRects("A", 0, 0, 1, TextAlign::Left);
    ASSERT_EQ(a.size(), 13u);
    expectRect(a[0], 3, 0, 2, 1);  // row 0 is 0x18: columns 3 and 4
    expectRect(a[6], 1, 4, 6, 1);  // row 4 is 0x7E: columns 1 to 6 as a single bar
    // Scale multiplies positions and sizes; y is the top of row 0.
    const auto big = drawnRects("_", 10, 20, 3, TextAlign::Left);
    ASSERT_EQ(big.size(), 1u);
    expectRect(big[0], 13, 20 + 9 * 3, 18, 3);
}

TEST(FontText, AlignmentMovesTheWholeLine) {
    // "AB" is 2 x 8 x 2 = 32 wide; centred on 100 its first cell starts at 84,
    // and 'B''s leftmost pixel is in column 1.
    const auto centred = drawnRects("AB", 100, 0, 2, TextAlign::Center);
    EXPECT_NEAR(centred[0].x, 84 + 3 * 2, 1e-3);        // 'A' row 0 starts at column 3 of its cell
    EXPECT_NEAR(centred[13].x, 84 + 16 + 1 * 2, 1e-3);  // 'B' row 0 starts at column 1
    EXPECT_NEAR(leftmost(centred), 84 + 2, 1e-3);       // column 1 of 'A' (row 4) and of 'B'
    const auto right = drawnRects("A", 100, 0, 1, TextAlign::Right);
    EXPECT_NEAR(leftmost(right), 92 + 1, 1e-3);
    const auto other = drawnRects("A", 100, 0, 1, static_cast<TextAlign>(7));
    EXPECT_NEAR(leftmost(other), 101, 1e-3);
    // The vertical position never moves.
    for (TextAlign align : {TextAlign::Left, TextAlign::Center, TextAlign::Right}) {
        EXPECT_NEAR(drawnRects("A", 100, 40, 1, align)[0].y, 40, 1e-3);
    }
}

TEST(FontText, BytesOutsideThePrintableRangeDrawQuestionMarks) {
    const auto question = drawnRects("?", 0, 0, 1, TextAlign::Left);
    const auto high = drawnRects("\xC8", 0, 0, 1, TextAlign::Left);  // byte 200
    ASSERT_EQ(high.size(), question.size());
    for (size_t i = 0; i < high.size(); ++i) EXPECT_NEAR(high[i].x, question[i].x, 1e-3);

    // A line feed is a '?' in its own cell, on the same line.
    const auto feed = drawnRects("A\nA", 0, 0, 1, TextAlign::Left);
    ASSERT_EQ(feed.size(), 13u + question.size() + 13u);
    EXPECT_NEAR(feed[13].x, question[0].x + 8, 1e-3);
    EXPECT_NEAR(feed[13].y, question[0].y, 1e-3);
    EXPECT_NEAR(feed.back().x - feed[12].x, 16, 1e-3);
}

TEST(FontText, NothingForEmptyTextOrNonPositiveScaleAndSpacesStillAdvance) {
    EXPECT_TRUE(drawnRects("", 0, 0, 1, TextAlign::Left).empty());
    EXPECT_TRUE(drawnRects("A", 0, 0, 0, TextAlign::Left).empty());
    EXPECT_TRUE(drawnRects("A", 0, 0, -2, TextAlign::Left).empty());
    EXPECT_TRUE(drawnRects("   ", 0, 0, 1, TextAlign::Left).empty());
    const auto spaced = drawnRects(" A", 10, 0, 2, TextAlign::Left);
    const auto plain = drawnRects("A", 10, 0, 2, TextAlign::Left);
    ASSERT_EQ(spaced.size(), plain.size());
    EXPECT_NEAR(spaced[0].x - plain[0].x, 16, 1e-3);
}

}  // namespace
