// Colour-coded doors: two leaves that slide apart from the middle as the door opens.

#include <algorithm>

#include "render/primitives.hpp"
#include "render/scene/colour_tags.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

constexpr Color kLeaf{0.08f, 0.11f, 0.16f, 1};

void drawLeaf(Batch& batch, float x, float y, float w, float h, const Color& trim) {
    fillRect(batch, x, y, w, h, kLeaf);
    rectOutline(batch, x, y, w, h, 1.4f, trim);
}

//  horizontal (w >= h):  [leaf ==>    <== leaf]   each leaf l = w/2 * closed wide
//  vertical (w < h): the same along y, leaves l = h/2 * closed high
void drawLeaves(Batch& batch, const Door& d, float closed, const Color& trim) {
    if (d.w >= d.h) {
        const float l = 0.5f * d.w * closed;
        for (const float lx : {d.x, d.x + d.w - l}) {
            drawLeaf(batch, lx, d.y, l, d.h, trim);
            fillRect(batch, lx + 2, d.y + d.h / 2 - 1.5f, std::max(l - 4, 0.0f), 3, trim);
        }
    } else {
        const float l = 0.5f * d.h * closed;
        for (const float ly : {d.y, d.y + d.h - l}) {
            drawLeaf(batch, d.x, ly, d.w, l, trim);
            fillRect(batch, d.x + d.w / 2 - 1.5f, ly + 2, 3, std::max(l - 4, 0.0f), trim);
        }
    }
}

// A tag on each leaf while the leaf is long enough to carry it, as large as a
// keycard's and reaching over the frame; it shrinks to fit a narrow door and is
// left off one too narrow to read.
void drawLeafTags(Batch& batch, const Door& d, float closed) {
    constexpr float kTagRadius = 7.5f, kSmallestTag = 3.5f;
    const bool horizontal = d.w >= d.h;
    const float across = horizontal ? d.h : d.w;
    const float radius = std::min(kTagRadius, 0.5f * across + 1.5f);
    const float l = 0.5f * (horizontal ? d.w : d.h) * closed;
    if (!(radius >= kSmallestTag) || !(l >= 2 * radius + 1)) return;
    for (const float along : {l / 2, (horizontal ? d.w : d.h) - l / 2}) {
        if (horizontal)
            drawColourTag(batch, d.x + along, d.y + d.h / 2, radius, d.color);
        else
            drawColourTag(batch, d.x + d.w / 2, d.y + along, radius, d.color);
    }
}

}  // namespace

void drawDoors(Batch& batch, const Game& game) {
    drawDoorsWith(batch, game, SceneAccessibility{});
}

void drawDoorsWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    for (const Door& d : game.doors) {
        fillRect(batch, d.x - 2, d.y - 2, d.w + 4, d.h + 4, {0.04f, 0.05f, 0.08f, 0.85f});
        rectOutline(batch, d.x - 1, d.y - 1, d.w + 2, d.h + 2, 1.2f, {0.28f, 0.34f, 0.44f, 0.7f});
        if (!(d.openAmount < 1.0f)) continue;
        const float closed = 1.0f - d.openAmount;
        const Color trim = colorForName(d.color);
        drawLeaves(batch, d, closed, trim);
        if (accessibility.colourGlyphs) drawLeafTags(batch, d, closed);
        fillCircleGradient(batch, d.x + d.w / 2, d.y + d.h / 2, 18, withAlpha(trim, 0.25f * closed),
                           kTransparent, 24);
    }
}

}  // namespace nj
