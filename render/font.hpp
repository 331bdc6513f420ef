#pragma once
// The play field's built-in bitmap font: labels drawn as solid rectangles, one
// per horizontal run of lit pixels, with no texture.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/color.hpp"
#include "render/batch.hpp"

namespace nj {

// Cells are 8 columns x 12 rows. Column 0 is blank in every glyph, so letters
// never touch; capitals and digits sit in rows 0-6, descenders reach row 7,
// only ! , . ; _ use rows 8-9, and rows 10-11 are always blank.
inline constexpr int kGlyphColumns = 8;
inline constexpr int kGlyphRows = 12;
inline constexpr int kFirstGlyphByte = 32;  // space
inline constexpr int kLastGlyphByte = 127;  // blank
inline constexpr int kGlyphCount = kLastGlyphByte - kFirstGlyphByte + 1;
inline constexpr unsigned char kFallbackGlyphByte = '?';  // stands in for bytes outside 32..127

// One row of a glyph: only the low byte holds pixels, bit 7 is column 0 (left).
using GlyphRows = std::array<uint16_t, kGlyphRows>;
extern const std::array<GlyphRows, kGlyphCount> kFontGlyphs;  // index = byte - 32

// The glyph drawn for a byte, with the fallback applied.
const GlyphRows& glyphFor(unsigned char byte);

enum class TextAlign : int { Left = 0, Center = 1, Right = 2 };  // anything else is Left

// Draws `text` with the top of its cells at y; `scale` is the size of one font
// pixel in canvas units. x is the left edge, the middle or the right edge of the
// whole line by alignment. Line breaks are not interpreted.
void drawText(Batch& batch, std::string_view text, float x, float y, float scale,
              const Color& color, TextAlign align);

}  // namespace nj
