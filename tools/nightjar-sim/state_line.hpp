#pragma once
// One line of JSON describing the game, for scripts and tests to compare.

#include <cstdint>
#include <string>

namespace nj {

class Game;

// Written by the game's JSON writer (data/json_writer.hpp), in its number
// and string forms.
std::string formatStateLine(const Game& game, std::uint64_t step, bool quitRequested);

}  // namespace nj
