#pragma once
// Records runs as the game plays them: the game tells the recorder when a run
// starts and ends and hands it every update's step and command, the keys
// that act at once and the page's commands; the shell decides what to keep.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

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
    // The player left the run waiting on the dossier, and came back to it.
    // Until they come back the run is kept as it stood when they left, so a
    // run that ends on the dossier ends there, as left.
    void leftForDossier(const Game& game);
    void backInPlay();
    void end(const Game& game, RunOutcome outcome);

  private:
    void push(const RunEvent& event);

    // Where the run stood as the player left it for the dossier.
    struct LeftAt {
        std::size_t events = 0;
        std::uint32_t lastCount = 0;  // the last step event's repeats, which later steps may add to
        std::uint64_t steps = 0;
        float missionClock = 0.0f;
        std::string state;
    };
    void cutBackTo(const LeftAt& left);

    RunRecord record_;
    std::optional<LeftAt> leftAt_;
    bool recording_ = false;
    std::uint64_t runsBegun_ = 0;
    std::uint64_t steps_ = 0;
    std::uint32_t assists_ = 0;  // as last recorded
};

// The start of the run the game is about to play.
RunStart runStartOf(const Game& game);

}  // namespace nj
