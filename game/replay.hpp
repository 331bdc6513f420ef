#pragma once
// Playing a recorded run again: a game is set to the run's start (its
// mission, approach, perks, bonuses, assists and campaign progress) and fed
// the recorded events in order. The rules take every seed from the mission
// clock, so the same events give the same run, to the bit.

#include <cstdint>
#include <memory>
#include <string>

#include "data/run_record.hpp"

namespace nj {

class AudioSink;
class Game;

// Puts `game` at the record's start and starts the run. The game must hold
// the campaign and the custom operations it was recorded with (the mission
// is found by its hash); it writes no save and no records from here on.
// False, with a sentence in `why`, when the mission is not there.
bool startReplay(Game& game, const RunRecord& record, std::string& why);

// A game of its own, holding the campaign and custom operations `live` holds,
// started at the record's start (as startReplay does): what a watched replay
// and a ghost play in. Null, with `why` set, when the mission is not there.
std::unique_ptr<Game> replayGameBeside(const Game& live, AudioSink* audio, const RunRecord& record,
                                       std::string& why);

// Walks a record's events into a game one update at a time.
class ReplayCursor {
  public:
    explicit ReplayCursor(const RunRecord& record) : record_(&record) {}
    // Applies the events up to and including the next update; false once
    // every event has been applied.
    bool advance(Game& game);
    // Plays a stay on the dossier through, up to kMostDossierUpdates at a
    // time: a watched replay and a ghost show the run's play, and the
    // stay's keys and purchases still reach the game.
    void playThroughDossier(Game& game);
    static constexpr int kMostDossierUpdates = 1 << 16;
    bool finished() const;
    std::uint64_t stepsDone() const { return steps_; }
    // The game's step length as recorded for the next update (0 when none is left).
    float nextStep() const;

  private:
    void applyOne(Game& game, const RunEvent& event);

    const RunRecord* record_;
    std::size_t event_ = 0;
    std::uint32_t repeatsDone_ = 0;  // of the current step event
    std::uint64_t steps_ = 0;
};

// Plays the whole record from its start; the run's final state line.
std::string playReplay(Game& game, const RunRecord& record);

// What a played replay ended on against what was recorded.
struct ReplayCheck {
    bool verified = false;
    std::string finalState;  // as played
    std::string difference;  // the first field that differs, when not verified
};
ReplayCheck checkReplay(const RunRecord& record, const std::string& playedState);

}  // namespace nj
