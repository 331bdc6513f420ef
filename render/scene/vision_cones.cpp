// Cones of light and sight: the operative's torch and each guard's view, cut
// short where a wall, the gate or a closed door is in the way.

#include <cmath>

#include "render/primitives.hpp"
#include "render/scene/cone_outline.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"
#include "render/scene/vision_ray.hpp"

namespace nj {
namespace {

// A cone of `wedges` slices from `start`, each `step` wide. Neighbouring slices
// share an edge, so each edge ray is cast once and each slice takes the mean
// of its two edges as its radius. An outline, when given, follows the slices.
void drawCone(Batch& batch, const VisionRays& rays, float x, float y, float start, float step,
              int wedges, float maxDistance, const Color& centre, const Color& rim,
              ConeOutline* outline = nullptr) {
    float a0 = start;
    float r0 = rays.cast(a0, maxDistance);
    for (int i = 0; i < wedges; ++i) {
        const float a1 = a0 + step;
        const float r1 = rays.cast(a1, maxDistance);
        fillSector(batch, x, y, 0.5f * (r0 + r1), a0, a1, centre, rim, 2);
        if (outline) outline->slice(a0, r0, a1, r1);
        a0 = start + static_cast<float>(i + 1) * step;
        r0 = r1;
    }
    if (outline) outline->close();
}

struct ConeColors {
    Color centre, rim, lamp;
};

// The guards' own cones are torchlight, warm as the room's lamps.
ConeColors torchColors(GuardState state) {
    constexpr Color lamp{1.0f, 0.95f, 0.75f, 0.48f};
    if (state == GuardState::Alert)
        return {{0.94f, 0.27f, 0.27f, 0.62f}, {0.86f, 0.15f, 0.15f, 0}, lamp};
    if (state == GuardState::Searching || state == GuardState::Suspicious)
        return {{0.98f, 0.74f, 0.25f, 0.46f}, {0.96f, 0.62f, 0.16f, 0}, lamp};
    return {{0.98f, 0.82f, 0.44f, 0.36f}, {0.98f, 0.76f, 0.32f, 0}, lamp};
}

// High contrast keeps to violet, magenta and crimson, hues no lamp in the
// building uses, brighter with each step of the guard's unease.
ConeColors highContrastColors(GuardState state) {
    constexpr Color lamp{0.95f, 0.92f, 1.0f, 0.6f};
    if (state == GuardState::Alert)
        return {{1.0f, 0.16f, 0.42f, 0.62f}, {1.0f, 0.16f, 0.42f, 0}, lamp};
    if (state == GuardState::Searching || state == GuardState::Suspicious)
        return {{1.0f, 0.3f, 0.9f, 0.5f}, {1.0f, 0.3f, 0.9f, 0}, lamp};
    return {{0.68f, 0.42f, 1.0f, 0.42f}, {0.68f, 0.42f, 1.0f, 0}, lamp};
}

void drawGuardCone(Batch& batch, VisionRays& rays, const Guard& g, bool highContrast) {
    // The cone bobs a little with the guard's stride.
    const float f = g.drawFacing + 0.06f * std::sin(0.16f * g.walkPhase);
    const ConeColors colors = highContrast ? highContrastColors(g.state) : torchColors(g.state);
    rays.aim(g.x, g.y, g.range);
    ConeOutline outline(batch, g.x, g.y, withAlpha(colors.centre, 0.9f));
    drawCone(batch, rays, g.x, g.y, f - g.fov / 2, g.fov / 24, 24, g.range, colors.centre,
             colors.rim, highContrast ? &outline : nullptr);
    // Where the cone's axis meets an obstacle, the torch pools on it.
    const float d = rays.cast(f, 0.65f * g.range);
    fillCircleGradient(batch, g.x + d * std::cos(f), g.y + d * std::sin(f), 34,
                       withAlpha(colors.centre, 0.16f), kTransparent, 18);
    fillCircleGradient(batch, g.x + 9 * std::cos(f), g.y + 9 * std::sin(f), 14, colors.lamp,
                       kTransparent, 14);
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
    drawGuardVisionConesWith(batch, game, SceneAccessibility{});
}

void drawGuardVisionConesWith(Batch& batch, const Game& game,
                              const SceneAccessibility& accessibility) {
    VisionRays rays(game);
    for (const Guard& g : game.guards) {
        if (!g.downed) drawGuardCone(batch, rays, g, accessibility.highContrastCones);
    }
}

}  // namespace nj
