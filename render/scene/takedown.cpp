// Takedowns: the closing ring of a lunge and the marker over the guard in reach.

#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawTakedownRing(Batch& batch, const Game& game) {
    if (!(game.takedownTimer > 0)) return;
    // The lunge lasts 0.42 s; the ring widens and fades as it runs out.
    const float t = game.takedownTimer / 0.42f;
    circleOutline(batch, game.takedownTo.x, game.takedownTo.y, 8 + 26 * (1 - t), 2.2f * t,
                  withAlpha(kGold, t), 24);
}

void drawTakedownTarget(Batch& batch, const Game& game) {
    drawTakedownTargetWith(batch, game, SceneAccessibility{});
}

// The marker throbs quickly over the guard in reach; held at its middle size
// for a player who asked for reduced flashing.
void drawTakedownTargetWith(Batch& batch, const Game& game,
                            const SceneAccessibility& accessibility) {
    const std::ptrdiff_t index = game.takedownTarget;
    if (index < 0 || static_cast<std::size_t>(index) >= game.guards.size()) return;
    const Guard& g = game.guards[static_cast<std::size_t>(index)];
    const float throb = accessibility.reducedFlashing ? 0.0f : std::sin(10 * game.animClock);
    circleOutline(batch, g.x, g.y - 22, 8 + 2 * throb, 1.5f, kGold, 16);
}

}  // namespace nj
