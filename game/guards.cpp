// Guards: noise and alert broadcasts, sight lines, the guard pass (finding
// downed colleagues and open doors, patrols, sighting, firing, takedown
// chances) and the takedown. Writes guards, detection, timesSpotted, the
// alarm fields, takedownTarget, the takedown lunge, disguise and effect lists.
#include <cmath>
#include <random>

#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// Noise: a ring grows from a small start over its life; guards within the
// radius go to look, longer for a quiet sound they could not place.
constexpr float kNoiseRingStartRadius = 6.0f;
constexpr float kNoiseRingSeconds = 0.75f;
constexpr float kLoudNoiseLookSeconds = 5.5f;
constexpr float kQuietNoiseLookSeconds = 7.5f;
// A guard sent to look for longer than this searches rather than wonders.
constexpr float kSearchAboveSeconds = 6.0f;

// Alert broadcasts: responders fan out around the point, about a quarter
// turn apart, kept inside the walls of the field.
constexpr float kAlarmSeconds = 9.0f;
constexpr float kResponderFanStep = 1.57f;
constexpr float kResponderSpread = 28.0f;
constexpr float kResponderMinX = 36.0f, kResponderMaxX = 924.0f;
constexpr float kResponderMinY = 64.0f, kResponderMaxY = 504.0f;
constexpr float kResponderLookSeconds = 7.5f;

// Sight lines are sampled every 7 units. A line across the whole field (its
// diagonal) needs this many samples; longer lines from absurd coordinates are
// sampled no finer.
constexpr float kSightSampleSpacing = 7.0f;
const long long kMaxSightSamples =
    static_cast<long long>(std::ceil(std::hypot(kFieldWidth, kFieldHeight) / kSightSampleSpacing));

// The operative is seen within half the field of view; things lying around
// (downed colleagues, open doors) a little wider.
constexpr float kSightHalfWidthShare = 0.5f;
constexpr float kNoticeHalfWidthShare = 0.55f;

// A downed colleague found: how near, what it costs, who comes.
constexpr float kDownedColleagueReachShare = 0.9f;
constexpr float kDiscoveryDetection = 0.25f;
constexpr float kDiscoveryAlertRadius = 300.0f;
constexpr float kDiscoveryBannerSeconds = 1.2f;

// A door seen standing open past this is investigated once.
constexpr float kDoorNoticeOpening = 0.6f;
constexpr float kOpenDoorReachShare = 0.75f;
constexpr float kOpenDoorLookSeconds = 4.5f;

// The drawn heading eases towards facing plus the look-around at this rate.
constexpr float kDrawTurnRate = 10.0f;

// How far a guard sees the operative, as shares of its range.
constexpr float kCoverSightShare = 0.58f;
constexpr float kSneakSightShare = 0.78f;
constexpr float kDisguisedRunningSightShare = 0.78f;
constexpr float kDisguisedSightShare = 0.52f;

// Suspicion per second while the operative is in sight, and its fall after.
constexpr float kSuspicionRise = 1.3f;
constexpr float kDisguisedSuspicionShare = 0.42f;
constexpr float kSuspicionFall = 0.4f;
// Disguise integrity lost per second in sight.
constexpr float kDisguiseWearSneaking = 0.18f;
constexpr float kDisguiseWearWalking = 0.45f;
// Past these a guard turns alert; past kBroadcastSuspicion it calls others in.
constexpr float kAlertSuspicion = 0.55f;
constexpr float kAlertDetection = 0.55f;
constexpr float kBroadcastSuspicion = 0.4f;
constexpr float kSightingAlertRadius = 290.0f;

// A takedown needs the operative this close, behind the guard within this
// half-angle of its back.
constexpr float kTakedownReach = 42.0f;
constexpr float kTakedownHalfAngle = 1.2f;

