// Security devices: sliding and blinking lasers, pressure plates, sweeping
// cameras (which also spot downed guards), laser contact, keycards and the
// doors they unlock. Writes lasers, lasersOn, laserBlinkTimer, pressurePlates,
// cameras, keycards, keycardsHeld, doors, detection and the guards they alert.
#include <cmath>

#include "game/game.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

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
        approach == Approach::UplinkHack ? 3.1f : 2.2f;  // the uplink hack slows the grid
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
        spawnBurst(cx, cy, kRuby, 18);
        detection = std::fmin(detection + 0.32f, 1.0f);
        emitNoise(cx, cy, 260.0f, true);
        alertNearby({cx, cy}, 300.0f);
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
        if (approach == Approach::StaffDisguise && disguise > 0.2f && playerSneaking)
            reach *= 0.65f;
        const float d = distance(cam.x, cam.y, playerPos.x, playerPos.y);
        if (!(d < reach) || lineOfSightBlocked({cam.x, cam.y}, playerPos)) {
            cam.meter = std::fmax(cam.meter - 0.5f * dt, 0.0f);
        } else if (std::fabs(wrapAngle(angleTo(cam.x, cam.y, playerPos.x, playerPos.y) -
                                       cam.angle)) < 0.58f) {
            cam.meter = std::fmin(cam.meter + 1.4f * dt, 1.0f);
            if (cam.meter > 0.45f) alertNearby(playerPos, 280.0f);
            caught = true;
        }
        for (Guard& g : guards) {
            if (!g.downed || g.discovered) continue;
            if (distance(cam.x, cam.y, g.x, g.y) < cam.range &&
                std::fabs(wrapAngle(angleTo(cam.x, cam.y, g.x, g.y) - cam.angle)) < 0.55f &&
                !lineOfSightBlocked({cam.x, cam.y}, {g.x, g.y})) {
                g.discovered = 1;
                detection = std::fmin(detection + 0.22f, 1.0f);
                alertNearby({g.x, g.y}, 320.0f);
                showBanner("CCTV SPOTTED DOWNED GUARD // SEARCH DISPATCHED", 1.2f, kRuby);
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
        if (!(distance(playerPos.x, playerPos.y, k.x, k.y) < playerRadius + k.r + 4.0f)) continue;
        k.taken = 1;
        keycardsHeld.insert(k.color);
        playCue(CueChime);
        const Color c = namedColor(k.color);
        spawnBurst(k.x, k.y, c, 24);
        showBanner(k.color + " CLEARANCE PASS SECURED", 1.0f, c);
        for (Door& d : doors) {
            if (d.color == k.color) d.unlocked = 1;
        }
    }
}

void Game::openDoors(float dt) {
    for (Door& d : doors) {
        if (d.unlocked && d.openAmount < 1.0f)
            d.openAmount = std::fmin(d.openAmount + 1.5f * dt, 1.0f);
    }
}

}  // namespace nj
