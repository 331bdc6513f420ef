// The ghost of the best run: a private replay held to the live mission clock.
#include "game/ghost_run.hpp"

#include <algorithm>

#include "data/replay_file.hpp"
#include "game/replay_keeper.hpp"

namespace nj {

bool GhostRun::start(const Game& live, RunRecord record) {
    stop();
    // Its game keeps no save and no records: the ghost's win never counts.
    std::string why;
    std::unique_ptr<Game> ghost = replayGameBeside(live, &audio_, record, why);
    if (!ghost) return false;
    record_ = std::move(record);
    game_ = std::move(ghost);
    cursor_ = std::make_unique<ReplayCursor>(record_);
    return true;
}

bool GhostRun::startFromKept(const Game& live, const ReplayKeeper& keeper, const RunStart& start) {
    stop();
    for (const std::string& path : {keeper.bestPath(start), keeper.fastestPath(start)}) {
        RunRecord record;
        std::string why;
        // A file under this operation's name that holds another is no ghost of it.
        if (!readReplayFile(path, record, why) || record.start.missionHash != start.missionHash ||
            record.start.source != start.source)
            continue;
        if (this->start(live, std::move(record))) return true;
    }
    return false;
}

void GhostRun::stop() {
    cursor_.reset();
    game_.reset();
    record_ = RunRecord{};
    endedAt_ = -1.0f;
}

GhostView GhostRun::follow(const Game& live) {
    if (!game_) return {};
    for (int updates = 0; updates < kMostUpdatesAFollow && game_->missionClock < live.missionClock;
         ++updates) {
        if (!cursor_->advance(*game_)) break;
        cursor_->playThroughDossier(*game_);
    }
    if (cursor_->finished() && endedAt_ < 0.0f) endedAt_ = live.missionClock;
    if (endedAt_ >= 0.0f && live.missionClock - endedAt_ >= kStandSeconds + kFadeSeconds) {
        stop();
        return {};
    }
    return viewOf(live);
}

GhostView GhostRun::viewOf(const Game& live) const {
    GhostView view;
    view.visible = live.gameState == GameState::Playing || live.gameState == GameState::Paused;
    view.x = game_->playerPos.x;
    view.y = game_->playerPos.y;
    view.facing = game_->playerDrawFacing;
    view.walkPhase = game_->walkDistance;
    const bool ended = endedAt_ >= 0.0f;
    view.moving = !ended && game_->playerMoving != 0;
    if (ended) {
        const float faded = (live.missionClock - endedAt_ - kStandSeconds) / kFadeSeconds;
        view.strength = 1.0f - std::clamp(faded, 0.0f, 1.0f);
    }
    return view;
}

}  // namespace nj
