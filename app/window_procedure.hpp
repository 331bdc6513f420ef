#pragma once
// The window procedure: SDL events become calls on the game (keys, mouse) and
// the renderer (size changes), reached only through g_game and g_renderer.
//
//   quit                      -> the loop ends
//   size change (not minimised, both sides > 0) -> renderer resize
//   F11, Alt+Enter            -> full screen <-> 1280 x 720 window
//   other keys (not system)   -> onKeyDown / onKeyUp with Windows codes
//   mouse move, left button   -> onMouseMove (then onMouseButton)

#include <SDL2/SDL.h>

namespace nj {

class ShellWindow;

enum class EventResult { Continue, Quit };

EventResult handleWindowEvent(const SDL_Event& event, ShellWindow& window);

}  // namespace nj
