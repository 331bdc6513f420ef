#pragma once
// The window procedure: SDL events become calls on the game (keys, mouse) and
// the renderer (size changes), reached through g_game and g_renderer, and on
// the pads and the options screen it is handed.
//
//   quit                      -> the loop ends
//   size change (not minimised, both sides > 0) -> renderer resize
//   F11, Alt+Enter            -> full screen <-> 1280 x 720 window
//   other keys (not system)   -> onKeyDown / onKeyUp with Windows codes
//   mouse move, left button   -> onMouseMove (then onMouseButton)

#include <SDL2/SDL.h>

namespace nj {

class Gamepads;
class OptionsShell;
class ShellWindow;

enum class EventResult { Continue, Quit };

// What besides the game and the renderer takes events; a null one takes none
// (before bring-up has made it, or after tear-down has begun).
struct ShellInputs {
    Gamepads* gamepads = nullptr;
    OptionsShell* options = nullptr;  // the player's options and rebinding
};

EventResult handleWindowEvent(const SDL_Event& event, ShellWindow& window,
                              const ShellInputs& inputs);

}  // namespace nj
