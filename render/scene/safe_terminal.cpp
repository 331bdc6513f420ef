// The safe terminal: a console with a floating tag, cyan until the cipher is cracked.

#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/marker_looks.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawSafeTerminal(Batch& batch, const Game& game) {
    drawSafeTerminalWith(batch, game, SceneAccessibility{});
}

void drawSafeTerminalWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    const float tx = game.terminal.x, ty = game.terminal.y;
    const bool cracked = game.cipherDecrypted != 0;
    const Color t = terminalTint(game);

    fillCircleGradient(batch, tx, ty, 38, withAlpha(t, 0.26f), kTransparent, 24);
    fillRoundedRect(batch, tx - 16, ty - 10, 32, 22, 3, {0.07f, 0.11f, 0.17f, 1});
    roundedRectOutline(batch, tx - 16, ty - 10, 32, 22, 3, 1.4f, {0.2f, 0.48f, 0.68f, 1});
    fillRect(batch, tx - 12, ty - 6, 24, 12, {0.25f * t.r, 0.35f * t.g, 0.45f * t.b, 0.9f});

    const float ly = ty - 22 + 1.5f * std::sin(3.2f * game.animClock);
    fillRoundedRect(batch, tx - 15, ly - 10, 30, 18, 2.5f, withAlpha(t, 0.22f));
    roundedRectOutline(batch, tx - 15, ly - 10, 30, 18, 2.5f, 1.5f, t);
    drawLine(batch, tx - 10, ly - 4, tx + 10, ly - 4, 1.5f, {1, 1, 1, 0.85f});
    drawLine(batch, tx - 10, ly + 0.5f, tx + 4, ly + 0.5f, 1.5f, t);
    drawLine(batch, tx - 10, ly + 4.5f, tx + 8, ly + 4.5f, 1.2f, t);

    // A tether to the operative while close enough to start the decryption.
    const float dx = game.playerPos.x - tx, dy = game.playerPos.y - ty;
    if (!cracked && std::sqrt(dx * dx + dy * dy) < 55) {
        drawLine(batch, game.playerPos.x, game.playerPos.y, tx, ty, 1.4f, withAlpha(t, 0.55f));
        const float pulse = fixturePulse(game.animClock, accessibility.reducedFlashing);
        circleOutline(batch, tx, ty, 22 + 3 * pulse, 1.2f, t, 20);
    }
}

}  // namespace nj
