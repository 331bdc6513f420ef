// Large labels on a dark plate, for the player's larger text size.

#include "render/scene/label_plate.hpp"

#include <algorithm>

#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/vertex.hpp"

namespace nj {
namespace {

constexpr float kPad = 2.0f;
constexpr int kLitRows = 8;  // letters reach the glyph's row 7 (A, and descenders)

}  // namespace

float largeLabelHeight() {
    return kLitRows * kLargeLabelScale + 2 * kPad;
}

void drawLargeLabel(Batch& batch, std::string_view text, float cx, float top, const Color& ink) {
    // The glyphs' blank first column leaves one font pixel on the left: the
    // plate starts there so the letters sit in its middle.
    const float width = static_cast<float>(text.size() * kGlyphColumns) * kLargeLabelScale;
    const float lowest = kLabelEdgeMargin + width / 2, highest = kCanvasWidth - lowest;
    if (lowest < highest) cx = std::clamp(cx, lowest, highest);
    const float left = cx - width / 2;
    Color plate = kLabelPlateColor;
    plate.a *= ink.a;
    fillRoundedRect(batch, left + kLargeLabelScale - kPad, top, width - kLargeLabelScale + 2 * kPad,
                    largeLabelHeight(), 2, plate);
    drawText(batch, text, cx, top + kPad, kLargeLabelScale, ink, TextAlign::Center);
}

}  // namespace nj
