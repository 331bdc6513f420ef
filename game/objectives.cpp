// The mission chain: cipher card, vault gate, the safe's tumbler minigame,
// optional intel, the phase-two directive, exfiltration, and how a finished
// mission is graded and rewarded. Writes the card, gate, safe, objective and
// exit fields, the banner, and on a win the campaign progress fields and
// progressChanged.
#include <algorithm>
#include <cmath>
#include <random>

#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// The cipher card (its reach in shared_tuning.hpp): the gate's first crack
// and its opening rate once the card is taken.
constexpr float kGateFirstCrack = 0.01f;
constexpr float kGateOpenRate = 1.4f;
constexpr int kCardBurst = 24;
constexpr float kCardBannerSeconds = 1.1f;

// The safe's tumblers (speeds and widths in shared_tuning.hpp): where a
// target may fall. The safe-assist perk spins them slower and widens the
// windows.
constexpr float kTargetSpread = 4.2f, kTargetMin = 0.8f;
constexpr float kSafeAssistSpeedShare = 0.8f;
constexpr float kSafeAssistWidthShare = 1.35f;
// A locked tumbler sparks at the middle of the field; the open safe at the
// terminal. A miss makes noise this far.
constexpr float kFieldMiddleX = 480.0f, kFieldMiddleY = 270.0f;
constexpr int kTumblerBurst = 15;
constexpr int kSafeOpenBurst = 35;
constexpr float kSafeOpenBannerSeconds = 1.6f;
constexpr float kMissNoiseRadius = 175.0f;

// Optional intel: shown in reach, taken on contact or with [E] in reach.
constexpr int kIntelBurst = 28;
constexpr float kIntelBannerSeconds = 1.3f;
constexpr float kIntelContact = 26.0f;

// The phase-two directive: an informant runs once detection passes this;
// reach and contact as for intel.
constexpr float kInformantRunsAbove = 0.3f;
constexpr float kDirectiveContact = 26.0f;
constexpr int kDirectiveBurst = 32;
constexpr float kDirectiveBannerSeconds = 1.4f;
constexpr float kExpiredBannerSeconds = 1.2f;

// The end of a mission.
constexpr int kWinBurst = 40;
constexpr int kFailBurst = 25;
// A ghost run (carried into later builds) keeps peak detection under this
// and is never spotted.
constexpr float kGhostPeakBelow = 0.3f;

// The grade: a score from 100 with these points, its tiers, and the intel
// award.
constexpr std::int64_t kBaseScore = 100;
constexpr std::int64_t kSpottedPoints = -18;
constexpr float kHighPeakAbove = 0.65f, kMidPeakAbove = 0.25f;
constexpr std::int64_t kHighPeakPoints = -20, kMidPeakPoints = -8;
constexpr float kSlowAfterSeconds = 95.0f;
constexpr std::int64_t kSlowPoints = -12;
constexpr std::int64_t kIntelPoints = 20;
constexpr std::int64_t kAltExitPoints = 10;
constexpr std::int64_t kPhantomScore = 105, kShadowScore = 90, kOperativeScore = 75,
                       kAgentScore = 60;
constexpr float kCleanPeakBelow = 0.25f;
constexpr std::int32_t kCleanAward = 270, kAward = 150;
constexpr std::int32_t kIntelAward = 150;
constexpr std::int32_t kAltExitAward = 75;

}  // namespace

void Game::turnTumbler(float dt) {
    if (!safeActive || currentTumbler >= tumblers.size()) return;
    Tumbler& t = tumblers[currentTumbler];
    if (!t.locked) t.angle += t.speed * dt;
}

void Game::pickUpCard() {
    if (cardTaken) return;
    if (!(distance(playerPos.x, playerPos.y, card.x, card.y) <
          card.r + playerRadius + kCardReachMargin))
        return;
    cardTaken = 1;
    cipherAcquired = 1;
    gateOpen = kGateFirstCrack;
    playCue(CueChime);
    spawnBurst(card.x, card.y, kGold, kCardBurst);
    showBanner("24K CIPHER CARD SECURED // VAULT UNSEALED", kCardBannerSeconds, kGold);
}

