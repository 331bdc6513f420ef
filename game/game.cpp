// The game object: construction and the built-in mission, the update order
// (save.dat written after a step that changed progress), effect ageing and
// the shared burst, impact and banner operations.
#include "game/game.hpp"

#include <cmath>
#include <random>

#include "game/mission_world.hpp"
#include "game/rules_math.hpp"
#include "game/run_recorder.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// A step of no time keeps the previous frame length's stand-in.
constexpr float kShortestFrame = 0.0001f;
constexpr float kStandInFrame = 0.016f;

// The built-in safe's targets, one per tumbler.
constexpr float kBuiltInTargets[3] = {1.2f, 3.4f, 2.1f};

// The lunge stops short of the victim, at this share of the way.
constexpr float kLungeReach = 0.72f;

// Effects: particles and puffs keep this share of their speed per step;
// puffs grow and fade, footprints fade, per second.
constexpr float kParticleDrag = 0.94f;
constexpr float kPuffDrag = 0.92f;
constexpr float kPuffGrowth = 16.0f;
constexpr float kPuffFade = 0.85f;
constexpr float kFootprintFade = 0.4f;

// Bursts are seeded from where they happen, x taken as rows of this width.
constexpr float kBurstSeedRow = 100.0f;
// Bursts: speed, life and size of each particle, evenly spread over a range.
constexpr float kBurstSpeedSpread = 95.0f, kBurstMinSpeed = 30.0f;
constexpr float kBurstLifeSpread = 0.5f, kBurstMinLife = 0.45f;
constexpr float kBurstSizeSpread = 2.0f, kBurstMinSize = 1.2f;

// Impacts: scorch life, sparks in a fan against the shot, a few smoke puffs.
constexpr float kImpactSeconds = 3.8f;
// Each impact's sparks differ: the seed mixes where and when it happened.
constexpr float kImpactSeedX = 137.0f, kImpactSeedY = 53.0f;
constexpr int kImpactSparks = 18;
constexpr float kSparkFan = 2.1f, kSparkHalfFan = 1.05f;
constexpr float kSparkSpeedSpread = 120.0f, kSparkMinSpeed = 45.0f;
constexpr float kSparkLifeSpread = 0.44f, kSparkMinLife = 0.28f;
constexpr float kSparkSizeSpread = 1.6f, kSparkMinSize = 1.0f;
constexpr Color kSparkHot{0.98f, 0.68f, 0.22f, 1.0f};
constexpr Color kSparkWhite{1.0f, 0.94f, 0.72f, 1.0f};
constexpr int kImpactPuffs = 4;
constexpr float kImpactPuffFanShare = 0.6f;
constexpr float kImpactPuffOffset = 3.0f;
constexpr float kImpactPuffSpeedStep = 4.0f, kImpactPuffMinSpeed = 10.0f;
constexpr float kImpactPuffRise = 6.0f;
constexpr float kImpactPuffRadiusStep = 1.8f, kImpactPuffMinRadius = 4.5f;
constexpr float kImpactPuffAlphaStep = 0.12f, kImpactPuffMinAlpha = 0.65f;

// Dust motes drifting up the field, the same every run (fixed seed); one that
// leaves the top comes back in at the bottom, scattered across.
constexpr std::uint32_t kDustSeed = 42;
constexpr int kDustMotes = 30;
constexpr float kDustTop = 20.0f, kDustBottom = 520.0f;
constexpr float kDustLeft = 20.0f, kDustWidth = 920.0f, kDustHeight = 500.0f;
constexpr float kDustSizeSpread = 1.4f, kDustMinSize = 0.6f;
constexpr float kDustAlphaSpread = 0.14f, kDustMinAlpha = 0.08f;
constexpr float kDustDriftSpread = 8.0f;
constexpr float kDustDriftBackX = 4.0f, kDustDriftBackY = 12.0f;
constexpr float kDustScatter = 17.0f;

// Swap-with-last removal: list order is not preserved, and every element is
// visited exactly once.
template <typename T, typename Dead>
void removeIf(std::vector<T>& list, Dead dead) {
    for (std::size_t i = 0; i < list.size();) {
        if (dead(list[i])) {
            list[i] = list.back();
            list.pop_back();
        } else {
            ++i;
        }
    }
}

std::vector<DustMote> makeDust() {
    std::mt19937 engine(kDustSeed);
    std::vector<DustMote> motes;
    motes.reserve(kDustMotes);
    for (int i = 0; i < kDustMotes; ++i) {
        DustMote m{};
        m.x = uniform01(engine) * kDustWidth + kDustLeft;
        m.y = uniform01(engine) * kDustHeight + kDustTop;
        m.size = uniform01(engine) * kDustSizeSpread + kDustMinSize;
        m.alpha = uniform01(engine) * kDustAlphaSpread + kDustMinAlpha;
        m.vx = uniform01(engine) * kDustDriftSpread - kDustDriftBackX;
        m.vy = uniform01(engine) * kDustDriftSpread - kDustDriftBackY;
        motes.push_back(m);
    }
    return motes;
}

}  // namespace

