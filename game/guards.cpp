// Guards: noise and alert broadcasts, sight lines, the guard pass (finding
// downed colleagues and open doors, patrols, sighting, firing, takedown
// chances), the detection meter with the smoke escape, and the takedown.
// Writes guards, detection, peakDetection, timesSpotted, the alarm fields,
// takedownTarget, the takedown lunge, disguise, smokeWindow and effect lists.
#include <cmath>
#include <random>

#include "game/game.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

constexpr float kPi = 3.14159265358979323846f;
// A sight line across the whole field (its diagonal) needs this many 7-unit
// samples; longer lines from absurd coordinates are sampled no finer.
const long long kMaxSightSamples =
    static_cast<long long>(std::ceil(std::hypot(kFieldWidth, kFieldHeight) / 7.0f));

bool inCone(float fromX, float fromY, float facing, float toX, float toY, float halfWidth) {
    return std::fabs(wrapAngle(angleTo(fromX, fromY, toX, toY) - facing)) < halfWidth;
}

}  // namespace

void Game::investigate(Guard& guard, float x, float y, float seconds) {
    if (guard.downed) return;
    guard.investigateTarget = {x, y};
    guard.investigateTimer = std::fmax(seconds, guard.investigateTimer);
    if (guard.state != GuardState::Alert)
        guard.state = seconds > 6.0f ? GuardState::Searching : GuardState::Suspicious;
    guard.facing = angleTo(guard.x, guard.y, x, y);
}

void Game::emitNoise(float x, float y, float radius, bool loud) {
    noiseRings.push_back({x, y, 6.0f, radius, 0.75f, 0.75f, static_cast<std::uint8_t>(loud)});
    for (Guard& g : guards) {
        if (!g.downed && distance(g.x, g.y, x, y) <= radius) {
            investigate(g, x, y, loud ? 5.5f : 7.5f);
        }
    }
}

void Game::alertNearby(Vec2 point, float radius) {
    alarmPos = point;
    alarmActive = 1;
    alarmTimer = 9.0f;
    int k = 0;  // responders fan out around the point
    for (Guard& g : guards) {
        if (g.downed || distance(g.x, g.y, point.x, point.y) > radius) continue;
        const float a = static_cast<float>(k) * 1.57f;
        const float tx = maxOf(36.0f, minOf(point.x + std::cos(a) * 28.0f, 924.0f));
        const float ty = maxOf(64.0f, minOf(point.y + std::sin(a) * 28.0f, 504.0f));
        investigate(g, tx, ty, 7.5f);
        g.state = GuardState::Searching;
        ++k;
    }
}

bool Game::lineOfSightBlocked(Vec2 a, Vec2 b) const {
    const float length = distance(a.x, a.y, b.x, b.y);
    long long n = saturatingTruncate<long long>(std::ceil(static_cast<double>(length) / 7.0));
    if (n > kMaxSightSamples) n = kMaxSightSamples;
    if (n < 2) return false;

    // Only obstacles near the segment can hold a sample point. The box is
    // padded by a unit so rounding at the ends can never drop a candidate.
    const float loX = minOf(a.x, b.x) - 1.0f, hiX = maxOf(a.x, b.x) + 1.0f;
    const float loY = minOf(a.y, b.y) - 1.0f, hiY = maxOf(a.y, b.y) + 1.0f;
    std::vector<Rect>& blockers = sightBlockers_;
    blockers.clear();
    auto consider = [&](float x, float y, float w, float h) {
        if (x <= hiX && x + w >= loX && y <= hiY && y + h >= loY) blockers.push_back({x, y, w, h});
    };
    for (const Wall& w : walls) consider(w.x, w.y, w.w, w.h);
    if (gateOpen < 1.0f) consider(gate.x, gate.y, gate.w, gate.h);
    for (const Door& d : doors) {
        if (d.openAmount < 1.0f) consider(d.x, d.y, d.w, d.h);
    }
    for (const Furniture& f : furniture) {
        if (f.cover) consider(f.x - f.w * 0.5f, f.y - f.h * 0.5f, f.w, f.h);
    }
    if (blockers.empty()) return false;

    for (long long i = 1; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        const float px = a.x + (b.x - a.x) * t;
        const float py = a.y + (b.y - a.y) * t;
        for (const Rect& r : blockers) {
            if (pointInRect(px, py, r.x, r.y, r.w, r.h)) return true;
        }
    }
    return false;
}

