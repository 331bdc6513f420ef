// Replays: the run's start put back, then its events in their order.
#include "game/replay.hpp"

#include "data/digest.hpp"
#include "game/game.hpp"
#include "game/run_recorder.hpp"
#include "game/state_line.hpp"

namespace nj {
namespace {

// The custom operation whose code hashes to `hash`, or -1.
std::ptrdiff_t customWithHash(const Game& game, const std::string& hash) {
    for (std::size_t i = 0; i < game.customMissions.size(); ++i) {
        const CustomMission& mission = game.customMissions[i];
        if (mission.playable() && sha256Raw(mission.code) == hash)
            return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

// Selects the record's mission in `game`; false when it is not there.
bool selectRecordedMission(Game& game, const RunStart& start, std::string& why) {
    const std::string missing =
        "the mission this replay was recorded on (" + start.missionName + ") is not here";
    switch (start.source) {
        case RunSource::BuiltIn:
            game.customIndex = -1;
            game.setCampaignMaps({});
            game.missionIndex = 0;
            return true;
        case RunSource::Campaign:
            if (start.missionIndex >= game.campaignMaps.size() ||
                sha256Raw(game.campaignMaps[start.missionIndex]) != start.missionHash) {
                why = missing;
                return false;
            }
            game.customIndex = -1;
            game.missionIndex = start.missionIndex;
            return true;
        case RunSource::Custom: {
            const std::ptrdiff_t index = customWithHash(game, start.missionHash);
            if (index < 0) {
                why = missing;
                return false;
            }
            game.customIndex = index;
            game.missionIndex = start.missionIndex;
            return true;
        }
    }
    why = missing;
    return false;
}

void takeProgress(Game& game, const RunStart& start) {
    game.perkSlowDetection = start.perks & 1u ? 1 : 0;
    game.perkSoftStep = start.perks & 2u ? 1 : 0;
    game.perkSafeAssist = start.perks & 4u ? 1 : 0;
    game.ghostBonus = start.bonuses & 1u ? 1 : 0;
    game.intelBonus = start.bonuses & 2u ? 1 : 0;
    game.intelBudget = start.intelBudget;
    game.highestUnlocked = start.highestUnlocked;
    for (std::size_t i = 0; i < kMaxMissions; ++i) {
        game.missionCompleted[i] = start.completed & (1u << i) ? 1 : 0;
        game.missionGrades[i] = start.grades[i];
    }
}

}  // namespace

bool startReplay(Game& game, const RunRecord& record, std::string& why) {
    const RunStart& start = record.start;
    if (!selectRecordedMission(game, start, why)) return false;
    // A replayed win must not count as another one.
    game.savePath.clear();
    game.recordsPath.clear();
    takeProgress(game, start);
    game.approach = static_cast<Approach>(start.approach);
    unpackAssists(start.assists, game.assists);
    if (game.audio) game.audio->setEnabled(start.audioEnabled);
    game.footstepPhase = start.footstepPhase;
    game.currentTumbler = start.currentTumbler;
    game.gameState = GameState::Briefing;
    game.loadMission(true);
    // Left over from before the run, and shown in its state until replaced.
    game.stealthGrade = start.stealthGrade;
    game.lastIntelAward = start.lastIntelAward;
    game.bannerText = start.bannerText;
    return true;
}

std::unique_ptr<Game> replayGameBeside(const Game& live, AudioSink* audio, const RunRecord& record,
                                       std::string& why) {
    auto game = std::make_unique<Game>(audio);
    game->setCampaignMaps(live.campaignMaps);
    game->missionsFolder = live.missionsFolder;
    game->customMissions = live.customMissions;
    if (!startReplay(*game, record, why)) return nullptr;
    return game;
}

bool ReplayCursor::finished() const {
    return event_ >= record_->events.size();
}

float ReplayCursor::nextStep() const {
    for (std::size_t i = event_; i < record_->events.size(); ++i) {
        if (record_->events[i].kind == RunEventKind::Step) return record_->events[i].dt;
    }
    return 0.0f;
}

void ReplayCursor::applyOne(Game& game, const RunEvent& event) {
    switch (event.kind) {
        case RunEventKind::Step:
            break;
        case RunEventKind::Key:
            game.onKeyDown(event.value);
            break;
        case RunEventKind::Action:
            game.act(static_cast<RunAction>(event.value));
            break;
        case RunEventKind::Assists:
            unpackAssists(event.value, game.assists);
            break;
    }
}

bool ReplayCursor::advance(Game& game) {
    const std::vector<RunEvent>& events = record_->events;
    while (event_ < events.size()) {
        const RunEvent& event = events[event_];
        if (event.kind != RunEventKind::Step) {
            applyOne(game, event);
            ++event_;
            continue;
        }
        game.update(event.dt, commandFromBits(event.value));
        ++steps_;
        if (++repeatsDone_ >= event.count) {
            repeatsDone_ = 0;
            ++event_;
        }
        return true;
    }
    return false;
}

void ReplayCursor::playThroughDossier(Game& game) {
    for (int updates = 0; updates < kMostDossierUpdates && game.gameState == GameState::Briefing;
         ++updates) {
        if (!advance(game)) return;
    }
}

std::string playReplay(Game& game, const RunRecord& record) {
    ReplayCursor cursor(record);
    while (cursor.advance(game)) {
    }
    return formatRunStateLine(game, cursor.stepsDone());
}

ReplayCheck checkReplay(const RunRecord& record, const std::string& playedState) {
    ReplayCheck check;
    check.finalState = playedState;
    check.verified = playedState == record.finalState;
    if (check.verified) return check;
    // The first place the two lines part, with the key it sits in.
    const std::string& want = record.finalState;
    std::size_t at = 0;
    while (at < want.size() && at < playedState.size() && want[at] == playedState[at]) ++at;
    const std::size_t keyEnd = want.rfind("\":", at);
    const std::size_t keyStart =
        keyEnd == std::string::npos ? std::string::npos : want.rfind('"', keyEnd - 1);
    const std::string key = keyStart == std::string::npos
                                ? std::string("?")
                                : want.substr(keyStart + 1, keyEnd - keyStart - 1);
    check.difference = "\"" + key + "\" differs: recorded " + want.substr(at, 40) + ", replayed " +
                       playedState.substr(at, 40);
    return check;
}

}  // namespace nj
