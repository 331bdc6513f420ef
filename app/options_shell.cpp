// Applying the player's options to the window, the sound and the controllers.
#include "app/options_shell.hpp"

#include <cctype>

#include "app/gamepads.hpp"
#include "app/input_router.hpp"
#include "app/shell_window.hpp"
#include "audio/audio_engine.hpp"
#include "game/game.hpp"
#include "game/player_options.hpp"

namespace nj {

std::string layoutKeyName(int scancode) {
    if (scancode <= 0 || scancode >= SDL_NUM_SCANCODES) return keyPositionName(scancode);
    const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
    std::string name = key == SDLK_UNKNOWN ? "" : SDL_GetKeyName(key);
    // Letters and symbols follow the layout; the rest keep the game's own names.
    if (name.size() != 1) return keyPositionName(scancode);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

OptionsShell::OptionsShell(PlayerOptions& options, ShellWindow& window, AudioEngine& audio,
                           Gamepads& gamepads)
    : options_(options), window_(window), audio_(audio), gamepads_(gamepads) {}

void OptionsShell::start(InputRouter& keys) {
    keys_ = &keys;
    options_.keyName = layoutKeyName;
    const Settings& s = options_.settings();
    window_.setWindowedPlacement(s.window);
    if (!s.fullScreen) window_.toggleFullScreen();
    audio_.setVolume(s.volume);
    audio_.setEnabled(!s.muted);
    gamepads_.setRumble(s.rumble, s.rumbleStrength);
    gamepads_.setDeadZone(static_cast<float>(s.stickDeadZone) / 100.0f);
    gamepads_.setStickSneaks(!s.toggleSneak);
    options_.applyTo(keys.game());
    if (onSceneChoices) onSceneChoices(s);
    applied_ = s;
    options_.onChange = [this](const Settings& changed) { apply(changed); };
}

void OptionsShell::apply(const Settings& s) {
    if (s.fullScreen != window_.fullScreen()) window_.toggleFullScreen();
    if (s.volume != applied_.volume) {
        audio_.setVolume(s.volume);
        audio_.playCue(CueTick);  // the slider is heard as it moves
    }
    if (s.muted != applied_.muted) audio_.setEnabled(!s.muted);
    gamepads_.setRumble(s.rumble, s.rumbleStrength);
    gamepads_.setDeadZone(static_cast<float>(s.stickDeadZone) / 100.0f);
    gamepads_.setStickSneaks(!s.toggleSneak);
    if (!keys_) return;
    options_.applyTo(keys_->game());
    // A binding that moved while a key was down would leave that key held.
    if (s.keys != applied_.keys || s.padButtons != applied_.padButtons) {
        gamepads_.releaseAll();
        keys_->releaseAllKeys();
    }
    if (onSceneChoices) onSceneChoices(s);
    applied_ = s;
}

void OptionsShell::finish(bool remember) {
    options_.onChange = nullptr;
    if (remember) options_.keepWindowPlacement();
    keys_ = nullptr;
}

void OptionsShell::toggleFullScreen() {
    window_.toggleFullScreen();
    options_.setFullScreen(window_.fullScreen());
}

void OptionsShell::onWindowEvent(const SDL_WindowEvent& event, Game* game) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Only while playing: a menu is already still. Through the
            // run's own actions, so a replay pauses where the player's run did.
            if (game && options_.settings().pauseOnFocusLoss &&
                game->gameState == GameState::Playing) {
                game->act(RunAction::TogglePause);
            }
            break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (!window_.fullScreen()) options_.setWindow(window_.windowedPlacement());
            break;
        default:
            break;
    }
}

bool OptionsShell::offerKey(SDL_Scancode scancode, Game* game) {
    if (!options_.offerKey(static_cast<int>(scancode))) return false;
    if (game) game->inputDevice = InputDevice::Keyboard;
    return true;
}

bool OptionsShell::offerPadButton(int physicalButton, Game* game) {
    if (!options_.offerPadButton(physicalButton)) return false;
    if (game) game->inputDevice = InputDevice::Gamepad;
    return true;
}

}  // namespace nj
