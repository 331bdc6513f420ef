// Things to pick up: the cipher card and the colour keycards, bobbing in their glow.

#include <string_view>

#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/scene/colour_tags.hpp"
#include "render/scene/marker_looks.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawCipherCard(Batch& batch, const Game& game) {
    drawCipherCardWith(batch, game, SceneAccessibility{});
}

void drawCipherCardWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (game.cardTaken) return;
    const float x = game.card.x, y = game.card.y;
    const float b = cardBob(game.animClock);
    fillCircleGradient(batch, x, y + b, 24, {1.0f, 0.82f, 0.28f, 0.28f}, kTransparent, 24);
    fillRoundedRect(batch, x - 12, y - 8 + b, 24, 16, 2.5f, kGold);
    roundedRectOutline(batch, x - 12, y - 8 + b, 24, 16, 2.5f, 1.2f, {1.0f, 0.94f, 0.54f, 1});
    fillRect(batch, x - 8, y - 4 + b, 5, 8, {0.09f, 0.1f, 0.13f, 1});
    // Larger text names the card over the walls instead (drawLargeLabels).
    if (!accessibility.largeLabels)
        drawText(batch, "QXC", x + 3, y - 4 + b, 0.7f, kWhite, TextAlign::Center);
}

void drawKeycards(Batch& batch, const Game& game) {
    drawKeycardsWith(batch, game, SceneAccessibility{});
}

void drawKeycardsWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    const float b = keycardBob(game.animClock);
    for (const Keycard& k : game.keycards) {
        if (k.taken) continue;
        const Color c = colorForName(k.color);
        const float x = k.x, y = k.y + b;
        fillCircleGradient(batch, x, y, 20, withAlpha(c, 0.25f), kTransparent, 24);
        fillRoundedRect(batch, x - 10, y - 7, 20, 14, 2, c);
        roundedRectOutline(batch, x - 10, y - 7, 20, 14, 2, 1, kWhite);
        fillRect(batch, x - 7, y - 4, 4, 8, {0.04f, 0.05f, 0.07f, 1});
        const std::string_view name = k.color;
        if (!accessibility.largeLabels)  // named over the walls instead
            drawText(batch, name.substr(0, 3), x + 3, y - 4, 0.6f, kWhite, TextAlign::Center);
        // The door's tag rides above the card, clear of its letters.
        if (accessibility.colourGlyphs) drawColourTag(batch, x, y - 15.5f, 7.5f, name);
    }
}

}  // namespace nj
