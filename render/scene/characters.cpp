// Characters seen from above: guards with their state badges, and the operative.

#include <cmath>
#include <string>
#include <utility>

#include "game/shared_tuning.hpp"
#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {
namespace {

// What one character drawing needs; guards and the operative fill it differently.
struct Figure {
    float x = 0, y = 0;
    float heading = 0;    // the drawing heading
    float walkPhase = 0;  // distance walked, drives the stride
    bool moving = false;
    bool player = false;
    bool downed = false;
    bool inCover = false;
    bool sneaking = false;
};

// The body's frame: `a` turns the figure's local "up" onto the heading, so
// (s, -c) points forward (towards the head) and (c, s) to the figure's right.
struct Frame {
    float s, c;
};

void drawBadge(Batch& batch, float x, float y, const char* symbol, const Color& color) {
    fillRotatedRect(batch, x, y, 12, 12, kScenePi / 4, color);
    fillRotatedRect(batch, x, y, 9, 9, kScenePi / 4, {0.14f, 0.11f, 0.05f, 1});
    drawText(batch, symbol, x, y - 4.5f, 0.85f, color, TextAlign::Center);
}

void drawDowned(Batch& batch, const Figure& f, float clock) {
    fillEllipse(batch, f.x + 2, f.y + 2, 16, 10, f.heading + kScenePi / 3, {0, 0, 0, 0.45f}, 20);
    fillRoundedRect(batch, f.x - 6, f.y, 12, 8, 2, {0.12f, 0.16f, 0.22f, 1});
    fillCircle(batch, f.x + 2, f.y - 8, 5, {0.83f, 0.64f, 0.45f, 1}, 24);
    drawText(batch, "ZZZ", f.x, f.y - 18 + 2 * std::sin(3 * clock), 0.8f, kGold, TextAlign::Center);
}

void drawShadow(Batch& batch, const Figure& f, float swing) {
    const float ry = (f.inCover || f.sneaking) ? 7.0f : 8.8f;
    fillEllipse(batch, f.x + 1.5f, f.y + 4.5f, 12.5f + 0.2f * std::fabs(swing), ry, 0,
                {0, 0, 0, 0.62f}, 20);
}

void drawGuardBody(Batch& batch, const Figure& f, float a, Frame fr) {
    const Color uniform{0.1f, 0.13f, 0.19f, 1};
    fillEllipse(batch, f.x, f.y, 9.5f, 6.5f, a, uniform, 18);
    fillRotatedRect(batch, f.x, f.y, 15.5f, 10.5f, a, uniform);
    const float hx = f.x - 6.5f * fr.s, hy = f.y + 6.5f * fr.c;
    fillCircle(batch, hx, hy, 5.4f, {0.8f, 0.62f, 0.49f, 1}, 24);
    fillCircle(batch, hx, hy, 5.0f, {0.08f, 0.11f, 0.16f, 1}, 24);
}

// "!" for a guard in pursuit; "?" while it is uneasy, or calm but close enough
// to the operative that the player should know it is there.
void drawGuardBadges(Batch& batch, const Guard& g, const Game& game) {
    const float dx = g.x - game.playerPos.x, dy = g.y - game.playerPos.y;
    if (g.state == GuardState::Alert) {
        drawBadge(batch, g.x, g.y - 22, "!", kAlarmRed);
        drawBadge(batch, g.x, g.y - 38, "!", kAlarmRed);
    } else if (g.state == GuardState::Searching || g.state == GuardState::Suspicious ||
               std::sqrt(dx * dx + dy * dy) < 210) {
        drawBadge(batch, g.x, g.y - 22, "?", {0.95f, 0.78f, 0.28f, 1});
        drawBadge(batch, g.x, g.y - 38, "?", {0.85f, 0.68f, 0.22f, 1});
    }
}

Color suitColor(const Game& game) {
    if (game.approach != Approach::StaffDisguise || !(game.disguise > kDisguiseHoldsAbove))
        return {0.09f, 0.11f, 0.15f, 1};
    if (game.theme == Theme::Casino) return {0.38f, 0.07f, 0.12f, 1};
    if (game.theme == Theme::Embassy) return {0.1f, 0.18f, 0.36f, 1};
    if (game.theme == Theme::Laboratory) return {0.75f, 0.85f, 0.92f, 1};
    return {0.18f, 0.24f, 0.32f, 1};
}

// The operative's colours part by part; the ghost wears one tint throughout.
struct OperativeLook {
    Color shoe, suit, collar, skin, hair;
};

OperativeLook operativeLook(const Game& game) {
    return {{0.04f, 0.04f, 0.05f, 1},
            suitColor(game),
            kWhite,
            {0.84f, 0.65f, 0.48f, 1},
            {0.12f, 0.1f, 0.09f, 1}};
}

void drawOperativeBody(Batch& batch, const Figure& f, float a, Frame fr, float swing,
                       const OperativeLook& look) {
    const float x = f.x, y = f.y, s = fr.s, c = fr.c;
    // Feet step forward and back in turn with the swing.
    for (const auto& [e, k] :
         {std::pair{-4.5f - 0.3f * swing, swing + 6}, std::pair{4.5f + 0.3f * swing, 6 - swing}}) {
        fillCircle(batch, x + e * c - k * s, y + e * s + k * c, 3, look.shoe, 24);
    }
    fillCircle(batch, x - 8.2f * c + 0.55f * swing * s, y - 8.2f * s - 0.55f * swing * c, 2.8f,
               look.suit, 16);
    fillCircle(batch, x + 8.2f * c - 0.55f * swing * s, y + 8.2f * s + 0.55f * swing * c, 2.8f,
               look.suit, 16);
    fillEllipse(batch, x, y - 1, 9.5f, 6.5f, a, look.suit, 18);
    fillRotatedRect(batch, x, y - 1, 15, 9.5f, a, look.suit);
    fillTriangle(batch, x - 2.8f * c + 6.5f * s, y - 2.8f * s - 6.5f * c, x + 2.8f * c + 6.5f * s,
                 y + 2.8f * s - 6.5f * c, x + s, y - c, look.collar);
    fillCircle(batch, x + 6.5f * s, y - 6.5f * c, 5.2f, look.skin, 24);
    fillCircle(batch, x + 7.2f * s, y - 7.2f * c, 4.9f, look.hair, 24);
}

// The figure's body frame and stride, as drawFigure turns them.
struct Pose {
    float swing, a;
    Frame fr;
};

Pose poseOf(const Figure& f) {
    const float swing = f.moving ? 3.8f * std::sin(0.18f * f.walkPhase) : 0.0f;
    const float sway = f.moving ? 0.07f * std::cos(0.18f * f.walkPhase) : 0.0f;
    const float a = f.heading + kScenePi / 2 + sway;
    return {swing, a, {std::sin(a), std::cos(a)}};
}

// Draws the figure; a guard's badges are added by the caller. Returns false for
// a downed figure, which is drawn lying down and nothing more.
bool drawFigure(Batch& batch, const Figure& f, const Game& game) {
    if (f.downed) {
        drawDowned(batch, f, game.animClock);
        return false;
    }
    const auto [swing, a, fr] = poseOf(f);

    if (f.player) {
        circleOutline(batch, f.x, f.y + 2, 12.5f, 1.6f,
                      f.inCover ? withAlpha(kAllyGreen, 0.85f) : Color{0.86f, 0.94f, 1.0f, 0.82f},
                      24);
        circleOutline(batch, f.x, f.y + 2, 14.5f, 0.8f, {0.35f, 0.78f, 1.0f, 0.35f}, 24);
    }
    drawShadow(batch, f, swing);
    if (!f.player) {
        drawGuardBody(batch, f, a, fr);
        return true;
    }
    drawOperativeBody(batch, f, a, fr, swing, operativeLook(game));
    if (f.inCover) drawText(batch, "COVER", f.x, f.y + 16, 0.7f, kAllyGreen, TextAlign::Center);
    return true;
}

}  // namespace

