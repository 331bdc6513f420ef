#pragma once
// When the way out is open, shared by the getaway car and the alternative exit.

#include "game/game.hpp"

namespace nj {

// The cipher is cracked and no second directive is still pending.
inline bool exitArmed(const Game& game) {
    return game.cipherDecrypted && (!game.dynamicObjective.active || game.dynamicObjective.done);
}

}  // namespace nj
