#pragma once
// What the page shows, composed from the game once a frame and handed over as
// one script: window.syncGameState({...}). The fields keep a fixed order;
// fields the page needs beyond the original set come after "tumblers" (they
// are listed in ui/README.md).

#include <cstdint>
#include <string>
#include <string_view>

#include "core/page_size.hpp"

namespace nj {

class Game;
class PlayerOptions;

struct PageLayout {
    std::uint32_t logicalWidth = kPageWidth;    // page units across the canvas's 960
    std::uint32_t logicalHeight = kPageHeight;  // page units down the canvas's 540
};

struct InteractionPrompt {
    std::string text;  // empty: no prompt
    float x = 0.0f;    // page units
    float y = 0.0f;
};

std::string directiveText(const Game& game);
std::string clockText(float missionClock);
int stealthTier(const Game& game);
int healthSegments(float detection);
int objectivesDone(const Game& game);
InteractionPrompt interactionPrompt(const Game& game, const PageLayout& layout);

// A replay being watched (the state is then the watched game's), or a
// refused replay's reason. Shown as the "replay" extra, last, and only then.
struct ReplayPageState {
    bool watching = false;
    bool paused = false;
    bool ended = false;  // the run is over: its last frame is held
    int speed = 1;       // 1, 2 or 4 times the recorded pace
    std::string clock;   // the watched run's mission clock, "MM:SS"
    std::string notice;  // why a replay was refused; empty when none
    // The player's options (text size, keys), which the watched game does not
    // hold: the page keeps showing them. Null: the game's own.
    const PlayerOptions* playerOptions = nullptr;
};

// The dossier's operations are the game's mission summaries. `editor`, when
// not empty, is the mission editor's state (a JSON object its session
// writes), shown as the "editor" extra, last, and only while it is open.
std::string buildStateScript(const Game& game, const PageLayout& layout,
                             const ReplayPageState* replay = nullptr, std::string_view editor = {});

// The dossier's approach names, from the game's table, handed over once when
// the page is ready: window.nameApproaches([...]).
std::string approachNamesScript();

}  // namespace nj
