// The scripted virtual controller behind "--pad-script".
#include "app/pad_script.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/game.hpp"

namespace nj {
namespace {

int onRumble(void*, Uint16 low, Uint16 high) {
    std::printf("pad-rumble %u %u\n", static_cast<unsigned>(low), static_cast<unsigned>(high));
    std::fflush(stdout);
    return 0;
}

int buttonNamed(const std::string& name) {
    static const std::pair<const char*, SDL_GameControllerButton> kNames[] = {
        {"a", SDL_CONTROLLER_BUTTON_A},
        {"b", SDL_CONTROLLER_BUTTON_B},
        {"x", SDL_CONTROLLER_BUTTON_X},
        {"y", SDL_CONTROLLER_BUTTON_Y},
        {"back", SDL_CONTROLLER_BUTTON_BACK},
        {"start", SDL_CONTROLLER_BUTTON_START},
        {"lb", SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
        {"rb", SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
        {"up", SDL_CONTROLLER_BUTTON_DPAD_UP},
        {"down", SDL_CONTROLLER_BUTTON_DPAD_DOWN},
        {"left", SDL_CONTROLLER_BUTTON_DPAD_LEFT},
        {"right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
    };
    for (const auto& [text, button] : kNames) {
        if (name == text) return button;
    }
    return -1;
}

Sint16 axisValue(double v) {
    if (!(v > -1.0)) return SDL_JOYSTICK_AXIS_MIN;
    if (!(v < 1.0)) return SDL_JOYSTICK_AXIS_MAX;
    return static_cast<Sint16>(v * 32767.0);
}

// Triggers rest at the bottom of the full axis range on a virtual pad.
Sint16 triggerValue(double v) {
    return axisValue(v * 2.0 - 1.0);
}

void pushKey(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
    event.type = SDL_KEYUP;
    SDL_PushEvent(&event);
}

// The held keys' codes, ascending, comma-separated ("-" for none).
std::string heldKeys(const Game& g) {
    std::string text;
    for (const std::uint32_t key : g.heldKeys)
        text += (text.empty() ? "" : ",") + std::to_string(key);
    return text.empty() ? "-" : text;
}

void printState(const Game& g) {
    std::printf(
        "pad-state state=%u mission=%llu approach=%u x=%.1f y=%.1f moving=%d sneaking=%d "
        "safe=%d tumbler=%llu noise=%zu device=%s keys=%s\n",
        static_cast<unsigned>(g.gameState), static_cast<unsigned long long>(g.missionIndex),
        static_cast<unsigned>(g.approach), static_cast<double>(g.playerPos.x),
        static_cast<double>(g.playerPos.y), g.playerMoving, g.playerSneaking, g.safeActive,
        static_cast<unsigned long long>(g.currentTumbler), g.noiseRings.size(),
        g.inputDevice == InputDevice::Gamepad ? "gamepad" : "keyboard", heldKeys(g).c_str());
    std::fflush(stdout);
}

}  // namespace

PadScript::~PadScript() {
    unplug();
}

bool PadScript::load(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "nightjar: cannot read the pad script %s\n", path.c_str());
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string w; words >> w;) parts.push_back(w);
        if (!parts.empty() && parts[0][0] != '#') lines_.push_back(std::move(parts));
    }
    return true;
}

void PadScript::tick(double seconds, const Game& game) {
    while (next_ < lines_.size() && seconds >= resumeAt_) {
        run(lines_[next_++], seconds, game);
    }
}

void PadScript::run(const std::vector<std::string>& w, double seconds, const Game& game) {
    const std::string& cmd = w[0];
    const auto number = [&](std::size_t i) { return i < w.size() ? std::atof(w[i].c_str()) : 0.0; };
    if (cmd == "plug") {
        plug();
    } else if (cmd == "unplug") {
        unplug();
    } else if (cmd == "wait") {
        resumeAt_ = seconds + number(1);
    } else if (cmd == "button" && w.size() == 3 && joystick_) {
        const int button = buttonNamed(w[1]);
        if (button >= 0) SDL_JoystickSetVirtualButton(joystick_, button, w[2] == "down" ? 1 : 0);
    } else if (cmd == "stick" && joystick_) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, axisValue(number(1)));
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, axisValue(number(2)));
    } else if (cmd == "trigger" && w.size() == 3 && joystick_) {
        const int axis =
            w[1] == "left" ? SDL_CONTROLLER_AXIS_TRIGGERLEFT : SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
        SDL_JoystickSetVirtualAxis(joystick_, axis, triggerValue(number(2)));
    } else if (cmd == "key" && w.size() == 2) {
        pushKey(SDL_GetKeyFromName(w[1].c_str()));
    } else if (cmd == "print") {
        printState(game);
    } else if (cmd == "quit") {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    } else {
        std::fprintf(stderr, "nightjar: pad script: cannot run '%s'\n", cmd.c_str());
    }
}

void PadScript::plug() {
    if (joystick_) return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "NIGHTJAR virtual pad";
    desc.Rumble = onRumble;
    deviceIndex_ = SDL_JoystickAttachVirtualEx(&desc);
    if (deviceIndex_ < 0) {
        std::fprintf(stderr, "nightjar: pad script: %s\n", SDL_GetError());
        return;
    }
    joystick_ = SDL_JoystickOpen(deviceIndex_);
    if (!joystick_) return;
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
}

void PadScript::unplug() {
    if (!joystick_) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    // Detaching takes the device index, which may have moved since plugging.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickIsVirtual(i) && SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

}  // namespace nj
