#pragma once
// The ghost of the player's best run: the operation's kept win played again
// in a private game beside the live one and held to the live mission clock,
// so the operative can be drawn where it stood at the same moment of the
// best run. The private game has no recorder, no save and no records: the
// live game, its progress and the player's files never see the ghost.

#include <memory>
#include <string>

#include "core/links.hpp"
#include "data/run_record.hpp"
#include "game/game.hpp"
#include "game/replay.hpp"

namespace nj {

class ReplayKeeper;

class GhostRun {
  public:
    // A ghost whose run is over stands still this long, then fades over
    // kFadeSeconds (live mission clock seconds, so a pause holds it too).
    static constexpr float kStandSeconds = 0.6f;
    static constexpr float kFadeSeconds = 0.8f;
    // Updates one follow may play: a live clock that jumped is caught up over
    // a few frames instead of in one long one.
    static constexpr int kMostUpdatesAFollow = 12;

    GhostRun() = default;
    GhostRun(const GhostRun&) = delete;
    GhostRun& operator=(const GhostRun&) = delete;

    // Starts the ghost of `record` at its start, with the campaign and the
    // custom operations `live` holds. False, and no ghost, when its mission
    // is not among them.
    bool start(const Game& live, RunRecord record);
    // The operation's kept best win, else its fastest; false (no ghost) when
    // neither is there, whole and of this operation.
    bool startFromKept(const Game& live, const ReplayKeeper& keeper, const RunStart& start);
    void stop();
    bool active() const { return game_ != nullptr; }

    // Plays the ghost on until its mission clock reaches the live one's, and
    // says where to draw it. Drawn only while the live run is in play or
    // paused; gone once it has faded.
    GhostView follow(const Game& live);

  private:
    GhostView viewOf(const Game& live) const;

    SilentAudio audio_;
    RunRecord record_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<ReplayCursor> cursor_;  // walks record_
    float endedAt_ = -1.0f;  // live clock when the ghost's run ran out; -1 while it runs
};

}  // namespace nj
