// The mission chain: cipher card, vault gate, the safe's tumbler minigame,
// optional intel, the phase-two directive, exfiltration, and how a finished
// mission is graded and rewarded. Writes the card, gate, safe, objective and
// exit fields, the banner, and on a win the campaign progress fields.
#include <algorithm>
#include <cmath>
#include <random>

#include "game/game.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

constexpr float kTwoPi = 6.28318530717958647692f;
constexpr float kTerminalReach = 55.0f;

}  // namespace

void Game::turnTumbler(float dt) {
    if (!safeActive || currentTumbler >= tumblers.size()) return;
    Tumbler& t = tumblers[currentTumbler];
    if (!t.locked) t.angle += t.speed * dt;
}

void Game::pickUpCard() {
    if (cardTaken) return;
    if (!(distance(playerPos.x, playerPos.y, card.x, card.y) < card.r + playerRadius + 4.0f))
        return;
    cardTaken = 1;
    cipherAcquired = 1;
    gateOpen = 0.01f;
    playCue(CueChime);
    spawnBurst(card.x, card.y, kGold, 24);
    showBanner("24K CIPHER CARD SECURED // VAULT UNSEALED", 1.1f, kGold);
}

void Game::updateGateAndTerminal(float dt) {
    if (cipherAcquired && gateOpen < 1.0f) gateOpen = std::fmin(gateOpen + 1.4f * dt, 1.0f);
    if (cipherAcquired && !cipherDecrypted && !safeActive && isHeld(vk::kE) &&
        distance(playerPos.x, playerPos.y, terminal.x, terminal.y) < kTerminalReach) {
        openSafe();
    }
}

void Game::openSafe() {
    static constexpr float kSpeeds[3] = {2.2f, -3.0f, 4.2f};
    static constexpr float kWidths[3] = {0.65f, 0.5f, 0.38f};
    safeActive = 1;
    currentTumbler = 0;
    std::mt19937 engine(seedFrom(missionClock * 1000.0f));
    for (std::size_t i = 0; i < tumblers.size(); ++i) {
        Tumbler& t = tumblers[i];
        t.locked = 0;
        t.angle = uniform01(engine) * kTwoPi;
        t.target = uniform01(engine) * 4.2f + 0.8f;
        t.speed = kSpeeds[i % 3] * (perkSafeAssist ? 0.8f : 1.0f);
        t.width = kWidths[i % 3] * (perkSafeAssist ? 1.35f : 1.0f);
    }
}

void Game::tapTumbler() {
    if (!safeActive || currentTumbler >= tumblers.size()) return;
    Tumbler& t = tumblers[currentTumbler];
    const float off = wrapAngle(t.angle - t.target);
    if (std::fabs(off) < t.width * 0.5f) {
        t.locked = 1;
        playCue(CueTick);
        spawnBurst(480.0f, 270.0f, kGold, 15);
        ++currentTumbler;
        if (currentTumbler < tumblers.size()) return;
        safeActive = 0;
        cipherDecrypted = 1;
        playCue(CueChime);
        spawnBurst(terminal.x, terminal.y, kGold, 35);
        dynamicObjective.active = 1;
        dynamicObjective.done = 0;
        showBanner("SAFE DECRYPTED // NEW DIRECTIVE: " + dynamicObjective.label, 1.6f, kCyan);
        return;
    }
    // A miss is loud, and the whole combination starts over.
    playCue(CueBuzz);
    emitNoise(terminal.x, terminal.y, 175.0f, true);
    currentTumbler = 0;
    for (Tumbler& each : tumblers) each.locked = 0;
}

void Game::secureIntel() {
    optionalIntel.done = 1;
    playCue(CueChime);
    spawnBurst(optionalIntel.x, optionalIntel.y, kCyan, 28);
    showBanner("OPTIONAL INTEL SECURED (+150 NIA INTEL): " + optionalIntel.label, 1.3f, kCyan);
}

void Game::updateOptionalIntel() {
    nearIntel = 0;
    if (!optionalIntel.active || optionalIntel.done) return;
    const float d = distance(playerPos.x, playerPos.y, optionalIntel.x, optionalIntel.y);
    nearIntel = d < 46.0f ? 1 : 0;
    if (d < 26.0f || (d < 46.0f && isHeld(vk::kE))) secureIntel();
}

void Game::completeObjective(const std::string& banner) {
    Objective& o = dynamicObjective;
    o.done = 1;
    playCue(CueSuccess);
    spawnBurst(o.x, o.y, kEmerald, 32);
    showBanner(banner, 1.4f, kEmerald);
}