bool Game::guardCanSee(const Guard& guard, Vec2 point, float range) const {
    if (guard.downed) return false;
    return distance(guard.x, guard.y, point.x, point.y) <= range &&
           inCone(guard.x, guard.y, guard.facing, point.x, point.y, guard.fov * 0.55f);
}

bool Game::guardPass(float dt) {
    takedownTarget = kNoGuard;
    bool seen = false;
    for (std::size_t i = 0; i < guards.size(); ++i) {
        if (!guards[i].downed) updateGuard(i, dt, seen);
    }
    return seen;
}

void Game::updateGuard(std::size_t index, float dt, bool& seen) {
    Guard& g = guards[index];
    const Vec2 self{g.x, g.y};

    for (std::size_t j = 0; j < guards.size(); ++j) {
        Guard& other = guards[j];
        if (j == index || !other.downed || other.discovered) continue;
        if (distance(g.x, g.y, other.x, other.y) <= g.range * 0.9f &&
            inCone(g.x, g.y, g.facing, other.x, other.y, g.fov * 0.55f) &&
            !lineOfSightBlocked(self, {other.x, other.y})) {
            other.discovered = 1;
            detection = std::fmin(detection + 0.25f, 1.0f);
            alertNearby({other.x, other.y}, 300.0f);
            playCue(CueBuzz);
            showBanner("GUARD DISCOVERED UNCONSCIOUS OPERATIVE // SEARCHING", 1.2f, kRuby);
        }
    }

    for (Door& d : doors) {
        if (d.openAmount <= 0.6f || d.noticed) continue;
        const float cx = d.x + d.w * 0.5f, cy = d.y + d.h * 0.5f;
        if (distance(g.x, g.y, cx, cy) <= g.range * 0.75f &&
            inCone(g.x, g.y, g.facing, cx, cy, g.fov * 0.55f) &&
            !lineOfSightBlocked({g.x, g.y}, {cx, cy})) {
            d.noticed = 1;
            investigate(g, cx, cy, 4.5f);
        }
    }

    moveGuard(g, dt);
    g.drawFacing += std::fmin(10.0f * dt, 1.0f) * wrapAngle(g.facing + g.lookOffset - g.drawFacing);
    if (g.shotCooldown > 0.0f) g.shotCooldown = std::fmax(g.shotCooldown - dt, 0.0f);

    const bool disguised = approach == Approach::StaffDisguise && disguise > 0.15f;
    float reach = g.range;
    if (playerInCover) {
        reach *= 0.58f;
    } else if (playerSneaking) {
        reach *= 0.78f;
    }
    if (disguised) reach *= (playerMoving && !playerSneaking) ? 0.78f : 0.52f;
    const bool sees = distance(g.x, g.y, playerPos.x, playerPos.y) <= reach &&
                      inCone(g.x, g.y, g.facing, playerPos.x, playerPos.y, g.fov * 0.5f) &&
                      !lineOfSightBlocked({g.x, g.y}, playerPos);
    if (sees) {
        g.suspicion = std::fmin(g.suspicion + 1.3f * dt * (disguised ? 0.42f : 1.0f), 1.0f);
        if (approach == Approach::StaffDisguise && disguise > 0.0f) {
            disguise = std::fmax(disguise - dt * (playerSneaking ? 0.18f : 0.45f), 0.0f);
        }
        g.state =
            (g.suspicion > 0.55f || detection > 0.55f) ? GuardState::Alert : GuardState::Suspicious;
        if (g.suspicion > 0.4f) {
            if (!alarmActive) ++timesSpotted;
            alertNearby(playerPos, 290.0f);  // turns this guard to Searching too
        }
        if (g.state == GuardState::Alert && g.shotCooldown <= 0.0f) fireAt(g);
        seen = true;
    } else {
        g.suspicion = std::fmax(g.suspicion - 0.4f * dt, 0.0f);
        if (g.investigateTimer <= 0.0f) g.state = GuardState::Patrol;
    }

    if (distance(g.x, g.y, playerPos.x, playerPos.y) < 42.0f &&
        inCone(g.x, g.y, g.facing + kPi, playerPos.x, playerPos.y, 1.2f)) {
        takedownTarget = static_cast<std::ptrdiff_t>(index);
    }
}