void drawGuards(Batch& batch, const Game& game) {
    for (const Guard& g : game.guards) {
        Figure f;
        f.x = g.x;
        f.y = g.y;
        f.heading = g.drawFacing;
        f.walkPhase = g.walkPhase;
        f.moving = !g.downed;
        f.downed = g.downed != 0;
        if (drawFigure(batch, f, game)) drawGuardBadges(batch, g, game);
    }
}

void drawGhost(Batch& batch, const Game& game) {
    const GhostView& ghost = game.ghostView;
    if (!ghost.visible || !(ghost.strength > 0.0f)) return;
    Figure f;
    f.x = ghost.x;
    f.y = ghost.y;
    f.heading = ghost.facing;
    f.walkPhase = ghost.walkPhase;
    f.moving = ghost.moving;
    const Color tint = ghostTint(ghost.strength);
    const auto [swing, a, fr] = poseOf(f);
    // The operative's own ring, so the faint shape reads as the operative.
    circleOutline(batch, f.x, f.y + 2, 12.5f, 1.2f, tint, 24);
    drawOperativeBody(batch, f, a, fr, swing, {tint, tint, tint, tint, tint});
}

void drawPlayer(Batch& batch, const Game& game) {
    Figure f;
    f.x = game.playerPos.x;
    f.y = game.playerPos.y;
    f.heading = game.playerDrawFacing;
    f.walkPhase = game.walkDistance;
    f.moving = game.playerMoving != 0;
    f.player = true;
    f.inCover = game.playerInCover != 0;
    f.sneaking = game.playerSneaking != 0;
    drawFigure(batch, f, game);
}

}  // namespace nj
