#pragma once
// Records runs as the game plays them: the game tells the recorder when a run
// starts and ends and hands it every update's step and command, the keys
// that act at once and the page's commands; the shell decides what to keep.

#include <cstdint>
#include <functional>

#include "data/run_record.hpp"
#include "game/player_command.hpp"

namespace nj {

class Game;
struct Assists;

// A command as a record's seven bits, and back.
std::uint32_t commandBits(const PlayerCommand& command);
PlayerCommand commandFromBits(std::uint32_t bits);
// Assists as a record packs them, and back (the speed's percentage from bit 8).
std::uint32_t packAssists(const Assists& assists);
void unpackAssists(std::uint32_t packed, Assists& assists);

class RunRecorder {
  public:
    // Called with each run as it ends; without it ended runs are dropped.
    std::function<void(RunRecord&&)> onRunEnded;
    // Called as each run begins (a retry too), with where it starts.
    std::function<void(const RunStart&)> onRunBegun;

    bool recording() const { return recording_; }
    // Counts every run begun, so a caller can tell that a press ended one.
    std::uint64_t runsBegun() const { return runsBegun_; }
    const RunRecord& current() const { return record_; }

    void begin(const Game& game);
    void step(float dt, const PlayerCommand& command, std::uint32_t assists);
    void key(std::uint32_t code);
    void action(RunAction action);
    void end(const Game& game, RunOutcome outcome);

  private:
    void push(const RunEvent& event);

    RunRecord record_;
    bool recording_ = false;
    std::uint64_t runsBegun_ = 0;
    std::uint64_t steps_ = 0;
    std::uint32_t assists_ = 0;  // as last recorded
};

// The start of the run the game is about to play.
RunStart runStartOf(const Game& game);

}  // namespace nj
