// The game's clipboard hooks on SDL's clipboard.
#include "app/clipboard.hpp"

#include <SDL.h>

#include <cstring>
#include <string>

#include "data/mission_format.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

// No mission code is longer than a mission file; past that the text is cut,
// and the cut code is refused as any damaged code is.
std::string clipboardText() {
    char* text = SDL_GetClipboardText();
    if (!text) return {};
    std::string copy(text, strnlen(text, kMissionFileMaxBytes + 1));
    SDL_free(text);
    return copy;
}

}  // namespace

void connectClipboard(Game& game) {
    game.readClipboardHook = clipboardText;
    game.writeClipboardHook = [](const std::string& text) { SDL_SetClipboardText(text.c_str()); };
}

}  // namespace nj
