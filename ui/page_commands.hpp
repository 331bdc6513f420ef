#pragma once
// Binds the page's commands (ui/page_command_table.hpp) into the page's
// "game" object in the table's order, plus the constant "version" "2.0".

#include "ui/native_binding.hpp"
#include "ui/page_command_table.hpp"

namespace nj {

// Returns how many of the table's commands were bound.
int bindPageCommands(const ApiContext& context, GameCommandTarget& target);

}  // namespace nj
