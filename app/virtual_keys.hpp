#pragma once
// SDL key events as Windows virtual-key codes: the game and the page were
// designed around those codes (W = 87, Enter = 13, F11 = 122, ...), so the
// shell translates once, here, and everything past it sees the same numbers
// on every platform.

#include <SDL2/SDL_keycode.h>
#include <SDL2/SDL_scancode.h>

#include <cstdint>

#include "game/key_bindings.hpp"

namespace nj {

inline constexpr std::uint32_t kVkReturn = 13;
inline constexpr std::uint32_t kVkF10 = 121;
inline constexpr std::uint32_t kVkF11 = 122;
inline constexpr std::uint32_t kVkMenu = 18;  // Alt

// The virtual-key code of an SDL key, or 0 for keys Windows has no code for.
// Letters follow the keyboard layout (the key labelled W gives 87), as they
// do on Windows.
std::uint32_t virtualKeyFor(SDL_Keycode key);

// Keys that Windows reports as "system" keys: anything while Alt is held,
// Alt itself and F10. They never reach the game; Alt+Enter toggles full screen.
bool isSystemKey(SDL_Keycode key, std::uint16_t modifiers);

// What the shell does with one key event. Key-ups always reach the game, Alt
// held or not: a key released while Alt is down would otherwise stay held and
// keep the operative walking. Key-downs of system keys stay with the window
// system, except Alt+Enter, which (like F11) switches the display mode.
struct KeyRoute {
    enum class Action { Ignore, ToggleFullScreen, KeyDown, KeyUp };
    Action action = Action::Ignore;
    std::uint32_t code = 0;  // the virtual-key code for KeyDown and KeyUp
};
KeyRoute routeKey(bool down, SDL_Keycode key, std::uint16_t modifiers);
// The same with the player's key bindings: a bound position gives its
// action's code whatever the layout prints on the key (see game/key_bindings).
KeyRoute routeBoundKey(bool down, SDL_Scancode scancode, SDL_Keycode key, std::uint16_t modifiers,
                       const KeyPositions& keys);

}  // namespace nj
