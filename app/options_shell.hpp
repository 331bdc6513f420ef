#pragma once
// The player's options applied to the shell's parts: the window (full screen
// or where it was left), the master volume and the mute, the controllers'
// rumble and dead zone, the key bindings on the key path, pausing when the
// window loses the focus, and the names keys have on the player's layout.

#include <SDL2/SDL.h>

#include <functional>

#include "data/settings_file.hpp"

namespace nj {

class AudioEngine;
class Game;
class Gamepads;
class InputRouter;
class PlayerOptions;
class ShellWindow;

class OptionsShell {
  public:
    OptionsShell(PlayerOptions& options, ShellWindow& window, AudioEngine& audio,
                 Gamepads& gamepads);
    OptionsShell(const OptionsShell&) = delete;
    OptionsShell& operator=(const OptionsShell&) = delete;

    // Everything the settings say, before the window is first shown; from
    // here on every change the player makes is applied as it is made.
    // Keys let go when a binding moves are offered through `keys`.
    void start(InputRouter& keys);
    // The window's last place, kept when the player moved or sized it. The
    // self-test (`remember` false) leaves the player's file alone.
    void finish(bool remember);

    // F11 and Alt+Enter: switched and remembered.
    void toggleFullScreen();
    void onWindowEvent(const SDL_WindowEvent& event, Game* game);
    // A key-down's position while a rebinding waits for one; true when taken.
    bool offerKey(SDL_Scancode scancode, Game* game);
    // A pad button while a pad rebinding waits; true when taken.
    bool offerPadButton(int physicalButton, Game* game);
    const PlayerOptions& options() const { return options_; }

    // Called with every change, for the scene's drawing choices.
    std::function<void(const Settings&)> onSceneChoices;

  private:
    void apply(const Settings& settings);

    PlayerOptions& options_;
    ShellWindow& window_;
    AudioEngine& audio_;
    Gamepads& gamepads_;
    InputRouter* keys_ = nullptr;  // and through it the game; null outside start..finish
    Settings applied_;
};

// The key at a position as the player's layout names it, upper case.
std::string layoutKeyName(int scancode);

}  // namespace nj