// Walking to look: arrival distance, pace, and the clearance kept from walls
// (10 units, squared).
constexpr float kLookArrival = 10.0f;
constexpr float kSearchingPace = 1.22f;
constexpr float kInvestigatingPace = 1.08f;
constexpr float kWallClearanceSquared = 100.0f;
// Having arrived, the guard sweeps its gaze back and forth.
constexpr float kLookAroundRate = 3.2f;
constexpr float kLookAroundSwing = 1.4f;

// Waypoint patrols (arrival is walkRoute's): the wait at each waypoint, the
// head turns while waiting, and how fast the head comes back to the front when
// walking on.
constexpr float kWaypointPauseSeconds = 0.85f;
constexpr float kHeadTurnStart = 1.1f;
constexpr float kHeadTurnRate = 5.2f;
constexpr float kHeadTurnSwing = 0.42f;
constexpr float kHeadSettleRate = 8.0f;

// Shots: cooldown, scatter, and where the tracer starts and ends.
constexpr float kShotCooldownSeconds = 0.65f;
constexpr float kShotScatterRate = 17.0f;
constexpr float kShotScatterAngle = 0.14f;
constexpr float kShotOvershoot = 8.0f;
constexpr float kMuzzleOffset = 12.0f;
constexpr float kTracerSeconds = 0.15f;

// The takedown: a gold burst and a ring of dust puffs.
constexpr int kTakedownBurst = 26;
constexpr int kTakedownPuffs = 6;
constexpr float kTakedownPuffOffset = 6.0f;
constexpr float kTakedownPuffSpeed = 22.0f;
constexpr float kTakedownPuffRadius = 7.0f;
constexpr float kTakedownPuffAlpha = 0.55f;

bool inCone(float fromX, float fromY, float facing, float toX, float toY, float halfWidth) {
    return std::fabs(wrapAngle(angleTo(fromX, fromY, toX, toY) - facing)) < halfWidth;
}

}  // namespace

void Game::investigate(Guard& guard, float x, float y, float seconds) {
    if (guard.downed) return;
    guard.investigateTarget = {x, y};
    guard.investigateTimer = std::fmax(seconds, guard.investigateTimer);
    if (guard.state != GuardState::Alert)
        guard.state =
            seconds > kSearchAboveSeconds ? GuardState::Searching : GuardState::Suspicious;
    guard.facing = angleTo(guard.x, guard.y, x, y);
}

void Game::emitNoise(float x, float y, float radius, bool loud) {
    noiseRings.push_back({x, y, kNoiseRingStartRadius, radius, kNoiseRingSeconds, kNoiseRingSeconds,
                          static_cast<std::uint8_t>(loud)});
    for (Guard& g : guards) {
        if (!g.downed && distance(g.x, g.y, x, y) <= radius) {
            investigate(g, x, y, loud ? kLoudNoiseLookSeconds : kQuietNoiseLookSeconds);
        }
    }
}

void Game::alertNearby(Vec2 point, float radius) {
    alarmPos = point;
    alarmActive = 1;
    alarmTimer = kAlarmSeconds;
    int k = 0;  // responders fan out around the point
    for (Guard& g : guards) {
        if (g.downed || distance(g.x, g.y, point.x, point.y) > radius) continue;
        const float a = static_cast<float>(k) * kResponderFanStep;
        const float tx =
            maxOf(kResponderMinX, minOf(point.x + std::cos(a) * kResponderSpread, kResponderMaxX));
        const float ty =
            maxOf(kResponderMinY, minOf(point.y + std::sin(a) * kResponderSpread, kResponderMaxY));
        investigate(g, tx, ty, kResponderLookSeconds);
        g.state = GuardState::Searching;
        ++k;
    }
}

