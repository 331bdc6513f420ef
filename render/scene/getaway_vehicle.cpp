// The getaway car on the exit zone, lit up once the way out is open.

#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/scene/exit_state.hpp"
#include "render/scene/marker_looks.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawGetawayVehicle(Batch& batch, const Game& game) {
    drawGetawayVehicleWith(batch, game, SceneAccessibility{});
}

void drawGetawayVehicleWith(Batch& batch, const Game& game,
                            const SceneAccessibility& accessibility) {
    const Rect& e = game.exit;
    const float cx = e.x + e.w / 2, cy = e.y + e.h / 2;
    const bool armed = exitArmed(game);
    const float pulse = fixturePulse(game.animClock, accessibility.reducedFlashing);

    fillRect(batch, e.x, e.y, e.w, e.h,
             armed ? withAlpha(kGold, 0.12f + 0.12f * pulse) : Color{0.08f, 0.09f, 0.13f, 1});
    rectOutline(batch, e.x, e.y, e.w, e.h, 1.5f, armed ? kGold : Color{0.23f, 0.27f, 0.33f, 1});

    // The car faces up, nose at cy - 28.
    fillRoundedRect(batch, cx - 13, cy - 26, 30, 56, 8, {0, 0, 0, 0.55f});
    fillRoundedRect(batch, cx - 15, cy - 28, 30, 56, 8,
                    armed ? Color{0.88f, 0.91f, 0.94f, 1} : Color{0.28f, 0.33f, 0.41f, 1});
    fillRect(batch, cx - 11, cy - 12, 22, 24, {0.06f, 0.09f, 0.16f, 1});
    if (armed) {
        for (const float hx : {cx - 9, cx + 9}) {
            fillCircleGradient(batch, hx, cy - 30, 18, {1.0f, 0.92f, 0.6f, 0.45f}, kTransparent,
                               24);
        }
    }
    // Larger text names the car over the walls instead (drawLargeLabels).
    if (!accessibility.largeLabels)
        drawText(batch, "GETAWAY", cx, e.y + e.h - 14, 0.9f, getawayInk(game), TextAlign::Center);
}

}  // namespace nj
