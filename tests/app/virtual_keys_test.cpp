#include "app/virtual_keys.hpp"

#include <gtest/gtest.h>

#include <SDL2/SDL_keyboard.h>

#include <tuple>

namespace {

TEST(VirtualKeys, GameKeysGetTheirWindowsCodes) {
    // One of each kind the game and the page act on (the integration runs press the rest).
    const std::pair<SDL_Keycode, std::uint32_t> keys[] = {
        {SDLK_a, 65},      {SDLK_z, 90},        {SDLK_0, 48},      {SDLK_9, 57},
        {SDLK_KP_0, 96},   {SDLK_KP_9, 105},    {SDLK_F1, 112},    {SDLK_F12, 123},
        {SDLK_SPACE, 32},  {SDLK_LSHIFT, 16},   {SDLK_RSHIFT, 16}, {SDLK_UP, 38},
        {SDLK_SLASH, 191}, {SDLK_KP_ENTER, 13}, {SDLK_QUOTE, 222},
    };
    for (const auto& [sdl, vk] : keys) EXPECT_EQ(nj::virtualKeyFor(sdl), vk) << SDL_GetKeyName(sdl);
    EXPECT_EQ(nj::virtualKeyFor(SDLK_AUDIOPLAY), 0u);
}

// With bindings the position decides, not the layout's label; Alt combinations, Alt and F10 stay
// the window system's; a key-up always reaches the game, with its key-down's code.
TEST(KeyRouting, BoundPositionsGiveTheirActionsThroughTheShell) {
    using Action = nj::KeyRoute::Action;
    nj::KeyPositions keys = nj::Settings{}.keys;
    ASSERT_EQ(nj::rebindKey(keys, nj::BoundAction::Interact, SDL_SCANCODE_I).kind,
              nj::RebindOutcome::Kind::Bound);
    const std::tuple<bool, SDL_Scancode, SDL_Keycode, std::uint16_t, Action, std::uint32_t>
        cases[] = {
            {true, SDL_SCANCODE_I, SDLK_i, KMOD_NONE, Action::KeyDown, 'E'},
            {false, SDL_SCANCODE_I, SDLK_i, KMOD_LALT, Action::KeyUp, 'E'},
            {true, SDL_SCANCODE_E, SDLK_e, KMOD_NONE, Action::Ignore, 0},
            {true, SDL_SCANCODE_W, SDLK_z, KMOD_NONE, Action::KeyDown, 'W'},  // AZERTY
            {true, SDL_SCANCODE_Z, SDLK_w, KMOD_NONE, Action::Ignore, 0},
            {true, SDL_SCANCODE_I, SDLK_i, KMOD_LALT, Action::Ignore, 0},
            {true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, Action::ToggleFullScreen, 0},
            {true, SDL_SCANCODE_F11, SDLK_F11, KMOD_NONE, Action::ToggleFullScreen, 0},
            {true, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE, Action::KeyDown, 27},
            {true, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_NONE, Action::KeyDown, 16},
            {true, SDL_SCANCODE_F10, SDLK_F10, KMOD_NONE, Action::Ignore, 0},
            {true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE, Action::Ignore, 0},
            {false, SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY, KMOD_NONE, Action::Ignore, 0},
        };
    for (const auto& [down, scancode, key, mod, action, code] : cases) {
        const nj::KeyRoute route = nj::routeBoundKey(down, scancode, key, mod, keys);
        SCOPED_TRACE(testing::Message()
                     << SDL_GetScancodeName(scancode) << (down ? " down" : " up"));
        EXPECT_EQ(route.action, action);
        EXPECT_EQ(route.code, code);
    }
}

}  // namespace