bool Game::safeStillLocked() const {
    return cipherAcquired && !cipherDecrypted;
}

bool Game::canOpenSafe() const {
    return safeStillLocked() &&
           distance(playerPos.x, playerPos.y, terminal.x, terminal.y) < kTerminalReach;
}

// The flags read here are the last step's (nearObjective, nearIntel): the
// prompt the page shows and what a press of E does always agree.
Game::Interaction Game::interactionHere() const {
    if (nearObjective) return Interaction::Directive;
    if (nearIntel) return Interaction::Intel;
    if (canOpenSafe()) return Interaction::SafeTerminal;
    return Interaction::None;
}

void Game::updateGateAndTerminal(float dt, const PlayerCommand& command) {
    if (cipherAcquired && gateOpen < 1.0f)
        gateOpen = std::fmin(gateOpen + kGateOpenRate * dt, 1.0f);
    if (!safeActive && command.interact && canOpenSafe()) openSafe();
}

void Game::openSafe() {
    safeActive = 1;
    currentTumbler = 0;
    std::mt19937 engine(seedFrom(missionClock * kSeedTicksPerSecond));
    for (std::size_t i = 0; i < tumblers.size(); ++i) {
        Tumbler& t = tumblers[i];
        t.locked = 0;
        t.angle = uniform01(engine) * kTwoPi;
        t.target = uniform01(engine) * kTargetSpread + kTargetMin;
        t.speed = kTumblerSpeeds[i % 3] * (safeAssistOn() ? kSafeAssistSpeedShare : 1.0f);
        t.width = kTumblerWidths[i % 3] * (safeAssistOn() ? kSafeAssistWidthShare : 1.0f);
    }
}

void Game::tapTumbler() {
    if (!safeActive || currentTumbler >= tumblers.size()) return;
    Tumbler& t = tumblers[currentTumbler];
    const float off = wrapAngle(t.angle - t.target);
    if (std::fabs(off) < t.width * 0.5f) {
        t.locked = 1;
        playCue(CueTick);
        spawnBurst(kFieldMiddleX, kFieldMiddleY, kGold, kTumblerBurst);
        ++currentTumbler;
        if (currentTumbler < tumblers.size()) return;
        safeActive = 0;
        cipherDecrypted = 1;
        playCue(CueChime);
        spawnBurst(terminal.x, terminal.y, kGold, kSafeOpenBurst);
        dynamicObjective.active = 1;
        dynamicObjective.done = 0;
        showBanner("SAFE DECRYPTED // NEW DIRECTIVE: " + dynamicObjective.label,
                   kSafeOpenBannerSeconds, kCyan);
        return;
    }
    // A miss is loud, and the whole combination starts over.
    playCue(CueBuzz);
    emitNoise(terminal.x, terminal.y, kMissNoiseRadius, true);
    currentTumbler = 0;
    for (Tumbler& each : tumblers) each.locked = 0;
}

void Game::secureIntel() {
    optionalIntel.done = 1;
    playCue(CueChime);
    spawnBurst(optionalIntel.x, optionalIntel.y, kCyan, kIntelBurst);
    showBanner("OPTIONAL INTEL SECURED (+150 NIA INTEL): " + optionalIntel.label,
               kIntelBannerSeconds, kCyan);
}

void Game::updateOptionalIntel(const PlayerCommand& command) {
    nearIntel = 0;
    if (!optionalIntel.active || optionalIntel.done) return;
    const float d = distance(playerPos.x, playerPos.y, optionalIntel.x, optionalIntel.y);
    nearIntel = d < kIntelReach ? 1 : 0;
    if (d < kIntelContact || (d < kIntelReach && command.interact)) secureIntel();
}

void Game::completeObjective(const std::string& banner) {
    Objective& o = dynamicObjective;
    o.done = 1;
    playCue(CueSuccess);
    spawnBurst(o.x, o.y, kEmerald, kDirectiveBurst);
    showBanner(banner, kDirectiveBannerSeconds, kEmerald);
}

