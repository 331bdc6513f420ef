// Markers on the floor: the alternative exit, tagged patrol routes, noise rings,
// the optional intel, the second directive and the alarm point.

#include <cmath>

#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/scene/exit_state.hpp"
#include "render/scene/marker_looks.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

void drawAltExit(Batch& batch, const Game& game, float pulse, bool largeLabels) {
    if (!game.altExitActive) return;
    const Rect& r = game.altExit;
    const bool armed = exitArmed(game);
    const Color outline = altExitOutline(game);
    fillRect(
        batch, r.x, r.y, r.w, r.h,
        armed ? withAlpha(kAllyGreen, 0.14f + 0.12f * pulse) : Color{0.06f, 0.1f, 0.12f, 0.85f});
    rectOutline(batch, r.x, r.y, r.w, r.h, 1.5f, outline);
    const float cx = r.x + r.w / 2, cy = r.y + r.h / 2;
    circleOutline(batch, cx, cy - 4, 16, 1.5f, outline, 20);
    drawText(batch, "H", cx, cy - 9, 1.0f, outline, TextAlign::Center);
    if (!largeLabels)  // named over the walls instead
        drawText(batch, "ALT EXFIL", cx, r.y + r.h - 13, 0.75f, outline, TextAlign::Center);
}

// Routes show for every guard once the uplink is hacked, else for tagged guards.
void drawPatrolRoutes(Batch& batch, const Game& game) {
    for (const Guard& g : game.guards) {
        if (g.downed || (game.approach != Approach::UplinkHack && !g.marked)) continue;
        const std::size_t n = g.patrol.size();
        if (n >= 2) {
            for (std::size_t i = 0; i < n; ++i) {
                const Vec2& a = g.patrol[i];
                const Vec2& b = g.patrol[(i + 1) % n];
                drawLine(batch, a.x, a.y, b.x, b.y, 1.2f, withAlpha(kCyan, 0.24f));
            }
        }
        circleOutline(batch, g.x, g.y, 17, 1.2f, withAlpha(kAllyGreen, 0.75f), 16);
    }
}

void drawNoiseRings(Batch& batch, const Game& game) {
    for (const NoiseRing& r : game.noiseRings) {
        const float fade = std::fmax(r.life / r.maxLife, 0.0f);
        circleOutline(batch, r.x, r.y, r.radius, 1.8f,
                      withAlpha(r.loud ? kGold : kAllyGreen, 0.65f * fade), 28);
    }
}

void drawOptionalIntel(Batch& batch, const Game& game, float pulse, bool largeLabels) {
    const Objective& o = game.optionalIntel;
    if (!o.active || o.done) return;
    const float x = o.x, y = o.y + intelBob(game.animClock);
    const Color ring{0.18f, 0.85f, 1.0f, 1};
    fillCircleGradient(batch, x, y, 28, {0.05f, 0.78f, 0.98f, 0.28f}, kTransparent, 20);
    fillCircle(batch, x, y, 16, {0.04f, 0.14f, 0.22f, 0.82f}, 24);
    circleOutline(batch, x, y, 16.5f, 2.0f, ring, 24);
    circleOutline(batch, x, y, 19.5f + 2 * pulse, 1.0f, withAlpha(ring, 0.45f), 24);
    if (!largeLabels)  // named over the walls instead
        drawText(batch, "INTEL", x, y - 4, 0.75f, kIntelInk, TextAlign::Center);
}

void drawDynamicObjective(Batch& batch, const Game& game, float pulse, bool largeLabels) {
    const Objective& o = game.dynamicObjective;
    if (!o.active || o.done) return;
    const DirectiveLook look = directiveLook(o.type);
    const Color c = look.color;
    circleOutline(batch, o.x, o.y, 19 + 4 * pulse, 1.8f, c, 20);
    fillCircle(batch, o.x, o.y, 12, {0.07f, 0.1f, 0.16f, 0.95f}, 24);
    circleOutline(batch, o.x, o.y, 12, 1.5f, c, 16);
    if (!largeLabels)  // named over the walls instead
        drawText(batch, look.label, o.x, o.y - 4, 0.7f, c, TextAlign::Center);
}

void drawAlarmPoint(Batch& batch, const Game& game, float pulse) {
    if (!game.alarmActive || !(game.alarmTimer > 0)) return;
    const float ax = game.alarmPos.x, ay = game.alarmPos.y;
    circleOutline(batch, ax, ay, 20 + 5 * pulse, 1.6f, withAlpha(kAlarmRed, 0.75f), 20);
    drawLine(batch, ax - 14, ay, ax + 14, ay, 1.2f, withAlpha(kAlarmRed, 0.65f));
    drawLine(batch, ax, ay - 14, ax, ay + 14, 1.2f, withAlpha(kAlarmRed, 0.65f));
    for (const Guard& g : game.guards) {
        if (g.downed || (g.state != GuardState::Searching && g.state != GuardState::Alert))
            continue;
        drawLine(batch, g.x, g.y, ax, ay, 1.0f, withAlpha(kAlarmRed, 0.28f));
    }
}

}  // namespace

void drawObjectiveMarkers(Batch& batch, const Game& game) {
    drawObjectiveMarkersWith(batch, game, SceneAccessibility{});
}

void drawObjectiveMarkersWith(Batch& batch, const Game& game,
                              const SceneAccessibility& accessibility) {
    const float pulse = markerPulse(game.animClock, accessibility.reducedFlashing);
    drawAltExit(batch, game, pulse, accessibility.largeLabels);
    drawPatrolRoutes(batch, game);
    drawNoiseRings(batch, game);
    drawOptionalIntel(batch, game, pulse, accessibility.largeLabels);
    drawDynamicObjective(batch, game, pulse, accessibility.largeLabels);
    drawAlarmPoint(batch, game, pulse);
}

}  // namespace nj
