#pragma once
// The process-wide pointers through which window events reach the game and
// the renderer. Set during bring-up, cleared before any tear-down step, so an
// event that arrives while shutting down reaches neither. Everything else the
// window procedure needs (the pads, the options screen) is handed to it.

namespace nj {

class Game;
class VulkanRenderer;

extern Game* g_game;
extern VulkanRenderer* g_renderer;

}  // namespace nj
