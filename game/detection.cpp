// The detection meter: it rises while the operative is seen and falls
// otherwise; near the top a short window lets E throw a smoke bomb that
// clears it, and past the top the mission fails. Writes detection,
// peakDetection, smokeWindow, smokeWindowTimer, alarmActive and puffs.
#include <cmath>
#include <random>

#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// The detection meter: rise per second in sight, fall out of it, the smoke
// escape's window and the failure line.
constexpr float kDetectionRate = 0.82f;
constexpr float kDisguisedDetectionRate = 0.42f;
constexpr float kDisguiseSlowsDetectionAbove = 0.2f;
constexpr float kSlowDetectionPerkShare = 0.75f;
constexpr float kDetectionFall = 0.32f;
constexpr float kSmokeWindowDetection = 0.68f;
constexpr float kSmokeWindowSeconds = 0.8f;
constexpr float kDetectionFailsAbove = 0.95f;
// The smoke cloud: puffs scattered around the operative, drifting right.
constexpr int kSmokePuffs = 20;
constexpr float kSmokeScatter = 20.0f, kSmokeHalfScatter = 10.0f;
constexpr float kSmokeDriftSpread = 16.0f, kSmokeMinDrift = 12.0f;

}  // namespace

bool Game::updateDetection(float dt, bool seen, const PlayerCommand& command) {
    float rate = (approach == Approach::StaffDisguise && disguise > kDisguiseSlowsDetectionAbove)
                     ? kDisguisedDetectionRate
                     : kDetectionRate;
    if (slowDetectionOn()) rate *= kSlowDetectionPerkShare;
    detection =
        std::fmax(0.0f, std::fmin(detection + (seen ? rate * dt : -kDetectionFall * dt), 1.0f));
    peakDetection = std::fmax(peakDetection, detection);

    if (detection > kSmokeWindowDetection && !smokeWindow) {
        smokeWindow = 1;
        smokeWindowTimer = kSmokeWindowSeconds;
    }
    if (smokeWindow) {
        smokeWindowTimer -= dt;
        if (command.interact) {
            smokeWindow = 0;
            detection = 0.0f;
            alarmActive = 0;
            playCue(CueHiss);
            std::mt19937 engine(seedFrom(missionClock * kSeedTicksPerSecond));
            for (int i = 0; i < kSmokePuffs; ++i) {
                const float x = playerPos.x + uniform01(engine) * kSmokeScatter - kSmokeHalfScatter;
                const float y = playerPos.y + uniform01(engine) * kSmokeScatter - kSmokeHalfScatter;
                const float vx = uniform01(engine) * kSmokeDriftSpread + kSmokeMinDrift;
                puffs.push_back({x, y, vx, 1.0f, 1.0f, 1.0f, 1.0f, 0});
            }
        } else if (smokeWindowTimer <= 0.0f) {
            smokeWindow = 0;
        }
    }
    if (detection > kDetectionFailsAbove) {
        failMission(FailReason::Detected);
        return false;
    }
    return true;
}

}  // namespace nj