bool Game::updateDynamicObjective(float dt) {
    nearObjective = 0;
    Objective& o = dynamicObjective;
    if (!o.active || o.done) return true;

    // Couriers always walk; an informant only runs while the alarm is up.
    const bool walks =
        !o.waypoints.empty() && (o.type == ObjectiveType::Courier ||
                                 (o.type == ObjectiveType::Informant && detection > 0.3f));
    if (walks) {
        o.waypointIndex %= o.waypoints.size();
        const Vec2 wp = o.waypoints[o.waypointIndex];
        const float d = distance(o.x, o.y, wp.x, wp.y);
        if (d >= 6.0f) {
            const float step = std::fmin(o.speed * dt, d);
            o.facing = angleTo(o.x, o.y, wp.x, wp.y);
            o.x += (wp.x - o.x) / d * step;
            o.y += (wp.y - o.y) / d * step;
        } else {
            o.waypointIndex = (o.waypointIndex + 1) % o.waypoints.size();
        }
    }

    if (o.type == ObjectiveType::SabotageNode || o.type == ObjectiveType::EvidenceBurn) {
        o.timeLeft -= dt;
        if (!(o.timeLeft > 0.0f)) {
            showBanner("CRITICAL OBJECTIVE EXPIRED // EVIDENCE LOST", 1.2f, kRuby);
            failMission(FailReason::Expired);
            return false;
        }
    }

    const float d = distance(playerPos.x, playerPos.y, o.x, o.y);
    nearObjective = d < 48.0f ? 1 : 0;
    if (d < 26.0f || (d < 48.0f && (isHeld(vk::kE) || isHeld(vk::kSpace)))) {
        completeObjective("OBJECTIVE COMPLETE // EXFILTRATE AT DB5 OR " + altExitLabel);
    }
    return true;
}

bool Game::exfiltrate() {
    if (!cipherDecrypted) return false;
    if (dynamicObjective.active && !dynamicObjective.done) return false;
    const float x = playerPos.x, y = playerPos.y, r = playerRadius;
    if (circleOverlapsRect(x, y, r, exit.x, exit.y, exit.w, exit.h)) {
        usedAltExit = 0;
        finishMission(true);
        return true;
    }
    if (altExitActive && circleOverlapsRect(x, y, r, altExit.x, altExit.y, altExit.w, altExit.h)) {
        usedAltExit = 1;
        finishMission(true);
        return true;
    }
    return false;
}

void Game::failMission(FailReason why) {
    if (gameState == GameState::Playing) failReason = why;
    finishMission(false);
}

void Game::finishMission(bool success) {
    if (gameState != GameState::Playing) return;
    gameState = success ? GameState::MissionComplete : GameState::MissionFailed;
    playCue(success ? CueSuccess : CueFailure);
    if (success) {
        spawnBurst(playerPos.x, playerPos.y, kGold, 40);
    } else {
        spawnBurst(playerPos.x, playerPos.y, kRuby, 25);
        return;
    }
    const Grade grade = gradeMission();
    stealthGrade = grade.label;
    intelBudget += static_cast<std::uint32_t>(grade.award);
    lastIntelAward = static_cast<std::uint32_t>(grade.award);
    if (missionIndex < kMaxMissions) {
        missionCompleted[missionIndex] = 1;
        missionGrades[missionIndex] = grade.label;
    }
    if (missionIndex + 1 > highestUnlocked) {
        // Unsigned like the count itself: with no campaign the cap wraps and
        // never binds, so the built-in mission stays playable after a win.
        const std::uint64_t last = static_cast<std::uint64_t>(campaignMaps.size()) - 1;
        highestUnlocked = std::min<std::uint64_t>(missionIndex + 1, last);
    }
    // The built-in mission is not part of any campaign: its wins unlock
    // nothing that a save file could carry over.
    if (!campaignMaps.empty()) writeSave();
    ghostBonus = (peakDetection < 0.3f && timesSpotted == 0) ? 1 : 0;
    intelBonus = optionalIntel.done ? 1 : 0;
}

Game::Grade Game::gradeMission() const {
    Grade g;
    // Wide enough that no spotting count can overflow it.
    g.spottedPoints = -18 * static_cast<std::int64_t>(timesSpotted);
    if (peakDetection > 0.65f) {
        g.peakPoints = -20;
    } else if (peakDetection > 0.25f) {
        g.peakPoints = -8;
    }
    if (missionClock > 95.0f) g.timePoints = -12;
    if (optionalIntel.done) g.intelPoints = 20;
    if (usedAltExit) g.altExitPoints = 10;
    g.score = 100 + g.spottedPoints + g.peakPoints + g.timePoints + g.intelPoints + g.altExitPoints;
    const std::int64_t score = g.score;
    if (score >= 105) {
        g.label = "S+ PHANTOM";
    } else if (score >= 90) {
        g.label = "S SHADOW";
    } else if (score >= 75) {
        g.label = "A OPERATIVE";
    } else if (score >= 60) {
        g.label = "B AGENT";
    } else {
        g.label = "C COMPROMISED";
    }
    g.award = (peakDetection < 0.25f && timesSpotted == 0) ? 270 : 150;
    if (optionalIntel.done) g.award += 150;
    if (usedAltExit) g.award += 75;
    return g;
}

}  // namespace nj