void Game::moveGuard(Guard& g, float dt) {
    if (g.investigateTimer > 0.0f) {
        g.investigateTimer = std::fmax(g.investigateTimer - dt, 0.0f);
        const Vec2 t = g.investigateTarget;
        const float d = distance(g.x, g.y, t.x, t.y);
        if (d > 10.0f) {
            const float pace = g.state == GuardState::Searching ? 1.22f : 1.08f;
            const float step = std::fmin(dt * g.speed * pace, d);
            const float nx = g.x + (t.x - g.x) / d * step;
            const float ny = g.y + (t.y - g.y) / d * step;
            bool nearWall = false;
            for (const Wall& w : walls) {
                if (squaredDistanceToRect(nx, ny, w.x, w.y, w.w, w.h) < 100.0f) {
                    nearWall = true;
                    break;
                }
            }
            g.facing = angleTo(g.x, g.y, t.x, t.y);
            if (!nearWall) {
                g.x = nx;
                g.y = ny;
            }
            g.walkPhase += step;
        } else {
            g.facing += std::sin(animClock * 3.2f) * 1.4f * dt;  // looking around
        }
        if (g.investigateTimer <= 0.0f) g.state = GuardState::Patrol;
        return;
    }
    if (g.patrol.size() < 2) {
        if (g.axis != 'x' && g.axis != 'y') return;  // stands guard
        float& coord = g.axis == 'x' ? g.x : g.y;
        const float move = g.dir * g.speed * dt;
        coord += move;
        g.walkPhase += std::fabs(move);
        if (coord > g.max || coord < g.min) {
            g.dir = -g.dir;
            coord = std::fmax(g.min, std::fmin(coord, g.max));
        }
        if (g.axis == 'y') {
            g.facing = g.dir > 0.0f ? kPi / 2.0f : -kPi / 2.0f;
        } else {
            g.facing = g.dir > 0.0f ? 0.0f : kPi;
        }
        return;
    }
    if (g.pauseTimer <= 0.0f) {
        g.lookOffset *= std::fmax(1.0f - 8.0f * dt, 0.0f);
        g.patrolIndex %= g.patrol.size();
        const Vec2 wp = g.patrol[g.patrolIndex];
        const float d = distance(g.x, g.y, wp.x, wp.y);
        if (d >= 6.0f) {
            const float step = std::fmin(g.speed * dt, d);
            g.facing = angleTo(g.x, g.y, wp.x, wp.y);
            g.x += (wp.x - g.x) / d * step;
            g.y += (wp.y - g.y) / d * step;
            g.walkPhase += step;
        } else {
            g.patrolIndex = (g.patrolIndex + 1) % g.patrol.size();
            g.pauseTimer = 0.85f;
        }
    } else {
        g.pauseTimer = std::fmax(g.pauseTimer - dt, 0.0f);
        g.lookOffset = std::sin((1.1f - g.pauseTimer) * 5.2f) * 0.42f;
    }
}

void Game::fireAt(Guard& g) {
    g.shotCooldown = 0.65f;
    const float a = angleTo(g.x, g.y, playerPos.x, playerPos.y);
    const float d = distance(g.x, g.y, playerPos.x, playerPos.y);
    const float shot = a + std::sin(animClock * 17.0f) * 0.14f;  // shots scatter a little
    const float endX = g.x + std::cos(shot) * (d + 8.0f);
    const float endY = g.y + std::sin(shot) * (d + 8.0f);
    const float muzzleX = g.x + std::cos(a) * 12.0f;
    const float muzzleY = g.y + std::sin(a) * 12.0f;
    tracers.push_back({muzzleX, muzzleY, endX, endY, 0.15f, 0.15f, 0});
    spawnImpact(endX, endY, -std::cos(a), -std::sin(a), false);
}

