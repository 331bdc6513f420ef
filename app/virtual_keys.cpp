// The one table from SDL keycodes to Windows virtual-key codes.
#include "app/virtual_keys.hpp"

#include <SDL2/SDL_keyboard.h>

namespace nj {

// The bindings name positions by USB id, which is what SDL's scancodes are.
static_assert(SDL_SCANCODE_A == scan::kA && SDL_SCANCODE_Z == scan::kZ);
static_assert(SDL_SCANCODE_1 == scan::k1 && SDL_SCANCODE_0 == scan::k0);
static_assert(SDL_SCANCODE_RETURN == scan::kReturn && SDL_SCANCODE_ESCAPE == scan::kEscape);
static_assert(SDL_SCANCODE_TAB == scan::kTab && SDL_SCANCODE_SPACE == scan::kSpace);
static_assert(SDL_SCANCODE_F1 == scan::kF1 && SDL_SCANCODE_F11 == scan::kF11);
static_assert(SDL_SCANCODE_UP == scan::kUp && SDL_SCANCODE_LEFT == scan::kLeft);
static_assert(SDL_SCANCODE_KP_ENTER == scan::kKeypadEnter);
static_assert(SDL_SCANCODE_LSHIFT == scan::kLeftShift && SDL_SCANCODE_RSHIFT == scan::kRightShift);
static_assert(SDL_SCANCODE_RGUI == scan::kRightGui && SDL_NUM_SCANCODES == kMaxScancode + 1);

namespace {

KeyRoute routeCode(bool down, std::uint32_t code, SDL_Keycode key, std::uint16_t modifiers) {
    using Action = KeyRoute::Action;
    if (!down) return code == 0 ? KeyRoute{} : KeyRoute{Action::KeyUp, code};
    if (isSystemKey(key, modifiers)) {
        return key == SDLK_RETURN ? KeyRoute{Action::ToggleFullScreen, 0} : KeyRoute{};
    }
    if (code == 0) return {};
    if (code == kVkF11) return {Action::ToggleFullScreen, 0};
    return {Action::KeyDown, code};
}

}  // namespace

std::uint32_t virtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112u + static_cast<std::uint32_t>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 97u + static_cast<std::uint32_t>(key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return kVkReturn;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 17;
        case SDLK_LALT:
        case SDLK_RALT:
            return kVkMenu;
        case SDLK_PAUSE:
            return 19;
        case SDLK_CAPSLOCK:
            return 20;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_SPACE:
            return 32;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_END:
            return 35;
        case SDLK_HOME:
            return 36;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_PRINTSCREEN:
            return 44;
        case SDLK_INSERT:
            return 45;
        case SDLK_DELETE:
            return 46;
        case SDLK_LGUI:
            return 91;
        case SDLK_RGUI:
            return 92;
        case SDLK_APPLICATION:
            return 93;
        case SDLK_KP_0:
            return 96;
        case SDLK_KP_MULTIPLY:
            return 106;
        case SDLK_KP_PLUS:
            return 107;
        case SDLK_KP_MINUS:
            return 109;
        case SDLK_KP_PERIOD:
            return 110;
        case SDLK_KP_DIVIDE:
            return 111;
        case SDLK_NUMLOCKCLEAR:
            return 144;
        case SDLK_SCROLLLOCK:
            return 145;
        case SDLK_SEMICOLON:
            return 186;
        case SDLK_EQUALS:
            return 187;
        case SDLK_COMMA:
            return 188;
        case SDLK_MINUS:
            return 189;
        case SDLK_PERIOD:
            return 190;
        case SDLK_SLASH:
            return 191;
        case SDLK_BACKQUOTE:
            return 192;
        case SDLK_LEFTBRACKET:
            return 219;
        case SDLK_BACKSLASH:
            return 220;
        case SDLK_RIGHTBRACKET:
            return 221;
        case SDLK_QUOTE:
            return 222;
        default:
            return 0;
    }
}

bool isSystemKey(SDL_Keycode key, std::uint16_t modifiers) {
    return (modifiers & KMOD_ALT) != 0 || key == SDLK_LALT || key == SDLK_RALT || key == SDLK_F10;
}

KeyRoute routeKey(bool down, SDL_Keycode key, std::uint16_t modifiers) {
    return routeCode(down, virtualKeyFor(key), key, modifiers);
}

KeyRoute routeBoundKey(bool down, SDL_Scancode scancode, SDL_Keycode key, std::uint16_t modifiers,
                       const KeyPositions& keys) {
    return routeCode(down, boundKeyCode(keys, static_cast<int>(scancode), virtualKeyFor(key)), key,
                     modifiers);
}

}  // namespace nj
