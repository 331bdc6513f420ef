#pragma once
// One line of JSON describing the game, for scripts and tests to compare.

#include <cstdint>
#include <string>

namespace nj {

class Game;

// Written by the game's JSON writer (data/json_writer.hpp), in its number
// and string forms.
std::string formatStateLine(const Game& game, std::uint64_t step, bool quitRequested);

// The state line of a run at `step` updates from its start, without what
// belongs to the shell and the dossier rather than to the run (sound, quit,
// the dossier's questions and lists): a replay must end on exactly this.
std::string formatRunStateLine(const Game& game, std::uint64_t step);

}  // namespace nj
