// Marks left on the floor: fading footprints and scorched shot impacts.

#include <algorithm>
#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawFootprints(Batch& batch, const Game& game) {
    for (const Footprint& f : game.footprints) {
        ellipseOutline(batch, f.x, f.y, 4.5f, 2.8f, f.angle, 1.2f,
                       withAlpha(kGold, 0.28f * std::max(f.alpha, 0.0f)), 20);
    }
}

void drawImpacts(Batch& batch, const Game& game) {
    for (const Impact& i : game.impacts) {
        const float t = std::min(i.life / 1.2f, 1.0f);
        const Color glow{1.0f, 0.58f, 0.18f, 0.45f * t};
        fillCircle(batch, i.x, i.y, 5.5f, {0.03f, 0.03f, 0.04f, 0.75f * t}, 10);
        fillCircleGradient(batch, i.x, i.y, 11, glow, kTransparent, 12);
        fillCircle(batch, i.x, i.y, 2, {1.0f, 0.85f, 0.45f, 0.85f * t}, 8);
    }
}

}  // namespace nj
