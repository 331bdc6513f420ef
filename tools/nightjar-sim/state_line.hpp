#pragma once
// One line of JSON describing the game, for scripts and tests to compare.

#include <cstdint>
#include <string>

namespace nj {

class Game;

// Integers in decimal, other numbers as printf "%.6g", flags as true/false.
std::string formatStateLine(const Game& game, std::uint64_t step, bool quitRequested);

}  // namespace nj
