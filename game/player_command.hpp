#pragma once
// What the player asks of the operative for one update of the rules: the
// direction held, and whether sneak, interact and takedown are held. The
// rules read this and never a key code; presses that act at once (an
// approach, retry, pause, the dossier, a tumbler tap, a takedown begun by
// Space) stay named calls on Game.
//
// The game's key map gives the default: which key code holds which intent.
// Both movement clusters move (WASD and the arrows), Shift sneaks (either
// side: both arrive as the one Shift code), E interacts, Space is the
// takedown key.

#include <cstdint>
#include <set>

namespace nj {

struct PlayerCommand {
    std::int8_t moveX = 0;  // -1 left, 0 none or both, +1 right
    std::int8_t moveY = 0;  // -1 up (the field's y grows downwards), 0, +1 down
    bool sneak = false;     // creep: held, or latched by the toggle-sneak assist
    bool interact = false;
    bool takedown = false;

    bool operator==(const PlayerCommand&) const = default;
};

// The toggle-sneak assist: when on, the sneak key switches sneaking at each
// press (`latched`) instead of sneaking while it is held.
struct SneakToggle {
    bool on = false;
    bool latched = false;
};

// The command the held key codes give through the key map.
PlayerCommand commandFromKeys(const std::set<std::uint32_t>& held, SneakToggle toggle = {});

}  // namespace nj
