// Security cameras: a sweeping view fan clipped by walls, and the camera body.

#include "render/primitives.hpp"
#include "render/scene/cone_outline.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"
#include "render/scene/vision_ray.hpp"

namespace nj {
namespace {

constexpr int kFanWedges = 16;

Color fanCentre(bool alerted, bool highContrast) {
    // High contrast: a clear cyan that turns crimson, neither a lamp's hue.
    if (highContrast)
        return alerted ? Color{1.0f, 0.16f, 0.42f, 0.5f} : Color{0.2f, 0.95f, 1.0f, 0.36f};
    return alerted ? Color{0.95f, 0.35f, 0.25f, 0.42f} : Color{0.22f, 0.74f, 0.97f, 0.28f};
}

void drawViewFan(Batch& batch, VisionRays& rays, const Camera& c, bool highContrast) {
    // Past a quarter of its meter the camera has noticed something.
    const bool alerted = c.meter > 0.25f;
    const Color centre = fanCentre(alerted, highContrast);
    const Color rim = withAlpha(centre, 0);
    rays.aim(c.x, c.y, c.range);
    ConeOutline outline(batch, c.x, c.y, withAlpha(centre, 0.9f));
    const float step = c.sweep / kFanWedges;
    const float start = c.angle - c.sweep / 2;
    for (int i = 0; i < kFanWedges; ++i) {
        const float a0 = start + static_cast<float>(i) * step, a1 = a0 + step;
        const float r0 = rays.cast(a0, c.range), r1 = rays.cast(a1, c.range);
        fillSector(batch, c.x, c.y, 0.5f * (r0 + r1), a0, a1, centre, rim, 2);
        if (highContrast) outline.slice(a0, r0, a1, r1);
    }
    if (highContrast) outline.close();
}

}  // namespace

void drawCameras(Batch& batch, const Game& game) {
    drawCamerasWith(batch, game, SceneAccessibility{});
}

void drawCamerasWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    VisionRays rays(game);
    for (const Camera& c : game.cameras) {
        const bool working = c.disabledTime <= 0;
        if (working) drawViewFan(batch, rays, c, accessibility.highContrastCones);
        fillCircle(batch, c.x, c.y, 8.5f, {0.1f, 0.14f, 0.2f, 1}, 24);
        circleOutline(batch, c.x, c.y, 8.5f, 1.2f, withAlpha(kGold, 0.7f), 24);
        fillRect(batch, c.x - 2, c.y - 2, 4, 4, working ? kAlarmRed : Color{0.35f, 0.4f, 0.48f, 1});
    }
}

}  // namespace nj
