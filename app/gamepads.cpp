// SDL's game controllers, opened and closed as they come and go.
#include "app/gamepads.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/input_router.hpp"
#include "app/options_shell.hpp"
#include "game/game.hpp"
#include "game/player_options.hpp"

namespace nj {
namespace {

PadScreen screenOf(const Game& game) {
    if (game.optionsOpen) return PadScreen::Options;
    if (game.safeActive) return PadScreen::Safe;
    switch (game.gameState) {
        case GameState::Briefing:
            return game.requisitionOpen ? PadScreen::Requisition : PadScreen::Dossier;
        case GameState::Playing:
            return PadScreen::Playing;
        case GameState::Paused:
            return PadScreen::Paused;
        case GameState::MissionComplete:
        case GameState::MissionFailed:
            return PadScreen::Ended;
    }
    return PadScreen::Playing;
}

bool padButtonFor(Uint8 button, PadButton& out) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            out = PadButton::A;
            return true;
        case SDL_CONTROLLER_BUTTON_B:
            out = PadButton::B;
            return true;
        case SDL_CONTROLLER_BUTTON_X:
            out = PadButton::X;
            return true;
        case SDL_CONTROLLER_BUTTON_Y:
            out = PadButton::Y;
            return true;
        case SDL_CONTROLLER_BUTTON_BACK:
            out = PadButton::Back;
            return true;
        case SDL_CONTROLLER_BUTTON_START:
            out = PadButton::Start;
            return true;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            out = PadButton::LeftShoulder;
            return true;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            out = PadButton::RightShoulder;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            out = PadButton::DpadUp;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            out = PadButton::DpadDown;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            out = PadButton::DpadLeft;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            out = PadButton::DpadRight;
            return true;
        default:
            return false;
    }
}

bool padAxisFor(Uint8 axis, PadAxis& out) {
    switch (axis) {
        case SDL_CONTROLLER_AXIS_LEFTX:
            out = PadAxis::LeftX;
            return true;
        case SDL_CONTROLLER_AXIS_LEFTY:
            out = PadAxis::LeftY;
            return true;
        case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
            out = PadAxis::LeftTrigger;
            return true;
        case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
            out = PadAxis::RightTrigger;
            return true;
        default:
            return false;
    }
}

}  // namespace

Gamepads::Gamepads(InputRouter& keys) : keys_(keys) {
    // Without the subsystem the game simply has no controllers.
    available_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!available_)
        std::fprintf(stderr, "nightjar: no game controller support: %s\n", SDL_GetError());
}

Gamepads::~Gamepads() {
    for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    if (available_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::sendKey(std::uint32_t key, bool down) {
    if (down) {
        keys_.keyDown(key);
    } else {
        keys_.keyUp(key);
    }
}

Gamepads::Pad* Gamepads::find(SDL_JoystickID id) {
    for (Pad& pad : pads_) {
        if (pad.id == id) return &pad;
    }
    return nullptr;
}

void Gamepads::open(int deviceIndex) {
    if (find(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;  // already ours
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    Pad pad;
    pad.controller = controller;
    pad.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    pad.mapper = std::make_unique<GamepadMapper>(
        [this](std::uint32_t key, bool down) { sendKey(key, down); });
    pad.mapper->setDeadZone(deadZone_);
    pad.mapper->setStickSneaks(stickSneaks_);
    pads_.push_back(std::move(pad));
}

void Gamepads::close(SDL_JoystickID id) {
    const auto it =
        std::find_if(pads_.begin(), pads_.end(), [id](const Pad& p) { return p.id == id; });
    if (it == pads_.end()) return;
    it->mapper->releaseAll();  // unplugged mid-walk: the operative stops
    SDL_GameControllerClose(it->controller);
    pads_.erase(it);
}

bool Gamepads::handleEvent(const SDL_Event& event, OptionsShell* options) {
    Game& game = keys_.game();
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            close(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* pad = find(event.cbutton.which);
            PadButton physical{};
            if (!pad || !padButtonFor(event.cbutton.button, physical)) return true;
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            // A rebinding waiting for a button takes the press; its release
            // then finds no key to let go of.
            if (down && options && options->offerPadButton(static_cast<int>(physical), &game)) {
                return true;
            }
            const PadButton button =
                options ? roleButton(physical, options->options().settings().padButtons) : physical;
            if (down) game.inputDevice = InputDevice::Gamepad;
            pad->mapper->button(
                button, down,
                {screenOf(game), static_cast<std::uint32_t>(game.approach), game.customSelected()});
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = find(event.caxis.which);
            PadAxis axis{};
            if (!pad || !padAxisFor(event.caxis.axis, axis)) return true;
            const float value =
                std::clamp(static_cast<float>(event.caxis.value) / 32767.0f, -1.0f, 1.0f);
            // Only a deliberate tilt or pull says the player picked up the pad.
            const bool deliberate = (axis == PadAxis::LeftX || axis == PadAxis::LeftY)
                                        ? std::abs(value) >= pad->mapper->deadZone()
                                        : value > kTriggerPressed;
            if (deliberate) game.inputDevice = InputDevice::Gamepad;
            pad->mapper->axis(axis, value);
            return true;
        }
        default:
            return false;
    }
}

void Gamepads::releaseAll() {
    for (Pad& pad : pads_) pad.mapper->releaseAll();
}

void Gamepads::rumble(const RumbleCue& cue) {
    if (cue.milliseconds == 0 || !rumbleOn_ || rumblePercent_ <= 0) return;
    const auto scaled = [this](std::uint16_t motor) {
        return static_cast<std::uint16_t>(motor * rumblePercent_ / 100);
    };
    for (Pad& pad : pads_) {
        SDL_GameControllerRumble(pad.controller, scaled(cue.low), scaled(cue.high),
                                 cue.milliseconds);
    }
}

void Gamepads::setRumble(bool on, int strengthPercent) {
    rumbleOn_ = on;
    rumblePercent_ = std::clamp(strengthPercent, 0, 100);
}

void Gamepads::setStickSneaks(bool on) {
    stickSneaks_ = on;
    for (Pad& pad : pads_) pad.mapper->setStickSneaks(on);
}

void Gamepads::setDeadZone(float deadZone) {
    deadZone_ = deadZone;
    for (Pad& pad : pads_) pad.mapper->setDeadZone(deadZone);
}

}  // namespace nj
