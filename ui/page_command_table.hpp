#pragma once
// The page's commands: every function the page can call on the game, with its
// argument and what it does. This table is the list: the overlay binds it
// into the page's "game" object in this order, nightjar-sim's "call" runs it,
// and the tests walk it.

#include <span>
#include <string_view>

namespace nj {

class Game;

// What the page asks of a replay (the shell watches it, not the game).
enum class ReplayRequest { Watch, TogglePause, Speed, Restart, Leave };

// What a command acts on. The game is asked for at call time; without one a
// command does nothing, except quit.
class GameCommandTarget {
  public:
    virtual ~GameCommandTarget() = default;
    virtual Game* commandGame() = 0;
    virtual void quitGame() = 0;
    // Where nothing plays replays (the headless harness) these do nothing.
    virtual void replayRequest(ReplayRequest, double) {}
    // The mission editor's requests, a JSON text each; the shell's editor
    // reads them. Where there is no editor they do nothing.
    virtual void editorRequest(std::string_view) {}
};

struct PageCommand {
    const char* name;            // as the page calls it: game.<name>(...)
    const char* numberArgument;  // the one number parameter's name; null: takes none
    // `argument` is 0 for a command that takes none.
    void (*run)(GameCommandTarget& target, double argument);
    // A command whose one argument is a text instead (null for the others):
    // its parameter's name and what it does; `run` is then unused.
    const char* textArgument = nullptr;
    void (*runText)(GameCommandTarget& target, std::string_view text) = nullptr;
};

std::span<const PageCommand> pageCommands();
// The command called `name`, or null.
const PageCommand* findPageCommand(std::string_view name);

}  // namespace nj
