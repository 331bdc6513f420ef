// Operative movement: the held direction to motion, sliding collision, footsteps and their
// noise, the drawn heading and the cover test. Writes playerPos, playerFacing,
// playerDrawFacing, walkDistance, playerMoving, playerSneaking, playerInCover,
// footprints and footstepPhase.
#include <cmath>

#include "game/game.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

// Sneaking speed as a share of the walk; the soft-step perk sneaks faster.
constexpr float kSneakSpeedShare = 0.58f;
constexpr float kSoftStepSneakSpeedShare = 0.68f;

// Footsteps per second, the prints they leave, and how far a step is heard
// (sneaking makes no noise).
constexpr float kWalkStepsPerSecond = 6.5f;
constexpr float kSneakStepsPerSecond = 2.5f;
constexpr float kWalkPrintAlpha = 0.65f;
constexpr float kSneakPrintAlpha = 0.35f;
constexpr float kFootstepNoiseRadius = 105.0f;
constexpr float kSoftStepNoiseRadius = 68.0f;

// The drawn heading eases towards the facing at this rate.
constexpr float kDrawTurnRate = 14.0f;

// Cover counts within this margin beyond a piece's half-size.
constexpr float kCoverMargin = 18.0f;

}  // namespace

bool Game::blocksMovement(float cx, float cy) const {
    const float r = playerRadius;
    for (const Wall& w : walls) {
        if (circleOverlapsRect(cx, cy, r, w.x, w.y, w.w, w.h)) return true;
    }
    if (gateOpen < 1.0f && circleOverlapsRect(cx, cy, r, gate.x, gate.y, gate.w, gate.h))
        return true;
    for (const Door& d : doors) {
        if (d.openAmount < 1.0f && circleOverlapsRect(cx, cy, r, d.x, d.y, d.w, d.h)) return true;
    }
    // Every piece blocks, cover or not, and whatever its drawn angle.
    for (const Furniture& f : furniture) {
        if (circleOverlapsRect(cx, cy, r, f.x - f.w * 0.5f, f.y - f.h * 0.5f, f.w, f.h))
            return true;
    }
    return false;
}

void Game::movePlayer(float dt, const PlayerCommand& command) {
    const float dx = command.moveX, dy = command.moveY;
    playerMoving = (dx != 0.0f || dy != 0.0f) ? 1 : 0;
    // Cover from the previous step makes the operative creep too.
    playerSneaking = (command.sneak || playerInCover) ? 1 : 0;
    float speed = playerSpeed;
    if (playerSneaking) speed *= softStepOn() ? kSoftStepSneakSpeedShare : kSneakSpeedShare;
    if (!playerMoving) return;

    const float len = std::sqrt(dx * dx + dy * dy);
    const float step = speed * dt;
    const float stepX = dx / len * step;
    const float stepY = dy / len * step;
    playerFacing = std::atan2(stepY, stepX);
    walkDistance += step;

    // One axis at a time, so a blocked axis lets the other slide along.
    if (!blocksMovement(playerPos.x + stepX, playerPos.y)) playerPos.x += stepX;
    if (!blocksMovement(playerPos.x, playerPos.y + stepY)) playerPos.y += stepY;

    footstepPhase += dt * (playerSneaking ? kSneakStepsPerSecond : kWalkStepsPerSecond);
    if (footstepPhase >= 1.0f) {
        footstepPhase = 0.0f;
        playCue(CueFootstep);
        footprints.push_back({playerPos.x, playerPos.y, playerFacing,
                              playerSneaking ? kSneakPrintAlpha : kWalkPrintAlpha});
        if (!playerSneaking) {
            emitNoise(playerPos.x, playerPos.y,
                      softStepOn() ? kSoftStepNoiseRadius : kFootstepNoiseRadius, true);
        }
    }
}

void Game::turnPlayerDrawFacing(float dt) {
    playerDrawFacing +=
        std::fmin(dt * kDrawTurnRate, 1.0f) * wrapAngle(playerFacing - playerDrawFacing);
}

void Game::testCover() {
    playerInCover = 0;
    for (const Furniture& f : furniture) {
        if (!f.cover) continue;
        if (distance(playerPos.x, playerPos.y, f.x, f.y) <
            std::fmax(f.w, f.h) * 0.5f + kCoverMargin) {
            playerInCover = 1;
            return;
        }
    }
}

}  // namespace nj