void Game::spawnImpact(float x, float y, float dx, float dy, bool cool) {
    impacts.push_back({x, y, dx, dy, 3.8f, 3.8f, static_cast<std::uint8_t>(cool)});
    std::mt19937 engine(seedFrom(std::fabs(x * 137.0f + y * 53.0f + animClock * 1000.0f)));
    const float base = std::atan2(dy, dx);
    for (int i = 0; i < 18; ++i) {
        const float angle = base + uniform01(engine) * 2.1f - 1.05f;
        const float speed = uniform01(engine) * 120.0f + 45.0f;
        const float life = uniform01(engine) * 0.44f + 0.28f;
        const float size = uniform01(engine) * 1.6f + 1.0f;
        Color c{0.98f, 0.68f, 0.22f, 1.0f};
        if (cool && i % 2 == 0) {
            c = {0.25f, 0.85f, 1.0f, 1.0f};
        } else if (i % 3 == 0) {
            c = {1.0f, 0.94f, 0.72f, 1.0f};
        }
        particles.push_back({x, y, std::cos(angle) * speed, std::sin(angle) * speed, life, life,
                             size, c.r, c.g, c.b});
    }
    for (int k = 0; k < 4; ++k) {
        const float kf = static_cast<float>(k);
        const float angle = base + (uniform01(engine) * 2.1f - 1.05f) * 0.6f;
        const float c = std::cos(angle), s = std::sin(angle);
        const float alpha = 0.12f * kf + 0.65f;
        puffs.push_back({x + c * 3.0f, y + s * 3.0f, c * (4.0f * kf + 10.0f),
                         s * (4.0f * kf + 10.0f) - 6.0f, 1.8f * kf + 4.5f, alpha, alpha,
                         static_cast<std::uint8_t>(k == 0)});
    }
}

bool Game::updateDetection(float dt, bool seen) {
    float rate = (approach == Approach::StaffDisguise && disguise > 0.2f) ? 0.42f : 0.82f;
    if (perkSlowDetection) rate *= 0.75f;
    detection = std::fmax(0.0f, std::fmin(detection + (seen ? rate * dt : -0.32f * dt), 1.0f));
    peakDetection = std::fmax(peakDetection, detection);

    if (detection > 0.68f && !smokeWindow) {
        smokeWindow = 1;
        smokeWindowTimer = 0.8f;
    }
    if (smokeWindow) {
        smokeWindowTimer -= dt;
        if (isHeld(vk::kE)) {
            smokeWindow = 0;
            detection = 0.0f;
            alarmActive = 0;
            playCue(CueHiss);
            std::mt19937 engine(seedFrom(missionClock * 1000.0f));
            for (int i = 0; i < 20; ++i) {
                const float x = playerPos.x + uniform01(engine) * 20.0f - 10.0f;
                const float y = playerPos.y + uniform01(engine) * 20.0f - 10.0f;
                const float vx = uniform01(engine) * 16.0f + 12.0f;
                puffs.push_back({x, y, vx, 1.0f, 1.0f, 1.0f, 1.0f, 0});
            }
        } else if (smokeWindowTimer <= 0.0f) {
            smokeWindow = 0;
        }
    }
    if (detection > 0.95f) {
        failMission(FailReason::Detected);
        return false;
    }
    return true;
}

void Game::takedown() {
    if (gameState != GameState::Playing || takedownTarget < 0 ||
        static_cast<std::size_t>(takedownTarget) >= guards.size()) {
        return;
    }
    const std::size_t victim = static_cast<std::size_t>(takedownTarget);
    Guard& g = guards[victim];
    takedownFrom = playerPos;
    takedownTo = {g.x, g.y};
    playerFacing = angleTo(playerPos.x, playerPos.y, g.x, g.y);
    takedownTimer = 0.42f;
    g.downed = 1;
    g.discovered = 0;
    playCue(CueThud);
    spawnBurst(g.x, g.y, kGold, 26);
    for (int k = 0; k < 6; ++k) {
        const float a = static_cast<float>(k) * kPi / 3.0f;
        const float c = std::cos(a), s = std::sin(a);
        puffs.push_back(
            {g.x + c * 6.0f, g.y + s * 6.0f, c * 22.0f, s * 22.0f, 7.0f, 0.55f, 0.55f, 0});
    }
    for (std::size_t j = 0; j < guards.size(); ++j) {
        if (j != victim && guardCanSee(guards[j], playerPos, guards[j].range)) disguise = 0.0f;
    }
    takedownTarget = kNoGuard;
}

}  // namespace nj
