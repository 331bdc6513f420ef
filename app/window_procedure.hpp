#pragma once
// The window procedure: SDL events become keys and pointer moves for the page
// and the game (through the input router it is handed), size changes for the
// renderer (through g_renderer), and calls on the pads and the options screen.
//
//   quit                      -> the loop ends
//   size change (not minimised, both sides > 0) -> renderer resize
//   F11, Alt+Enter            -> full screen <-> 1280 x 720 window
//   other keys (not system)   -> keyDown / keyUp with Windows codes, page first
//   mouse move, left button   -> pointerMove (then pointerButton), page only

#include <SDL2/SDL.h>

namespace nj {

class Gamepads;
class InputRouter;
class OptionsShell;
class ShellWindow;

enum class EventResult { Continue, Quit };

// What besides the game and the renderer takes events; a null one takes none
// (before bring-up has made it, or after tear-down has begun).
struct ShellInputs {
    InputRouter* keysAndPointer = nullptr;
    Gamepads* gamepads = nullptr;
    OptionsShell* options = nullptr;  // the player's options and rebinding
};

EventResult handleWindowEvent(const SDL_Event& event, ShellWindow& window,
                              const ShellInputs& inputs);

}  // namespace nj
