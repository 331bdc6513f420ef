// Short-lived effects: smoke puffs, shot tracers, floating dust and spark particles.

#include <algorithm>

#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawSmoke(Batch& batch, const Game& game) {
    for (const Puff& p : game.puffs) {
        const float k = 0.42f * std::max(p.alpha / std::max(p.alpha0, 0.01f), 0.0f);
        if (p.flag)
            fillCircle(batch, p.x, p.y, 1.15f * p.radius, {0.18f, 0.22f, 0.28f, 0.85f * k}, 16);
        fillCircleGradient(batch, p.x, p.y, p.radius, {0.76f, 0.82f, 0.9f, k},
                           {0.45f, 0.52f, 0.62f, 0}, 16);
    }
}

void drawTracers(Batch& batch, const Game& game) {
    drawTracersWith(batch, game, SceneAccessibility{});
}

// Glowing streaks add light, so they are drawn additively; the rest of the
// frame goes back to ordinary blending. With reduced flashing a streak is laid
// over the floor in its colour, without the white-hot core that flares.
void drawTracersWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (game.tracers.empty()) return;
    const bool flare = !accessibility.reducedFlashing;
    if (flare) batch.setAdditiveBlend(true);
    for (const Tracer& tr : game.tracers) {
        const float t = std::max(tr.life / tr.maxLife, 0.0f);
        const Color glow{1.0f, 0.65f, 0.22f, 0.9f * t};
        drawLine(batch, tr.x0, tr.y0, tr.x1, tr.y1, 3.0f, glow);
        if (flare) drawLine(batch, tr.x0, tr.y0, tr.x1, tr.y1, 1.2f, {1, 1, 1, t});
    }
    if (flare) batch.setAdditiveBlend(false);
}

void drawDust(Batch& batch, const Game& game) {
    for (const DustMote& d : game.dust)
        fillCircle(batch, d.x, d.y, d.size, withAlpha(kGold, d.alpha), 8);
}

void drawParticles(Batch& batch, const Game& game) {
    drawParticlesWith(batch, game, SceneAccessibility{});
}

// Sparks flare additively with white-hot cores; with reduced flashing they are
// coloured flecks that fade out, lighting nothing.
void drawParticlesWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (game.particles.empty()) return;
    const bool flare = !accessibility.reducedFlashing;
    if (flare) batch.setAdditiveBlend(true);
    for (const Particle& p : game.particles) {
        const float t = std::max(p.life / std::max(p.maxLife, 0.01f), 0.0f);
        drawLine(batch, p.x, p.y, p.x - 0.025f * p.vx, p.y - 0.025f * p.vy, 1.1f * p.size,
                 {p.r, p.g, p.b, 0.85f * t});
        fillCircle(batch, p.x, p.y, 1.4f * p.size, {p.r, p.g, p.b, 0.7f * t}, 8);
        if (flare) fillCircle(batch, p.x, p.y, 0.6f * p.size, {1, 1, 1, t}, 6);
    }
    if (flare) batch.setAdditiveBlend(false);
}

}  // namespace nj
