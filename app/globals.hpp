#pragma once
// The two process-wide pointers through which window events reach the game
// and the renderer. Set during bring-up, cleared before any tear-down step,
// so an event that arrives while shutting down reaches neither.

namespace nj {

class Game;
class VulkanRenderer;

extern Game* g_game;
extern VulkanRenderer* g_renderer;

}  // namespace nj
