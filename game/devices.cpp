// Security devices: sliding and blinking lasers, pressure plates, sweeping
// cameras (which also spot downed guards), laser contact, keycards and the
// doors they unlock. Writes lasers, lasersOn, laserBlinkTimer, pressurePlates,
// cameras, keycards, keycardsHeld, doors, detection and the guards they alert.
#include <cmath>

#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// Lasers blink on and off with this period; the uplink hack slows the grid.
constexpr float kLaserBlinkSeconds = 2.2f;
constexpr float kHackedLaserBlinkSeconds = 3.1f;

// A pressure plate trips: detection, noise and a broadcast.
constexpr int kPlateBurst = 18;
constexpr float kPlateDetection = 0.32f;
constexpr float kPlateNoiseRadius = 260.0f;
constexpr float kPlateAlertRadius = 300.0f;

// Cameras: a disguised, sneaking operative is seen this much nearer; the
// meter's fall and rise per second, the broadcast line, and the half-angle of
// the sweep that sees the operative (a downed guard, a little narrower).
constexpr float kDisguiseFoolsCamerasAbove = 0.2f;
constexpr float kDisguisedSneakReachShare = 0.65f;
constexpr float kMeterFall = 0.5f;
constexpr float kMeterRise = 1.4f;
constexpr float kMeterBroadcastAbove = 0.45f;
constexpr float kCameraAlertRadius = 280.0f;
constexpr float kCameraHalfAngle = 0.58f;
constexpr float kDownedGuardHalfAngle = 0.55f;
constexpr float kDownedGuardDetection = 0.22f;
constexpr float kDownedGuardAlertRadius = 320.0f;
constexpr float kDownedGuardBannerSeconds = 1.2f;

// Keycards (their reach in shared_tuning.hpp): the pickup's burst and banner.
constexpr int kKeycardBurst = 24;
constexpr float kKeycardBannerSeconds = 1.0f;

// Unlocked doors slide open at this share of the way per second.
constexpr float kDoorOpenRate = 1.5f;

Color namedColor(const std::string& name) {
    if (name == "ruby") return kRuby;
    if (name == "emerald") return kEmerald;
    if (name == "purple") return kPurple;
    return kCyan;
}

}  // namespace

void Game::slideLasers(float dt) {
    for (Laser& l : lasers) {
        if (!(l.speed > 0.0f)) continue;
        float* coord = l.axis == 'y' ? &l.y : l.axis == 'x' ? &l.x : nullptr;
        if (!coord) continue;
        *coord += l.dir * l.speed * dt;
        if (*coord > l.max || *coord < l.min) {
            l.dir = -l.dir;
            *coord = std::fmax(l.min, std::fmin(*coord, l.max));
        }
    }
}

void Game::blinkLasers() {
    const float period =
        approach == Approach::UplinkHack ? kHackedLaserBlinkSeconds : kLaserBlinkSeconds;
    if (laserBlinkTimer > period) {
        laserBlinkTimer = 0.0f;
        lasersOn = lasersOn ? 0 : 1;
    }
}

void Game::updatePressurePlates() {
    for (PressurePlate& p : pressurePlates) {
        if (!circleOverlapsRect(playerPos.x, playerPos.y, playerRadius, p.x, p.y, p.w, p.h)) {
            p.pressed = 0;  // stepping on again trips it again
            continue;
        }
        if (p.pressed) continue;
        p.pressed = 1;
        const float cx = p.x + p.w * 0.5f, cy = p.y + p.h * 0.5f;
        playCue(CueBuzz);
        spawnBurst(cx, cy, kRuby, kPlateBurst);
        detection = std::fmin(detection + kPlateDetection, 1.0f);
        emitNoise(cx, cy, kPlateNoiseRadius, true);
        alertNearby({cx, cy}, kPlateAlertRadius);
    }
}

bool Game::updateCameras(float dt) {
    bool caught = false;
    for (Camera& cam : cameras) {
        if (cam.disabledTime > 0.0f) {
            cam.disabledTime = std::fmax(cam.disabledTime - dt, 0.0f);
            cam.meter = 0.0f;
            continue;
        }
        cam.angle = std::sin(animClock * cam.speed) * cam.sweep + cam.baseAngle;
        float reach = cam.range;
        if (approach == Approach::StaffDisguise && disguise > kDisguiseFoolsCamerasAbove &&
            playerSneaking)
            reach *= kDisguisedSneakReachShare;
        const float d = distance(cam.x, cam.y, playerPos.x, playerPos.y);
        if (!(d < reach) || lineOfSightBlocked({cam.x, cam.y}, playerPos)) {
            cam.meter = std::fmax(cam.meter - kMeterFall * dt, 0.0f);
        } else if (std::fabs(wrapAngle(angleTo(cam.x, cam.y, playerPos.x, playerPos.y) -
                                       cam.angle)) < kCameraHalfAngle) {
            cam.meter = std::fmin(cam.meter + kMeterRise * dt, 1.0f);
            if (cam.meter > kMeterBroadcastAbove) alertNearby(playerPos, kCameraAlertRadius);
            caught = true;
        }
        for (Guard& g : guards) {
            if (!g.downed || g.discovered) continue;
            if (distance(cam.x, cam.y, g.x, g.y) < cam.range &&
                std::fabs(wrapAngle(angleTo(cam.x, cam.y, g.x, g.y) - cam.angle)) <
                    kDownedGuardHalfAngle &&
                !lineOfSightBlocked({cam.x, cam.y}, {g.x, g.y})) {
                g.discovered = 1;
                detection = std::fmin(detection + kDownedGuardDetection, 1.0f);
                alertNearby({g.x, g.y}, kDownedGuardAlertRadius);
                showBanner("CCTV SPOTTED DOWNED GUARD // SEARCH DISPATCHED",
                           kDownedGuardBannerSeconds, kRuby);
            }
        }
    }
    return caught;
}

bool Game::laserContact() {
    if (!lasersOn) return false;
    for (const Laser& l : lasers) {
        if (circleOverlapsRect(playerPos.x, playerPos.y, playerRadius, l.x, l.y, l.w, l.h)) {
            failMission(FailReason::Laser);
            return true;
        }
    }
    return false;
}

void Game::pickUpKeycards() {
    for (Keycard& k : keycards) {
        if (k.taken) continue;
        if (!(distance(playerPos.x, playerPos.y, k.x, k.y) <
              playerRadius + k.r + kKeycardReachMargin))
            continue;
        k.taken = 1;
        keycardsHeld.insert(k.color);
        playCue(CueChime);
        const Color c = namedColor(k.color);
        spawnBurst(k.x, k.y, c, kKeycardBurst);
        showBanner(k.color + " CLEARANCE PASS SECURED", kKeycardBannerSeconds, c);
        for (Door& d : doors) {
            if (d.color == k.color) d.unlocked = 1;
        }
    }
}

void Game::openDoors(float dt) {
    for (Door& d : doors) {
        if (d.unlocked && d.openAmount < 1.0f)
            d.openAmount = std::fmin(d.openAmount + kDoorOpenRate * dt, 1.0f);
    }
}

}  // namespace nj
