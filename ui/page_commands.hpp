#pragma once
// The page's 13 commands on the game, bound into the page's "game" object
// in a fixed order, plus the constant "version" "2.0".

#include "ui/native_binding.hpp"
#include "ui/overlay_ui.hpp"

namespace nj {

// Returns how many of the 13 functions were bound.
int bindPageCommands(const ApiContext& context, GameCommandTarget& target);

}  // namespace nj
