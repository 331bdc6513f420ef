#pragma once
// Runs a nightjar-sim script against a game, one command a line.

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>

namespace nj {

class Game;

// A line the runner cannot understand; `what()` says why.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ScriptRunner {
  public:
    ScriptRunner(Game& game, std::ostream& out);

    // Throws ScriptError for a line it cannot run.
    void runLine(const std::string& line);

    bool quitRequested() const { return quitRequested_; }
    std::uint64_t steps() const { return steps_; }

  private:
    void step();
    void call(const std::string& name, const std::string* argument);
    void crack();

    Game& game_;
    std::ostream& out_;
    float dt_ = 1.0f / 60.0f;  // seconds per step
    std::uint64_t steps_ = 0;
    bool quitRequested_ = false;
    std::string clipboard_;  // what the shell's clipboard would hold
};

// Virtual-key code for a script key name or decimal code; throws ScriptError.
std::uint32_t parseKey(const std::string& word);

}  // namespace nj
