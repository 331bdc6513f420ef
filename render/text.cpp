// Bitmap text: every run of lit pixels in a glyph row becomes one rectangle.

#include <cstddef>

#include "render/font.hpp"
#include "render/primitives.hpp"

namespace nj {

namespace {

bool pixelLit(uint16_t row, int column) {
    return (row >> (kGlyphColumns - 1 - column)) & 1u;
}

// Calls emit(c0, c1) for every maximal run of lit columns c0 .. c1-1 in a row.
template <typename Emit>
void forEachRun(uint16_t row, Emit&& emit) {
    int column = 0;
    while (column < kGlyphColumns) {
        if (!pixelLit(row, column)) {
            ++column;
            continue;
        }
        const int start = column;
        while (column < kGlyphColumns && pixelLit(row, column)) ++column;
        emit(start, column);
    }
}

int runsIn(const GlyphRows& glyph) {
    int runs = 0;
    for (uint16_t row : glyph) forEachRun(row, [&](int, int) { ++runs; });
    return runs;
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
    for (char ch : text) rects += runsIn(glyphFor(static_cast<unsigned char>(ch)));
    TriangleWriter out = batch.reserve(rects * 2);
    if (!out) return;

    for (std::size_t i = 0; i < text.size(); ++i) {
        const GlyphRows& glyph = glyphFor(static_cast<unsigned char>(text[i]));
        const float cellX = left + static_cast<float>(i) * advance;
        for (int r = 0; r < kGlyphRows; ++r) {
            const float top = y + static_cast<float>(r) * scale;
            forEachRun(glyph[r], [&](int c0, int c1) {
                writeRect(out, cellX + static_cast<float>(c0) * scale, top,
                          static_cast<float>(c1 - c0) * scale, scale, color);
            });
        }
    }
}

}  // namespace nj
