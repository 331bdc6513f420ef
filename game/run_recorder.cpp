// The run recorder: events are appended as they come, a repeated update only
// counted, so an hour of play stays a few hundred kilobytes in memory.
#include "game/run_recorder.hpp"

#include <bit>

#include "data/digest.hpp"
#include "data/replay_file.hpp"
#include "game/game.hpp"
#include "game/state_line.hpp"

namespace nj {
namespace {

constexpr std::uint32_t kSpeedShift = 8;

std::uint32_t axisBits(std::int8_t axis) {
    return static_cast<std::uint32_t>(axis + 1) & 3u;
}

std::int8_t axisFrom(std::uint32_t bits) {
    return static_cast<std::int8_t>(static_cast<int>(bits & 3u) - 1);
}

}  // namespace

std::uint32_t commandBits(const PlayerCommand& c) {
    return axisBits(c.moveX) | axisBits(c.moveY) << 2 | (c.sneak ? 1u << 4 : 0u) |
           (c.interact ? 1u << 5 : 0u) | (c.takedown ? 1u << 6 : 0u);
}

PlayerCommand commandFromBits(std::uint32_t bits) {
    PlayerCommand c;
    c.moveX = axisFrom(bits);
    c.moveY = axisFrom(bits >> 2);
    c.sneak = (bits & 1u << 4) != 0;
    c.interact = (bits & 1u << 5) != 0;
    c.takedown = (bits & 1u << 6) != 0;
    return c;
}

std::uint32_t packAssists(const Assists& a) {
    return (a.slowDetection ? 1u : 0u) | (a.softStep ? 2u : 0u) | (a.safe ? 4u : 0u) |
           (a.toggleSneak ? 8u : 0u) | a.speedPercent << kSpeedShift;
}

void unpackAssists(std::uint32_t packed, Assists& a) {
    a.slowDetection = (packed & 1u) != 0;
    a.softStep = (packed & 2u) != 0;
    a.safe = (packed & 4u) != 0;
    a.toggleSneak = (packed & 8u) != 0;
    a.speedPercent = packed >> kSpeedShift;
}

RunStart runStartOf(const Game& g) {
    RunStart s;
    if (g.customSelected()) {
        s.source = RunSource::Custom;
        s.missionHash = sha256Raw(g.customMissions[static_cast<std::size_t>(g.customIndex)].code);
    } else if (g.missionIndex < g.campaignMaps.size()) {
        s.source = RunSource::Campaign;
        s.missionHash = sha256Raw(g.campaignMaps[g.missionIndex]);
    }
    s.missionIndex = static_cast<std::uint32_t>(g.missionIndex);
    s.missionName = g.missionName;
    s.approach = static_cast<std::uint32_t>(g.approach);
    for (std::size_t i = 0; i < kPerkCount; ++i) {
        if (g.perkOwned(i)) s.perks |= static_cast<std::uint8_t>(1u << i);
    }
    s.bonuses = static_cast<std::uint8_t>((g.ghostBonus ? 1 : 0) | (g.intelBonus ? 2 : 0));
    s.assists = packAssists(g.assists);
    s.intelBudget = g.intelBudget;
    s.highestUnlocked = static_cast<std::uint32_t>(g.highestUnlocked);
    for (std::size_t i = 0; i < kMaxMissions; ++i) {
        if (g.missionCompleted[i]) s.completed |= static_cast<std::uint8_t>(1u << i);
        s.grades[i] = g.missionGrades[i];
    }
    s.audioEnabled = g.audioEnabled();
    s.footstepPhase = g.footstepPhase;
    s.currentTumbler = static_cast<std::uint32_t>(g.currentTumbler);
    s.stealthGrade = g.stealthGrade;
    s.lastIntelAward = g.lastIntelAward;
    s.bannerText = g.bannerText;
    return s;
}

void RunRecorder::begin(const Game& game) {
    record_ = RunRecord{};
    leftAt_.reset();
    record_.start = runStartOf(game);
    assists_ = record_.start.assists;
    steps_ = 0;
    recording_ = true;
    ++runsBegun_;
    if (onRunBegun) onRunBegun(record_.start);
}

void RunRecorder::push(const RunEvent& event) {
    if (recording_ && steps_ < kMaxReplaySteps) record_.events.push_back(event);
}

void RunRecorder::step(float dt, const PlayerCommand& command, std::uint32_t assists) {
    if (!recording_) return;
    if (steps_ >= kMaxReplaySteps) {
        ++steps_;  // past the cap: counted, so the end knows, and no longer kept
        return;
    }
    if (assists != assists_) {
        assists_ = assists;
        push({RunEventKind::Assists, assists});
    }
    const std::uint32_t bits = commandBits(command);
    ++steps_;
    if (!record_.events.empty()) {
        RunEvent& last = record_.events.back();
        if (last.kind == RunEventKind::Step && last.value == bits &&
            std::bit_cast<std::uint32_t>(last.dt) == std::bit_cast<std::uint32_t>(dt)) {
            ++last.count;
            return;
        }
    }
    record_.events.push_back({RunEventKind::Step, bits, dt, 1});
}

void RunRecorder::key(std::uint32_t code) {
    push({RunEventKind::Key, code});
}

void RunRecorder::action(RunAction action) {
    push({RunEventKind::Action, static_cast<std::uint32_t>(action)});
}

void RunRecorder::leftForDossier(const Game& game) {
    if (!recording_) return;
    LeftAt left;
    left.events = record_.events.size();
    left.lastCount = record_.events.empty() ? 0 : record_.events.back().count;
    left.steps = steps_;
    left.missionClock = game.missionClock;
    left.state = formatRunStateLine(game, steps_);
    leftAt_ = std::move(left);
}

void RunRecorder::backInPlay() {
    leftAt_.reset();
}

void RunRecorder::cutBackTo(const LeftAt& left) {
    record_.events.resize(left.events);
    if (!record_.events.empty()) record_.events.back().count = left.lastCount;
    steps_ = left.steps;
    record_.outcome = RunOutcome::LeftForDossier;
    record_.missionClock = left.missionClock;
    record_.finalState = left.state;
}

void RunRecorder::end(const Game& game, RunOutcome outcome) {
    if (!recording_) return;
    recording_ = false;
    if (leftAt_) {
        // Never taken up again: the run is what it was when the player left it.
        cutBackTo(*leftAt_);
        leftAt_.reset();
    } else {
        record_.outcome = outcome;
        record_.missionClock = game.missionClock;
        if (outcome == RunOutcome::Won)
            record_.score = static_cast<std::int32_t>(game.gradeMission().score);
        record_.finalState = formatRunStateLine(game, steps_);
    }
    // A run longer than a replay may hold (nine hours at 60 updates a second)
    // could never be played to its end: it is not handed on at all.
    if (steps_ > kMaxReplaySteps) {
        record_ = RunRecord{};
        return;
    }
    if (onRunEnded) onRunEnded(std::move(record_));
    record_ = RunRecord{};
}

}  // namespace nj