Game::Game(AudioSink* audioSink) : audio(audioSink) {
    rebuildBuiltInMission();
    dust = makeDust();
}

void Game::rebuildBuiltInMission() {
    installWorld(builtInWorld());
    // A campaign's safe keeps its last combination until it is opened again;
    // the built-in mission's is put back as first shown.
    tumblers = {{0.0f, kTumblerSpeeds[0], kBuiltInTargets[0], kTumblerWidths[0], 0},
                {0.0f, kTumblerSpeeds[1], kBuiltInTargets[1], kTumblerWidths[1], 0},
                {0.0f, kTumblerSpeeds[2], kBuiltInTargets[2], kTumblerWidths[2], 0}};
    currentTumbler = 0;
}

void Game::playCue(int cue) {
    if (audio) audio->playCue(cue);
}

bool Game::audioEnabled() const {
    return audio != nullptr && audio->enabled();
}

PlayerCommand Game::heldCommand() const {
    return commandFromKeys(heldKeys, {assists.toggleSneak, sneakLatched != 0});
}

void Game::update(float dt, const PlayerCommand& command) {
    if (runRecorded()) recorder->step(dt, command, packAssists(assists));
    frameDt = dt > kShortestFrame ? dt : kStandInFrame;
    if (gameState == GameState::Paused) return;
    // A slower game is a shorter step for every rule; at full speed the step
    // is untouched, so every run at full speed is what it always was.
    if (assists.speedPercent != 100) dt *= static_cast<float>(assists.speedPercent) / 100.0f;
    if (gameState == GameState::Playing && assists.any()) runAssisted = true;
    const bool stepEnded = gameState == GameState::Playing && !playingStep(dt, command);
    if (gameState == GameState::MissionComplete) endRun(RunOutcome::Won);
    if (gameState == GameState::MissionFailed) endRun(RunOutcome::Failed);
    saveChangedProgress();
    if (!stepEnded) ageEffects(dt);
}

bool Game::runRecorded() const {
    return recorder != nullptr && recorder->recording();
}

void Game::beginRun() {
    if (recorder) recorder->begin(*this);
}

void Game::endRun(RunOutcome outcome) {
    if (runRecorded()) recorder->end(*this, outcome);
}

void Game::saveChangedProgress() {
    if (!progressChanged) return;
    progressChanged = false;
    writeSave();
}

// One step of the rules, in their fixed order. A rule that ends the mission
// ends the step as well (no effect ageing on that step).
bool Game::playingStep(float dt, const PlayerCommand& command) {
    turnTumbler(dt);
    missionClock += dt;
    animClock += dt;
    if (alarmTimer > 0.0f) {
        alarmTimer = std::fmax(alarmTimer - dt, 0.0f);
        if (alarmTimer <= 0.0f) alarmActive = 0;
    }
    laserBlinkTimer += dt;
    slideLasers(dt);
    blinkLasers();
    movePlayer(dt, command);
    turnPlayerDrawFacing(dt);
    testCover();
    updatePressurePlates();
    const bool cameraCaught = updateCameras(dt);
    if (laserContact()) return false;
    pickUpCard();
    pickUpKeycards();
    openDoors(dt);
    updateGateAndTerminal(dt, command);
    updateOptionalIntel(command);
    if (!updateDynamicObjective(dt, command)) return false;
    if (exfiltrate()) return false;
    const bool guardSaw = guardPass(dt);
    return updateDetection(dt, guardSaw || cameraCaught, command);
}

void Game::ageEffects(float dt) {
    if (gameState != GameState::Playing) animClock += dt;
    if (bannerTimer > 0.0f) {
        bannerTimer = std::fmax(bannerTimer - dt, 0.0f);
        if (bannerTimer <= 0.0f) bannerActive = 0;
    }
    if (takedownTimer > 0.0f) {
        takedownTimer = std::fmax(takedownTimer - dt, 0.0f);
        const float t = 1.0f - takedownTimer / kLungeSeconds;
        const float ease = t * t * (3.0f - 2.0f * t) * kLungeReach;  // smoothstep
        playerPos.x = takedownFrom.x + (takedownTo.x - takedownFrom.x) * ease;
        playerPos.y = takedownFrom.y + (takedownTo.y - takedownFrom.y) * ease;
    }
    for (Particle& p : particles) {
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.vx *= kParticleDrag;
        p.vy *= kParticleDrag;
        p.life -= dt;
    }
    removeIf(particles, [](const Particle& p) { return p.life <= 0.0f; });
    for (Puff& p : puffs) {
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.vx *= kPuffDrag;
        p.vy *= kPuffDrag;
        p.radius += kPuffGrowth * dt;
        p.alpha -= kPuffFade * dt;
    }
    removeIf(puffs, [](const Puff& p) { return p.alpha <= 0.0f; });
    for (Tracer& t : tracers) t.life -= dt;
    removeIf(tracers, [](const Tracer& t) { return t.life <= 0.0f; });
    for (Impact& i : impacts) i.life -= dt;
    removeIf(impacts, [](const Impact& i) { return i.life <= 0.0f; });
    for (Footprint& f : footprints) f.alpha -= kFootprintFade * dt;
    removeIf(footprints, [](const Footprint& f) { return f.alpha <= 0.0f; });
    for (NoiseRing& n : noiseRings) {
        n.life -= dt;
        n.radius = (1.0f - std::fmax(n.life / n.maxLife, 0.0f)) * n.maxRadius;
    }
    removeIf(noiseRings, [](const NoiseRing& n) { return n.life <= 0.0f; });
    for (DustMote& m : dust) {
        m.x += m.vx * dt;
        m.y += m.vy * dt;
        if (m.y < kDustTop) {  // drifted off the top: re-enter at the bottom
            m.y = kDustBottom;
            m.x = std::fmod(std::fabs(m.x * kDustScatter), kDustWidth) + kDustLeft;
        }
    }
}

