// The game object: construction defaults, the update order, effect ageing and
// the shared burst and banner operations.
#include "game/game.hpp"

#include <cmath>
#include <random>

#include "game/rules_math.hpp"

namespace nj {
namespace {

constexpr float kTwoPi = 6.28318530717958647692f;
constexpr float kLungeSeconds = 0.42f;

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
    std::mt19937 engine(42);
    std::vector<DustMote> motes;
    motes.reserve(30);
    for (int i = 0; i < 30; ++i) {
        DustMote m{};
        m.x = uniform01(engine) * 920.0f + 20.0f;
        m.y = uniform01(engine) * 500.0f + 20.0f;
        m.size = uniform01(engine) * 1.4f + 0.6f;
        m.alpha = uniform01(engine) * 0.14f + 0.08f;
        m.vx = uniform01(engine) * 8.0f - 4.0f;
        m.vy = uniform01(engine) * 8.0f - 12.0f;
        motes.push_back(m);
    }
    return motes;
}

}  // namespace

Game::Game(RendererLink* rendererLink, AudioSink* audioSink)
    : renderer(rendererLink), audio(audioSink) {
    tumblers = {
        {0.0f, 2.2f, 1.2f, 0.65f, 0}, {0.0f, -3.0f, 3.4f, 0.5f, 0}, {0.0f, 4.2f, 2.1f, 0.38f, 0}};
    dust = makeDust();
}

Game::~Game() {
    if (overlay) overlay->teardown();
}

void Game::installOverlay(std::unique_ptr<OverlayLink> newOverlay) {
    if (overlay) overlay->teardown();
    overlay = std::move(newOverlay);
    if (overlay) overlay->initialize(1280, 720);
}

void Game::render() {
    if (renderer) renderer->drawFrame(*this);
}

void Game::playCue(int cue) {
    if (audio) audio->playCue(cue);
}

bool Game::audioEnabled() const {
    return audio != nullptr && audio->enabled();
}

void Game::update(float dt) {
    frameDt = dt > 0.0001f ? dt : 0.016f;
    if (gameState == GameState::Paused) return;
    if (gameState == GameState::Playing && !playingStep(dt)) return;
    ageEffects(dt);
}

// One step of the rules, in their fixed order. A rule that ends the mission
// ends the step as well (no effect ageing on that step).
bool Game::playingStep(float dt) {
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
    movePlayer(dt);
    turnPlayerDrawFacing(dt);
    testCover();
    updatePressurePlates();
    const bool cameraCaught = updateCameras(dt);
    if (laserContact()) return false;
    pickUpCard();
    pickUpKeycards();
    openDoors(dt);
    updateGateAndTerminal(dt);
    updateOptionalIntel();
    if (!updateDynamicObjective(dt)) return false;
    if (exfiltrate()) return false;
    const bool guardSaw = guardPass(dt);
    return updateDetection(dt, guardSaw || cameraCaught);
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
        const float ease = t * t * (3.0f - 2.0f * t) * 0.72f;  // stops short of the victim
        playerPos.x = takedownFrom.x + (takedownTo.x - takedownFrom.x) * ease;
        playerPos.y = takedownFrom.y + (takedownTo.y - takedownFrom.y) * ease;
    }
    for (Particle& p : particles) {
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.vx *= 0.94f;
        p.vy *= 0.94f;
        p.life -= dt;
    }
    removeIf(particles, [](const Particle& p) { return p.life <= 0.0f; });
    for (Puff& p : puffs) {
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.vx *= 0.92f;
        p.vy *= 0.92f;
        p.radius += 16.0f * dt;
        p.alpha -= 0.85f * dt;
    }
    removeIf(puffs, [](const Puff& p) { return p.alpha <= 0.0f; });
    for (Tracer& t : tracers) t.life -= dt;
    removeIf(tracers, [](const Tracer& t) { return t.life <= 0.0f; });
    for (Impact& i : impacts) i.life -= dt;
    removeIf(impacts, [](const Impact& i) { return i.life <= 0.0f; });
    for (Footprint& f : footprints) f.alpha -= 0.4f * dt;
    removeIf(footprints, [](const Footprint& f) { return f.alpha <= 0.0f; });
    for (NoiseRing& n : noiseRings) {
        n.life -= dt;
        n.radius = (1.0f - std::fmax(n.life / n.maxLife, 0.0f)) * n.maxRadius;
    }
    removeIf(noiseRings, [](const NoiseRing& n) { return n.life <= 0.0f; });
    for (DustMote& m : dust) {
        m.x += m.vx * dt;
        m.y += m.vy * dt;
        if (m.y < 20.0f) {  // drifted off the top: re-enter at the bottom
            m.y = 520.0f;
            m.x = std::fmod(std::fabs(m.x * 17.0f), 920.0f) + 20.0f;
        }
    }
}

void Game::spawnBurst(float x, float y, const Color& color, int count) {
    std::mt19937 engine(seedFrom(x * 100.0f + y));
    for (int i = 0; i < count; ++i) {
        const float angle = uniform01(engine) * kTwoPi;
        const float speed = uniform01(engine) * 95.0f + 30.0f;
        const float life = uniform01(engine) * 0.5f + 0.45f;
        const float size = uniform01(engine) * 2.0f + 1.2f;
        particles.push_back({x, y, std::cos(angle) * speed, std::sin(angle) * speed, life, life,
                             size, color.r, color.g, color.b});
    }
}

void Game::showBanner(const std::string& text, float seconds, const Color& color) {
    bannerActive = 1;
    bannerTimer = bannerDuration = seconds;
    bannerColor = color;
    bannerText = text;
}

void Game::loadMission(bool startPlaying) {
    // A won built-in mission has its card taken and its safe open: playing it
    // again without a rebuild would win on the first step.
    if (campaignMaps.empty() && gameState == GameState::MissionComplete) rebuildBuiltInMission();
    buildMission(static_cast<std::size_t>(missionIndex));
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
    gameState = startPlaying ? GameState::Playing : GameState::Briefing;
}

}  // namespace nj
