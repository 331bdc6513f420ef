// Cones of light and sight: the operative's torch and each guard's view, cut
// short where a wall, the gate or a closed door is in the way.

#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"
#include "render/scene/vision_ray.hpp"

namespace nj {
namespace {

// A cone of `wedges` slices from `start`, each `step` wide. Neighbouring slices
// share an edge, so each edge ray is cast once and each slice takes the mean
// of its two edges as its radius.
void drawCone(Batch& batch, const VisionRays& rays, float x, float y, float start, float step,
              int wedges, float maxDistance, const Color& centre, const Color& rim) {
    float a0 = start;
    float r0 = rays.cast(a0, maxDistance);
    for (int i = 0; i < wedges; ++i) {
        const float a1 = a0 + step;
        const float r1 = rays.cast(a1, maxDistance);
        fillSector(batch, x, y, 0.5f * (r0 + r1), a0, a1, centre, rim, 2);
        a0 = start + static_cast<float>(i + 1) * step;
        r0 = r1;
    }
}

struct ConeColors {
    Color centre, rim;
};

ConeColors coneColors(GuardState state) {
    if (state == GuardState::Alert) return {{0.94f, 0.27f, 0.27f, 0.62f}, {0.86f, 0.15f, 0.15f, 0}};
    if (state == GuardState::Searching || state == GuardState::Suspicious)
        return {{0.98f, 0.74f, 0.25f, 0.46f}, {0.96f, 0.62f, 0.16f, 0}};
    return {{0.98f, 0.82f, 0.44f, 0.36f}, {0.98f, 0.76f, 0.32f, 0}};
}

void drawGuardCone(Batch& batch, VisionRays& rays, const Guard& g) {
    // The cone bobs a little with the guard's stride.
    const float f = g.drawFacing + 0.06f * std::sin(0.16f * g.walkPhase);
    const ConeColors colors = coneColors(g.state);
    rays.aim(g.x, g.y, g.range);
    drawCone(batch, rays, g.x, g.y, f - g.fov / 2, g.fov / 24, 24, g.range, colors.centre,
             colors.rim);
    // Where the cone's axis meets an obstacle, the torch pools on it.
    const float d = rays.cast(f, 0.65f * g.range);
    fillCircleGradient(batch, g.x + d * std::cos(f), g.y + d * std::sin(f), 34,
                       withAlpha(colors.centre, 0.16f), kTransparent, 18);
    fillCircleGradient(batch, g.x + 9 * std::cos(f), g.y + 9 * std::sin(f), 14,
                       {1.0f, 0.95f, 0.75f, 0.48f}, kTransparent, 14);
}

}  // namespace

void drawPlayerLightCone(Batch& batch, const Game& game) {
    constexpr float kReach = 118;
    constexpr float kStep = 0.051111113f;  // 18 slices, 0.92 radians in all
    VisionRays rays(game);
    rays.aim(game.playerPos.x, game.playerPos.y, kReach);
    drawCone(batch, rays, game.playerPos.x, game.playerPos.y, game.playerDrawFacing - 0.46f, kStep,
             18, kReach, {0.52f, 0.75f, 0.98f, 0.22f}, {0.52f, 0.75f, 0.98f, 0});
}

void drawGuardVisionCones(Batch& batch, const Game& game) {
    VisionRays rays(game);
    for (const Guard& g : game.guards) {
        if (!g.downed) drawGuardCone(batch, rays, g);
    }
}

}  // namespace nj
