// Bitmap text: every run of lit pixels in a glyph row becomes one rectangle.

#include <array>
#include <cstddef>
#include <vector>

#include "render/font.hpp"
#include "render/primitives.hpp"

namespace nj {

namespace {

bool pixelLit(uint16_t row, int column) {
    return (row >> (kGlyphColumns - 1 - column)) & 1u;
}

// A maximal run of lit pixels: columns c0 .. c1-1 of one row.
struct Run {
    uint8_t row, c0, c1;
};

std::vector<Run> runsOf(const GlyphRows& glyph) {
    std::vector<Run> runs;
    for (int r = 0; r < kGlyphRows; ++r) {
        int column = 0;
        while (column < kGlyphColumns) {
            if (!pixelLit(glyph[r], column)) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < kGlyphColumns && pixelLit(glyph[r], column)) ++column;
            runs.push_back({static_cast<uint8_t>(r), static_cast<uint8_t>(start),
                            static_cast<uint8_t>(column)});
        }
    }
    return runs;
}

// The runs of every glyph, found once: labels are drawn every frame.
const std::vector<Run>& glyphRuns(unsigned char byte) {
    static const auto table = [] {
        std::array<std::vector<Run>, 256> runs;
        for (int b = 0; b < 256; ++b) runs[b] = runsOf(glyphFor(static_cast<unsigned char>(b)));
        return runs;
    }();
    return table[byte];
}

float alignedLeft(float x, float width, TextAlign align) {
    switch (align) {
        case TextAlign::Center:
            return x - width / 2.0f;
        case TextAlign::Right:
            return x - width;
        default:
            return x;
    }
}

}  // namespace

const GlyphRows& glyphFor(unsigned char byte) {
    if (byte < kFirstGlyphByte || byte > kLastGlyphByte) byte = kFallbackGlyphByte;
    return kFontGlyphs[byte - kFirstGlyphByte];
}

void drawText(Batch& batch, std::string_view text, float x, float y, float scale,
              const Color& color, TextAlign align) {
    if (text.empty() || !(scale > 0.0f)) return;
    const float advance = kGlyphColumns * scale;
    const float left = alignedLeft(x, static_cast<float>(text.size()) * advance, align);

    // The whole line is one primitive: it fits into the frame or is dropped.
    uint64_t rects = 0;
    for (char ch : text) rects += glyphRuns(static_cast<unsigned char>(ch)).size();
    TriangleWriter out = batch.reserve(rects * 2);
    if (!out) return;

    for (std::size_t i = 0; i < text.size(); ++i) {
        const float cellX = left + static_cast<float>(i) * advance;
        for (const Run& run : glyphRuns(static_cast<unsigned char>(text[i]))) {
            writeRect(out, cellX + static_cast<float>(run.c0) * scale,
                      y + static_cast<float>(run.row) * scale,
                      static_cast<float>(run.c1 - run.c0) * scale, scale, color);
        }
    }
}

}  // namespace nj
