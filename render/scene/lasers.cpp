// Laser grids: emitter posts, and while armed a glowing red beam between them.

#include <algorithm>

#include "render/primitives.hpp"
#include "render/scene/repeated_parts.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

void drawPost(Batch& batch, float x, float y, float h) {
    fillRect(batch, x, y, 6, h, {0.13f, 0.11f, 0.08f, 1});
    rectOutline(batch, x, y, 6, h, 1.2f, kGold);
}

void drawBeam(Batch& batch, const Laser& l) {
    const float by = l.y + l.h / 2, x0 = l.x, x1 = l.x + l.w;
    drawLine(batch, x0, by, x1, by, 5.5f, withAlpha(kAlarmRed, 0.32f));
    drawLine(batch, x0, by, x1, by, 3.2f, withAlpha(kAlarmRed, 0.75f));
    drawLine(batch, x0, by, x1, by, 1.3f, {1.0f, 1.0f, 1.0f, 0.95f});
    for (const float x : {x0, x1}) fillCircle(batch, x, by, 3.2f, {1.0f, 0.45f, 0.45f, 0.85f}, 10);
}

// The grid blinks on and off every few seconds. For a player who asked for
// reduced flashing a live beam is a plain red bar that adds no light, and a
// dark one leaves a faint dashed trace, so the blink is a change of strength
// rather than a flare out of nothing.
void drawSteadyBeam(Batch& batch, const Laser& l, bool live) {
    const float by = l.y + l.h / 2, x0 = l.x, x1 = l.x + l.w;
    if (live) {
        drawLine(batch, x0, by, x1, by, 3.2f, withAlpha(kAlarmRed, 0.9f));
        drawLine(batch, x0, by, x1, by, 1.0f, {1.0f, 0.62f, 0.62f, 0.9f});
        return;
    }
    constexpr float kDash = 6, kGap = 5;
    for (int i = 0; i < kMaxRepeatedParts; ++i) {
        const float dx = x0 + static_cast<float>(i) * (kDash + kGap);
        if (!(dx < x1)) break;
        drawLine(batch, dx, by, std::min(dx + kDash, x1), by, 1.0f, withAlpha(kAlarmRed, 0.35f));
    }
}

}  // namespace

void drawLasers(Batch& batch, const Game& game) {
    drawLasersWith(batch, game, SceneAccessibility{});
}

void drawLasersWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    for (const Laser& l : game.lasers) {
        drawPost(batch, l.x - 6, l.y - 4, l.h + 8);
        drawPost(batch, l.x + l.w, l.y - 4, l.h + 8);
        const bool live = game.lasersOn && !(l.disabledTime > 0);
        if (accessibility.reducedFlashing) {
            drawSteadyBeam(batch, l, live);
            continue;
        }
        if (!live) continue;
        batch.setAdditiveBlend(true);
        drawBeam(batch, l);
        batch.setAdditiveBlend(false);
    }
}

}  // namespace nj
