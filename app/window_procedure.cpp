// Routing of window events to the game and the renderer.
#include "app/window_procedure.hpp"

#include <cstdint>

#include "app/gamepads.hpp"
#include "app/globals.hpp"
#include "app/input_router.hpp"
#include "app/options_shell.hpp"
#include "app/shell_window.hpp"
#include "app/virtual_keys.hpp"
#include "game/game.hpp"
#include "game/player_options.hpp"
#include "render/vulkan_renderer.hpp"

namespace nj {
namespace {

void onSizeChanged(ShellWindow& window) {
    if (!g_renderer) return;
    if (SDL_GetWindowFlags(window.handle()) & SDL_WINDOW_MINIMIZED) return;
    int width = 0, height = 0;
    window.drawableSize(width, height);
    if (width > 0 && height > 0) g_renderer->resize(width, height);
}

KeyRoute routeFor(const SDL_KeyboardEvent& key, const OptionsShell* options) {
    const bool down = key.type == SDL_KEYDOWN;
    if (!options) return routeKey(down, key.keysym.sym, key.keysym.mod);
    return routeBoundKey(down, key.keysym.scancode, key.keysym.sym, key.keysym.mod,
                         options->options().settings().keys);
}

void onKey(const SDL_KeyboardEvent& key, ShellWindow& window, const ShellInputs& inputs) {
    OptionsShell* options = inputs.options;
    // A rebinding waiting on the options screen takes the next key-down.
    if (key.type == SDL_KEYDOWN && !key.repeat && options &&
        options->offerKey(key.keysym.scancode, g_game)) {
        return;
    }
    const KeyRoute route = routeFor(key, options);
    switch (route.action) {
        case KeyRoute::Action::ToggleFullScreen:
            if (options) {
                options->toggleFullScreen();
            } else {
                window.toggleFullScreen();
            }
            break;
        case KeyRoute::Action::KeyDown:
            if (!g_game || !inputs.keysAndPointer) break;
            g_game->inputDevice = InputDevice::Keyboard;  // the hints name keys again
            inputs.keysAndPointer->keyDown(route.code);
            break;
        case KeyRoute::Action::KeyUp:
            if (g_game && inputs.keysAndPointer) inputs.keysAndPointer->keyUp(route.code);
            break;
        case KeyRoute::Action::Ignore:
            break;
    }
}

// Window positions arrive as signed 16-bit values, as the game has always taken them.
std::int16_t clampToInt16(int v) {
    if (v < -32768) return -32768;
    if (v > 32767) return 32767;
    return static_cast<std::int16_t>(v);
}

void moveTo(ShellWindow& window, InputRouter& input, int x, int y) {
    int px = 0, py = 0;
    window.toDrawable(x, y, px, py);
    input.pointerMove(clampToInt16(px), clampToInt16(py));
}

}  // namespace

EventResult handleWindowEvent(const SDL_Event& event, ShellWindow& window,
                              const ShellInputs& inputs) {
    switch (event.type) {
        case SDL_QUIT:
            return EventResult::Quit;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) onSizeChanged(window);
            // Keys released while another window has the focus never reach
            // us: let go of everything now, so Alt+Tab while walking does not
            // leave the operative running.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                if (inputs.gamepads) inputs.gamepads->releaseAll();
                if (g_game && inputs.keysAndPointer) inputs.keysAndPointer->releaseAllKeys();
            }
            // The game the keys play pauses: the editor's test game while
            // it is being tried out, else the player's.
            if (inputs.options) {
                Game* played = inputs.keysAndPointer ? inputs.keysAndPointer->keyTarget() : g_game;
                inputs.options->onWindowEvent(event.window, played);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            onKey(event.key, window, inputs);
            break;
        case SDL_TEXTINPUT:
            if (g_game && inputs.keysAndPointer) inputs.keysAndPointer->text(event.text.text);
            break;
        case SDL_MOUSEMOTION:
            if (g_game && inputs.keysAndPointer)
                moveTo(window, *inputs.keysAndPointer, event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (g_game && inputs.keysAndPointer && event.button.button == SDL_BUTTON_LEFT) {
                moveTo(window, *inputs.keysAndPointer, event.button.x, event.button.y);
                inputs.keysAndPointer->pointerButton(event.type == SDL_MOUSEBUTTONDOWN);
            }
            break;
        default:
            if (inputs.gamepads) inputs.gamepads->handleEvent(event, inputs.options);
            break;
    }
    return EventResult::Continue;
}

}  // namespace nj