void Game::spawnBurst(float x, float y, const Color& color, int count) {
    std::mt19937 engine(seedFrom(x * kBurstSeedRow + y));
    for (int i = 0; i < count; ++i) {
        const float angle = uniform01(engine) * kTwoPi;
        const float speed = uniform01(engine) * kBurstSpeedSpread + kBurstMinSpeed;
        const float life = uniform01(engine) * kBurstLifeSpread + kBurstMinLife;
        const float size = uniform01(engine) * kBurstSizeSpread + kBurstMinSize;
        particles.push_back({x, y, std::cos(angle) * speed, std::sin(angle) * speed, life, life,
                             size, color.r, color.g, color.b});
    }
}

void Game::spawnImpact(float x, float y, float dx, float dy) {
    impacts.push_back({x, y, dx, dy, kImpactSeconds, kImpactSeconds});
    std::mt19937 engine(
        seedFrom(std::fabs(x * kImpactSeedX + y * kImpactSeedY + animClock * kSeedTicksPerSecond)));
    const float base = std::atan2(dy, dx);
    for (int i = 0; i < kImpactSparks; ++i) {
        const float angle = base + uniform01(engine) * kSparkFan - kSparkHalfFan;
        const float speed = uniform01(engine) * kSparkSpeedSpread + kSparkMinSpeed;
        const float life = uniform01(engine) * kSparkLifeSpread + kSparkMinLife;
        const float size = uniform01(engine) * kSparkSizeSpread + kSparkMinSize;
        const Color c = i % 3 == 0 ? kSparkWhite : kSparkHot;
        particles.push_back({x, y, std::cos(angle) * speed, std::sin(angle) * speed, life, life,
                             size, c.r, c.g, c.b});
    }
    for (int k = 0; k < kImpactPuffs; ++k) {
        const float kf = static_cast<float>(k);
        const float angle =
            base + (uniform01(engine) * kSparkFan - kSparkHalfFan) * kImpactPuffFanShare;
        const float c = std::cos(angle), s = std::sin(angle);
        const float alpha = kImpactPuffAlphaStep * kf + kImpactPuffMinAlpha;
        const float speed = kImpactPuffSpeedStep * kf + kImpactPuffMinSpeed;
        puffs.push_back({x + c * kImpactPuffOffset, y + s * kImpactPuffOffset, c * speed,
                         s * speed - kImpactPuffRise,
                         kImpactPuffRadiusStep * kf + kImpactPuffMinRadius, alpha, alpha,
                         static_cast<std::uint8_t>(k == 0)});
    }
}

void Game::showBanner(const std::string& text, float seconds, const Color& color) {
    bannerActive = 1;
    bannerTimer = bannerDuration = seconds;
    bannerColor = color;
    bannerText = text;
}

void Game::loadMission(bool startPlaying) {
    endRun(RunOutcome::Restarted);
    // A won built-in mission has its card taken and its safe open: playing it
    // again without a rebuild would win on the first step.
    if (customSelected()) {
        buildCustomMission();
    } else {
        if (campaignMaps.empty() && gameState == GameState::MissionComplete)
            rebuildBuiltInMission();
        buildMission(static_cast<std::size_t>(missionIndex));
    }
    failReason = FailReason::None;
    lasersOn = 1;
    detection = missionClock = animClock = laserBlinkTimer = 0.0f;
    particles.clear();
    footprints.clear();
    puffs.clear();
    noiseRings.clear();
    impacts.clear();
    tracers.clear();
    alarmActive = 0;
    alarmTimer = 0.0f;
    timesSpotted = 0;
    peakDetection = 0.0f;
    nearObjective = nearIntel = 0;
    bannerActive = 0;
    bannerTimer = 0.0f;
    takedownTarget = kNoGuard;
    smokeWindow = 0;
    safeActive = 0;
    heldKeys.clear();
    confirmQuit = false;
    lastRecordNews = RecordNews{};
    if (startPlaying) {
        requisitionOpen = false;
        closeDialog();
    }
    sneakLatched = 0;
    runAssisted = false;
    gameState = startPlaying ? GameState::Playing : GameState::Briefing;
    if (startPlaying) beginRun();
}

}  // namespace nj