bool Game::updateDynamicObjective(float dt, const PlayerCommand& command) {
    nearObjective = 0;
    Objective& o = dynamicObjective;
    if (!o.active || o.done) return true;

    // Couriers always walk; an informant only runs while the alarm is up.
    const bool walks = !o.waypoints.empty() &&
                       (o.type == ObjectiveType::Courier ||
                        (o.type == ObjectiveType::Informant && detection > kInformantRunsAbove));
    if (walks) walkRoute(o.waypoints, o.waypointIndex, o.x, o.y, o.facing, o.speed * dt);

    if (o.type == ObjectiveType::SabotageNode || o.type == ObjectiveType::EvidenceBurn) {
        o.timeLeft -= dt;
        if (!(o.timeLeft > 0.0f)) {
            showBanner("CRITICAL OBJECTIVE EXPIRED // EVIDENCE LOST", kExpiredBannerSeconds, kRuby);
            failMission(FailReason::Expired);
            return false;
        }
    }

    const float d = distance(playerPos.x, playerPos.y, o.x, o.y);
    nearObjective = d < kDirectiveReach ? 1 : 0;
    if (d < kDirectiveContact || (d < kDirectiveReach && (command.interact || command.takedown))) {
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
        spawnBurst(playerPos.x, playerPos.y, kGold, kWinBurst);
    } else {
        spawnBurst(playerPos.x, playerPos.y, kRuby, kFailBurst);
        return;
    }
    if (assists.any()) runAssisted = true;  // switched on for the winning step
    const Grade grade = gradeMission();
    stealthGrade = grade.label;
    // A custom operation is graded but earns, unlocks and saves nothing.
    if (customSelected()) {
        lastIntelAward = 0;
        return;
    }
    intelBudget += static_cast<std::uint32_t>(grade.award);
    lastIntelAward = static_cast<std::uint32_t>(grade.award);
    if (missionIndex < kMaxMissions) {
        missionCompleted[missionIndex] = 1;
        missionGrades[missionIndex] = grade.label;
    }
    recordWin(grade);
    if (missionIndex + 1 > highestUnlocked) {
        // Unsigned like the count itself: with no campaign the cap wraps and
        // never binds, so the built-in mission stays playable after a win.
        const std::uint64_t last = static_cast<std::uint64_t>(campaignMaps.size()) - 1;
        highestUnlocked = std::min<std::uint64_t>(missionIndex + 1, last);
    }
    // The built-in mission is not part of any campaign: its wins unlock
    // nothing that a save file could carry over. The save is written once
    // the step is over (update).
    if (!campaignMaps.empty()) progressChanged = true;
    ghostBonus = (peakDetection < kGhostPeakBelow && timesSpotted == 0) ? 1 : 0;
    intelBonus = optionalIntel.done ? 1 : 0;
}

Game::Grade Game::gradeMission() const {
    Grade g;
    // Wide enough that no spotting count can overflow it.
    g.spottedPoints = kSpottedPoints * static_cast<std::int64_t>(timesSpotted);
    if (peakDetection > kHighPeakAbove) {
        g.peakPoints = kHighPeakPoints;
    } else if (peakDetection > kMidPeakAbove) {
        g.peakPoints = kMidPeakPoints;
    }
    if (missionClock > kSlowAfterSeconds) g.timePoints = kSlowPoints;
    if (optionalIntel.done) g.intelPoints = kIntelPoints;
    if (usedAltExit) g.altExitPoints = kAltExitPoints;
    g.score = kBaseScore + g.spottedPoints + g.peakPoints + g.timePoints + g.intelPoints +
              g.altExitPoints;
    const std::int64_t score = g.score;
    if (score >= kPhantomScore) {
        g.label = "S+ PHANTOM";
    } else if (score >= kShadowScore) {
        g.label = "S SHADOW";
    } else if (score >= kOperativeScore) {
        g.label = "A OPERATIVE";
    } else if (score >= kAgentScore) {
        g.label = "B AGENT";
    } else {
        g.label = "C COMPROMISED";
    }
    g.award = (peakDetection < kCleanPeakBelow && timesSpotted == 0) ? kCleanAward : kAward;
    if (optionalIntel.done) g.award += kIntelAward;
    if (usedAltExit) g.award += kAltExitAward;
    return g;
}

}  // namespace nj