// The cones the scene draws are cut by a looser test of their own
// (render/scene/vision_ray.cpp): the gate and a door stop a drawn cone only
// while less than 0.8 open, and furniture never does. The two differ on
// purpose and must stay so: the drawn cone shows the player roughly where a
// guard looks, this test alone decides what a guard sees, so cover furniture
// or a door between 0.8 and fully open can hide the operative inside a cone.
bool Game::lineOfSightBlocked(Vec2 a, Vec2 b) const {
    const float length = distance(a.x, a.y, b.x, b.y);
    long long n = saturatingTruncate<long long>(
        std::ceil(static_cast<double>(length) / static_cast<double>(kSightSampleSpacing)));
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

bool Game::notices(const Guard& guard, Vec2 point, float reach, float halfWidth) const {
    return distance(guard.x, guard.y, point.x, point.y) <= reach &&
           inCone(guard.x, guard.y, guard.facing, point.x, point.y, halfWidth) &&
           !lineOfSightBlocked({guard.x, guard.y}, point);
}

bool Game::guardCanSee(const Guard& guard, Vec2 point, float range) const {
    if (guard.downed) return false;
    return distance(guard.x, guard.y, point.x, point.y) <= range &&
           inCone(guard.x, guard.y, guard.facing, point.x, point.y,
                  guard.fov * kNoticeHalfWidthShare);
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
    const float noticeHalfWidth = g.fov * kNoticeHalfWidthShare;

    for (std::size_t j = 0; j < guards.size(); ++j) {
        Guard& other = guards[j];
        if (j == index || !other.downed || other.discovered) continue;
        if (notices(g, {other.x, other.y}, g.range * kDownedColleagueReachShare, noticeHalfWidth)) {
            other.discovered = 1;
            detection = std::fmin(detection + kDiscoveryDetection, 1.0f);
            alertNearby({other.x, other.y}, kDiscoveryAlertRadius);
            playCue(CueBuzz);
            showBanner("GUARD DISCOVERED UNCONSCIOUS OPERATIVE // SEARCHING",
                       kDiscoveryBannerSeconds, kRuby);
        }
    }

    for (Door& d : doors) {
        if (d.openAmount <= kDoorNoticeOpening || d.noticed) continue;
        const float cx = d.x + d.w * 0.5f, cy = d.y + d.h * 0.5f;
        if (notices(g, {cx, cy}, g.range * kOpenDoorReachShare, noticeHalfWidth)) {
            d.noticed = 1;
            investigate(g, cx, cy, kOpenDoorLookSeconds);
        }
    }

    moveGuard(g, dt);
    g.drawFacing +=
        std::fmin(kDrawTurnRate * dt, 1.0f) * wrapAngle(g.facing + g.lookOffset - g.drawFacing);
    if (g.shotCooldown > 0.0f) g.shotCooldown = std::fmax(g.shotCooldown - dt, 0.0f);

    const bool disguised = approach == Approach::StaffDisguise && disguise > kDisguiseHoldsAbove;
    float reach = g.range;
    if (playerInCover) {
        reach *= kCoverSightShare;
    } else if (playerSneaking) {
        reach *= kSneakSightShare;
    }
    if (disguised)
        reach *=
            (playerMoving && !playerSneaking) ? kDisguisedRunningSightShare : kDisguisedSightShare;
    if (notices(g, playerPos, reach, g.fov * kSightHalfWidthShare)) {
        g.suspicion = std::fmin(
            g.suspicion + kSuspicionRise * dt * (disguised ? kDisguisedSuspicionShare : 1.0f),
            1.0f);
        if (approach == Approach::StaffDisguise && disguise > 0.0f) {
            disguise = std::fmax(
                disguise - dt * (playerSneaking ? kDisguiseWearSneaking : kDisguiseWearWalking),
                0.0f);
        }
        g.state = (g.suspicion > kAlertSuspicion || detection > kAlertDetection)
                      ? GuardState::Alert
                      : GuardState::Suspicious;
        if (g.suspicion > kBroadcastSuspicion) {
            if (!alarmActive) ++timesSpotted;
            alertNearby(playerPos, kSightingAlertRadius);  // turns this guard to Searching too
        }
        if (g.state == GuardState::Alert && g.shotCooldown <= 0.0f) fireAt(g);
        seen = true;
    } else {
        g.suspicion = std::fmax(g.suspicion - kSuspicionFall * dt, 0.0f);
        if (g.investigateTimer <= 0.0f) g.state = GuardState::Patrol;
    }

    if (distance(g.x, g.y, playerPos.x, playerPos.y) < kTakedownReach &&
        inCone(g.x, g.y, g.facing + kPi, playerPos.x, playerPos.y, kTakedownHalfAngle)) {
        takedownTarget = static_cast<std::ptrdiff_t>(index);
    }
}

void Game::moveGuard(Guard& g, float dt) {
    if (g.investigateTimer > 0.0f) {
        g.investigateTimer = std::fmax(g.investigateTimer - dt, 0.0f);
        const Vec2 t = g.investigateTarget;
        const float d = distance(g.x, g.y, t.x, t.y);
        if (d > kLookArrival) {
            const float pace =
                g.state == GuardState::Searching ? kSearchingPace : kInvestigatingPace;
            const float step = std::fmin(dt * g.speed * pace, d);
            const float nx = g.x + (t.x - g.x) / d * step;
            const float ny = g.y + (t.y - g.y) / d * step;
            bool nearWall = false;
            for (const Wall& w : walls) {
                if (squaredDistanceToRect(nx, ny, w.x, w.y, w.w, w.h) < kWallClearanceSquared) {
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
            g.facing +=
                std::sin(animClock * kLookAroundRate) * kLookAroundSwing * dt;  // looking around
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
        g.lookOffset *= std::fmax(1.0f - kHeadSettleRate * dt, 0.0f);
        const RouteStep step = walkRoute(g.patrol, g.patrolIndex, g.x, g.y, g.facing, g.speed * dt);
        if (step.reached) {
            g.pauseTimer = kWaypointPauseSeconds;
        } else {
            g.walkPhase += step.walked;
        }
    } else {
        g.pauseTimer = std::fmax(g.pauseTimer - dt, 0.0f);
        g.lookOffset = std::sin((kHeadTurnStart - g.pauseTimer) * kHeadTurnRate) * kHeadTurnSwing;
    }
}

void Game::fireAt(Guard& g) {
    g.shotCooldown = kShotCooldownSeconds;
    const float a = angleTo(g.x, g.y, playerPos.x, playerPos.y);
    const float d = distance(g.x, g.y, playerPos.x, playerPos.y);
    const float shot =
        a + std::sin(animClock * kShotScatterRate) * kShotScatterAngle;  // shots scatter a little
    const float endX = g.x + std::cos(shot) * (d + kShotOvershoot);
    const float endY = g.y + std::sin(shot) * (d + kShotOvershoot);
    const float muzzleX = g.x + std::cos(a) * kMuzzleOffset;
    const float muzzleY = g.y + std::sin(a) * kMuzzleOffset;
    tracers.push_back({muzzleX, muzzleY, endX, endY, kTracerSeconds, kTracerSeconds});
    spawnImpact(endX, endY, -std::cos(a), -std::sin(a));
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
    takedownTimer = kLungeSeconds;
    g.downed = 1;
    g.discovered = 0;
    playCue(CueThud);
    spawnBurst(g.x, g.y, kGold, kTakedownBurst);
    for (int k = 0; k < kTakedownPuffs; ++k) {
        const float a = static_cast<float>(k) * kPi / 3.0f;  // a sixth of a turn apart
        const float c = std::cos(a), s = std::sin(a);
        puffs.push_back({g.x + c * kTakedownPuffOffset, g.y + s * kTakedownPuffOffset,
                         c * kTakedownPuffSpeed, s * kTakedownPuffSpeed, kTakedownPuffRadius,
                         kTakedownPuffAlpha, kTakedownPuffAlpha, 0});
    }
    for (std::size_t j = 0; j < guards.size(); ++j) {
        if (j != victim && guardCanSee(guards[j], playerPos, guards[j].range)) disguise = 0.0f;
    }
    takedownTarget = kNoGuard;
}

}  // namespace nj
